// The floor of the start-up comparison: the least a program can do to show a window
// whose list box holds the installed families. A window with a list box, filled from a
// raw EnumFontFamiliesExA, shown; closed like any window.
#include <windows.h>

#include "floor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    floor_program::RegisterWindowClass(instance, "StartupFloor");
    HWND window = CreateWindowExA(0, "StartupFloor", "Startup floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100,
                                  339, 495, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 7, 16, 149, 216,
                                window, nullptr, instance, nullptr);
    floor_program::FillWithFamilies(list);
    return floor_program::ShowAndRun(window);
}
