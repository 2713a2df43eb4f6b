#include "base/text_list.h"

#include "base/runtime_error.h"

const std::string& TextList::At(int position) const
{
    if (position < 1)
        throw RuntimeError(kIndexBelowOneCode, kIndexBelowOneMessage);
    if (position > Length())
        throw RuntimeError(kIndexAboveLengthCode, kIndexAboveLengthMessage);
    return items_[static_cast<std::size_t>(position - 1)];
}
