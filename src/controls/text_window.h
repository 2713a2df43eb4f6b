#pragma once
#include <windows.h>

#include <functional>
#include <string>

// A window that shows a text to read, select and copy: one read-only edit box and a
// "关闭" button. It is owned by `owner` and modal to it, and placed like the program's
// dialogs (centred on the owner, inside the work area). Esc, Enter and the button close
// it. Texts are UTF-16, so that they may hold any script.
//
// `later`, when given, runs off the window's thread while the window shows `text`; the
// text it returns then replaces the one shown. The window does not wait for it: closed
// before, the window leaves it to finish on its own and drops what it returns.
void ShowTextWindow(HWND owner, const std::u16string& caption, const std::u16string& text,
                    std::function<std::u16string()> later = {});

// The window's class, to find it by.
inline constexpr wchar_t kTextWindowClass[] = L"QuillmoorTextWindow";
