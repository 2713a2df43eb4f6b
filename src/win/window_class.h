#pragma once
#include <windows.h>

// Registers one of the program's window classes the first time it is asked for; later
// calls find it registered and do nothing. The arrow cursor; no background unless given.
struct WindowClassInfo {
    const char* name;
    WNDPROC procedure;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};
bool RegisterClassOnce(const WindowClassInfo& info);

// The platform's default user-interface font (a stock object: never deleted).
HFONT GuiFont();
