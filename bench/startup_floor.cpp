// The floor of the start-up comparison: the least a program can do to show a window
// whose list box holds the installed families. A window with a list box, filled from a
// raw EnumFontFamiliesExA, shown; closed like any window.
#include <windows.h>

#include <string>
#include <vector>

namespace {

int CALLBACK Collect(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lp)
{
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(lf->lfFaceName);
    return 1;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "StartupFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "StartupFloor", "Startup floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100,
                                  339, 495, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 7, 16, 149, 216,
                                window, nullptr, instance, nullptr);
    std::vector<std::string> names;
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &request, &Collect, reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, screen);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(it->c_str()));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
