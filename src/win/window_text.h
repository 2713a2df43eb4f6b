#pragma once
#include <windows.h>

#include <string>

// The window's text (the whole of it, however long).
std::string WindowText(HWND hwnd);

// The text of item `index` of a list or combo box, given the box's own messages for
// the count, an item's length and an item's text; empty outside the items.
struct ItemMessages {
    UINT count, length, text;
};
inline constexpr ItemMessages kListBoxItems = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
inline constexpr ItemMessages kComboBoxItems = {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};
std::string ItemText(HWND box, const ItemMessages& messages, int index);
