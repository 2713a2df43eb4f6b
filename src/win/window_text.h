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

// ANSI text (paths, file names) in UTF-16, and back; a character without a place in the
// ANSI code page becomes the system's stand-in, as the platform's ANSI calls give it.
std::u16string WideText(const std::string& ansi);
std::string AnsiText(const wchar_t* wide);
// The UTF-16 text as the platform's wide calls take it.
inline const wchar_t* WideChars(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
