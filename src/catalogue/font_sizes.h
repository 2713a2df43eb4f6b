#pragma once
#include <string>
#include <vector>

#include "base/named_font_sizes.h"

// The 88 items of the size list: "1" to "72", then the named sizes.
std::vector<std::string> SizeListItems();
