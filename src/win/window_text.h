#pragma once
#include <windows.h>

#include <string>

// The window's text (the whole of it, however long).
std::string WindowText(HWND hwnd);

// A list or combo box's own messages for its items: the count, an item's length and text,
// the selection got and set, an item added and its data set.
struct ItemMessages {
    UINT count, length, text, selected, select, add, setData;
};
inline constexpr ItemMessages kListBoxItems = {LB_GETCOUNT,  LB_GETTEXTLEN, LB_GETTEXT,    LB_GETCURSEL,
                                               LB_SETCURSEL, LB_ADDSTRING,  LB_SETITEMDATA};
inline constexpr ItemMessages kComboBoxItems = {CB_GETCOUNT,  CB_GETLBTEXTLEN, CB_GETLBTEXT,   CB_GETCURSEL,
                                                CB_SETCURSEL, CB_ADDSTRING,    CB_SETITEMDATA};
// The text of item `index`; empty outside the items.
std::string ItemText(HWND box, const ItemMessages& messages, int index);
int ItemCount(HWND box, const ItemMessages& messages);
// The selected item, or -1.
int SelectedItem(HWND box, const ItemMessages& messages);
// Selects item `index` (-1: none).
void SelectItem(HWND box, const ItemMessages& messages, int index);
// Adds an item with data 0 where the box's order puts it; its index, or -1 when refused.
int AddItem(HWND box, const ItemMessages& messages, const std::string& text);

// ANSI text (paths, file names) in UTF-16, and back; a character without a place in the
// ANSI code page becomes the system's stand-in, as the platform's ANSI calls give it.
std::u16string WideText(const std::string& ansi);
std::string AnsiText(const wchar_t* wide);
// The UTF-16 text as the platform's wide calls take it.
inline const wchar_t* WideChars(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
