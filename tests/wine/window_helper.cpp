// Helps the run command drive the program without a display of its own:
//   wait   returns once the program's main window is shown (at most 60 s)
//   close  closes the main window, answers the notice shown on closing, and waits
//          until the program has ended
#include <windows.h>

#include <cstring>

#include "support.h"

namespace {

constexpr const char* kCaption = "Quillmoor字体查看器1.1";

HWND FindMainWindow(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        if (HWND hwnd = FindWindowA("QuillmoorMainWindow", kCaption))
            return hwnd;
        Sleep(100);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    HWND window = FindMainWindow(60000);
    if (!window)
        return 1;
    if (std::strcmp(argv[1], "wait") == 0)
        return 0;

    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(window, WM_CLOSE, 0, 0);
    // Any notice the program shows while closing is answered with OK.
    const DWORD start = GetTickCount();
    while (process && WaitForSingleObject(process, 100) == WAIT_TIMEOUT && GetTickCount() - start < 30000) {
        if (HWND box = WaitForDialog("提示", 0, pid))
            PressButton(box);
    }
    if (process)
        CloseHandle(process);
    return 0;
}
