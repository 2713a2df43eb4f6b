#pragma once
#include <windows.h>

#include <span>

#include "controls/menu_rules.h"

// What the list box and the edit box share of their context menus.

// The key press a WM_KEYDOWN or WM_SYSKEYDOWN describes.
KeyPress KeyPressOf(UINT msg, WPARAM wp, LPARAM lp);

// Where a WM_CONTEXTMENU opens the menu: at the pointer, or (from the keyboard, -1) at the
// anchor, a point of the control in client coordinates.
POINT MenuPoint(HWND control, LPARAM lp, POINT anchor);

// Menu ids: the entries a control adds take kFirstEntryId + their index.
inline constexpr UINT kFirstEntryId = 100;

// Appends the entries, greyed where they want a selection and there is none.
void AppendEntries(HMENU menu, std::span<const MenuEntry> entries, bool hasSelection);

// Shows the menu at the point (screen) for the control, and returns the chosen id (0 for none).
UINT ChooseFromMenu(HWND control, HMENU menu, POINT at);
