// Helps the run command drive the program without a display of its own:
//   wait   returns once the program's main window is shown (at most 60 s)
//   close  closes the main window, answers the notice shown on closing, and waits
//          until the program has ended
//   show   shows a window of its own for a moment and ends: the prefix's desktop works
//   freeze stands for a frozen program: shows a top-level window "Frozen", then its
//          only thread stops answering for good
#include <windows.h>

#include <cstdio>
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
    if (std::strcmp(argv[1], "show") == 0) {
        HWND shown = CreateWindowA("STATIC", "Shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
        PumpMessages(300);
        const bool ok = shown && IsWindowVisible(shown);
        if (ok)
            std::puts("started");
        return ok ? 0 : 1;
    }
    if (std::strcmp(argv[1], "freeze") == 0) {
        HWND frozen = CreateWindowA("STATIC", "Freezing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                    nullptr, nullptr, nullptr);
        PumpMessages(200);
        if (!frozen)
            return 1;
        // The title says "Frozen" only from the moment nothing is answered any more.
        SetWindowTextA(frozen, "Frozen");
        Sleep(INFINITE);
    }
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
