// Opening the font-information window for an installed CJK family (WenQuanYi Micro Hei),
// until it has been drawn and is closed, against a floor that reads the same family's
// cmap through GetFontData and shows a message box with a text of the same length. Then
// the information of a previewed font named in 5,000 languages (the first argument),
// against the same floor of its own text's length, with the main window's longest silence
// meanwhile, as another thread finds it. Medians of 7 in one run; prints "name value unit"
// lines. Run by scripts/bench.sh.
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/features.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"
#include "controls/text_window.h"
#include "fontcheck/font_trial.h"
#include "fontinfo/font_info.h"
#include "preview/file_preview.h"
#include "quiet_wiring.h"
#include "window/main_window.h"

namespace {

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The window a handler shows is closed as soon as the thread has nothing else to do: its
// timer comes after the window's painting.
std::wstring shownText;
BOOL CALLBACK CloseIfShown(HWND hwnd, LPARAM)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (!IsWindowVisible(hwnd) || (lstrcmpA(cls, "QuillmoorTextWindow") != 0 && lstrcmpA(cls, "#32770") != 0))
        return TRUE;
    if (HWND edit = FindWindowExW(hwnd, nullptr, L"EDIT", nullptr)) {
        shownText.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        shownText.resize(
            static_cast<std::size_t>(GetWindowTextW(edit, shownText.data(), static_cast<int>(shownText.size()))));
    }
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return FALSE;
}

void CALLBACK CloseShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), &CloseIfShown, 0);
}

void CloseWhenShown()
{
    SetTimer(nullptr, 0, 1, &CloseShown);
}

// A message box of a text as long as `shown`, with the family's cmap read first.
void Floor(MainWindow& window, const char* family, const std::string& sameLength)
{
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA request = {};
    request.lfHeight = -16;
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, family, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&request);
    HGDIOBJ old = SelectObject(dc, font);
    const DWORD cmap = 0x70616D63;  // "cmap"
    const DWORD size = GetFontData(dc, cmap, 0, nullptr, 0);
    std::vector<unsigned char> bytes(size == GDI_ERROR ? 0 : size);
    GetFontData(dc, cmap, 0, bytes.data(), static_cast<DWORD>(bytes.size()));
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    CloseWhenShown();
    MessageBoxA(window.hwnd(), sameLength.c_str(), "字体信息", MB_OK);
}

std::string InCodePage(const std::wstring& text)
{
    std::string out(text.size() * 2 + 1, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    Features features;
    const std::vector<WiringRow> wiring = WiringWithoutForum(features);
    MainWindow window(kMainLayout, wiring);
    if (!window.Load())
        return 1;
    const char* family = "文泉驿微米黑";
    ListBox& list = window.列表框_字体;
    const int index = list.FindExact(family);
    if (index < 0)
        return 1;
    list.SetSelected(index);
    window.Raise(Index(Ctl::列表框_字体), Event::SelectionChanged, {});
    window.编辑框_输入的文字.SetText("Quillmoor 字体查看器 AaBbCc 0123456789\r\n永和九年，岁在癸丑");

    // Once untimed: the text the window shows, and what is computed once a run.
    CloseWhenShown();
    features.information.ShowListed(window);
    const std::string sameLength = InCodePage(shownText);

    const double info = Median([] {}, [&] {
        CloseWhenShown();
        features.information.ShowListed(window);
    });
    const double floor = Median([] {}, [&] { Floor(window, family, sameLength); });
    std::printf("# the information window of %s, %zu characters\n", "WenQuanYi Micro Hei", shownText.size());
    Print("info_window", info, "ms");
    Print("info_window_floor", floor, "ms");
    Print("info_window_ratio", info / floor, "x");
    if (argc < 2)
        return 0;

    // A font named in 5,000 languages, previewed from the path box.
    features.trials.UseProgram(BenchFolder() + "quillmoor.exe");
    window.编辑框_安装文字目录.SetText(argv[1]);
    PumpWhile([&] { return features.preview.Running(); });
    if (!window.编辑框_输入的文字.ShownFile()) {
        std::printf("# %s was not previewed\n", argv[1]);
        return 1;
    }
    CloseWhenShown();
    features.information.ShowSample(window);
    const std::string manyLength = InCodePage(shownText);
    std::atomic<bool> probing{true}, probed{false};
    std::atomic<double> silence{0};
    std::thread prober([&] {
        while (probing) {
            const double start = Now();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
            silence = std::max(silence.load(), Now() - start);
            Sleep(1);
        }
        probed = true;
    });
    const double many = Median([] {}, [&] {
        CloseWhenShown();
        features.information.ShowSample(window);
    });
    probing = false;
    PumpWhile([&] { return !probed.load(); });  // its last message answered
    prober.join();
    const double manyFloor = Median([] {}, [&] { Floor(window, "Quillmoor Many", manyLength); });
    std::printf("# the information window of a font named in 5,000 languages, %zu characters\n", manyLength.size());
    Print("info_many_names", many, "ms");
    Print("info_many_names_floor", manyFloor, "ms");
    Print("info_many_names_ratio", many / manyFloor, "x");
    Print("info_many_names_longest_silence", silence.load(), "ms");
    return 0;
}
