#include "base/geometry.h"

#include <algorithm>

namespace {

Rect At(const Rect& box, int left, int top)
{
    return {left, top, left + box.Width(), top + box.Height()};
}

}  // namespace

Rect CentredOn(const Rect& box, const Rect& on)
{
    return At(box, on.left + (on.Width() - box.Width()) / 2, on.top + (on.Height() - box.Height()) / 2);
}

Rect MovedInside(const Rect& box, const Rect& area)
{
    const int left = std::max(std::min(box.left, area.right - box.Width()), area.left);
    const int top = std::max(std::min(box.top, area.bottom - box.Height()), area.top);
    return At(box, left, top);
}
