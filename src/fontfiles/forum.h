#pragma once
#include <windows.h>

#include <string>

// The maker's forum. A reserved example domain: nothing real is contacted.
inline constexpr const char* kForumAddress = "https://forum.example.com/quillmoor/";

// Opens a web address with the shell, owned by a running "Microsoft Internet Explorer"
// window where there is one.
void OpenWebAddress(const std::string& address);

// The shell call OpenWebAddress makes; tests put a recorder here instead of a browser.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern ShellExecuteFunction shellExecute;
