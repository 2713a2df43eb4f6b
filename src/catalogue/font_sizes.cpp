#include "catalogue/font_sizes.h"

std::vector<std::string> SizeListItems()
{
    std::vector<std::string> items;
    items.reserve(72 + NamedFontSizes.size());
    for (int s = 1; s <= 72; ++s)
        items.push_back(std::to_string(s));
    for (const NamedFontSize& named : NamedFontSizes)
        items.emplace_back(named.name);
    return items;
}
