// Helps the run command drive the program without a display of its own:
//   wait   returns once the program's main window is shown (at most 60 s)
//   close  closes the main window, answers the notice shown on closing, and waits
//          until the program has ended
//   demo   shows what the program does, as a user would with mouse and keys: a family,
//          a sample text, the size 小一 and a colour from the palette; then prints the
//          window's rectangle as "x y width height" for the run command's picture
//   show   shows a window of its own for a moment and ends: the prefix's desktop works
//   freeze stands for a frozen program: shows a top-level window "Frozen", then its
//          only thread stops answering for good
#include <windows.h>

#include <algorithm>
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

// 小一 (24 points), item 75 of the size list, by keyboard.
void ChooseXiaoYi(HWND size)
{
    Click(Centre(ClientOnScreen(size)));
    PressWith(VK_MENU, VK_DOWN);
    for (int i = 0; i <= 75; ++i)
        Press(VK_DOWN);
    Press(VK_RETURN);
}

int Demo(HWND window)
{
    SetForegroundWindow(window);
    PumpMessages(300);
    HWND list = ControlOf(window, Ctl::列表框_字体);
    HWND size = ControlOf(window, Ctl::组合框_字体大小);
    HWND sample = ControlOf(window, Ctl::编辑框_输入的文字);
    HWND picker = ControlOf(window, Ctl::颜色选择器1);
    if (!list || !size || !sample || !picker)
        return 1;
    // A Chinese family where there is one among the first items shown, else the first.
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const RECT listArea = ClientOnScreen(list);
    const int visible = (listArea.bottom - listArea.top) / itemHeight;
    int chosen = 0;
    for (int i = 0; i < visible; ++i) {
        const std::string name = ListItem(list, i);
        if (name == "文泉驿微米黑") {
            chosen = i;
            break;
        }
    }
    Click({(listArea.left + listArea.right) / 2, listArea.top + chosen * itemHeight + itemHeight / 2});
    ChooseXiaoYi(size);
    // Chinese cannot be typed through the virtual display's keyboard: the text is set.
    SendMessageA(sample, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("永和九年，岁在癸丑\r\nQuillmoor 字体"));
    // 藏蓝 from the palette with the mouse: the fourth cell of the third row.
    Click(Centre(ClientOnScreen(picker)));
    PumpMessages(300);
    HWND popup = FindWindowA("QuillmoorColourPopup", nullptr);
    if (!popup)
        return 1;
    Click(PaletteCellOnScreen(popup, 17));
    PumpMessages(300);
    const RECT w = WindowRectOf(window);
    std::printf("%ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
    return 0;
}

// For the README's pictures: the sample text set, then the path box given a text (a font
// file to preview, or several files to install, with a click of 安装字体).
int Show(HWND window, const char* paths, bool install)
{
    SetForegroundWindow(window);
    PumpMessages(300);
    HWND sample = ControlOf(window, Ctl::编辑框_输入的文字);
    HWND path = ControlOf(window, Ctl::编辑框_安装文字目录);
    HWND size = ControlOf(window, Ctl::组合框_字体大小);
    if (!sample || !path || !size)
        return 1;
    ChooseXiaoYi(size);
    SendMessageA(sample, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("永和九年，岁在癸丑\r\nQuillmoor 字体 AaBb"));
    SendMessageA(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(paths));
    PumpMessages(2000);
    if (install)
        PostMessageA(ControlOf(window, Ctl::按钮_安装字体), BM_CLICK, 0, 0);
    const RECT w = WindowRectOf(window);
    std::printf("%ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
    return 0;
}

int CALLBACK NoteFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM seen)
{
    *reinterpret_cast<bool*>(seen) = true;
    return 0;
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
    if (std::strcmp(argv[1], "family") == 0 && argc > 2) {
        // Whether this process sees the family: exit code 0 when it is enumerated.
        LOGFONTA request = {};
        request.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(request.lfFaceName, argv[2], LF_FACESIZE);
        bool found = false;
        HDC screen = GetDC(nullptr);
        EnumFontFamiliesExA(screen, &request, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
        return found ? 0 : 1;
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
    if (std::strcmp(argv[1], "hold") == 0 && argc > 2) {
        // Another program that holds a file open without sharing it, until it is ended.
        HANDLE held = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE)
            return 1;
        std::puts("held");
        std::fflush(stdout);
        Sleep(INFINITE);
    }
    HWND window = FindMainWindow(60000);
    if (!window)
        return 1;
    if (std::strcmp(argv[1], "wait") == 0)
        return 0;

    if (std::strcmp(argv[1], "demo") == 0)
        return Demo(window);
    if ((std::strcmp(argv[1], "preview") == 0 || std::strcmp(argv[1], "several") == 0) && argc > 2)
        return Show(window, argv[2], std::strcmp(argv[1], "several") == 0);

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
