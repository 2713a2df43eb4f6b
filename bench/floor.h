#pragma once
// What the two start-up floor programs share: a plain window class, the family list filled
// from a raw EnumFontFamiliesExA, and showing the window and running its messages.
#include <windows.h>

#include <string>
#include <vector>

namespace floor_program {

inline LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

inline void RegisterWindowClass(HINSTANCE instance, const char* name)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

inline int CALLBACK Collect(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lp)
{
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(lf->lfFaceName);
    return 1;
}

inline void FillWithFamilies(HWND list)
{
    std::vector<std::string> names;
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &request, &Collect, reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, screen);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(it->c_str()));
}

inline int ShowAndRun(HWND window)
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace floor_program
