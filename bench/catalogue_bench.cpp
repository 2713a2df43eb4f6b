// Benchmarks of the font list and the preview, each against a raw floor measured in the
// same run. Prints one line per figure: "name value unit". Run by scripts/bench.sh in a
// prefix with many extra font families installed.
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/font_enum.h"
#include "catalogue/font_lists.h"
#include "catalogue/font_names.h"
#include "preview/preview.h"
#include "window/main_window.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The floor: a raw enumeration and the same names added to a hidden list box.
void RawFill(HWND hiddenList)
{
    SendMessageA(hiddenList, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : ReduceFontNames(EnumerateFaceNames()))
        SendMessageA(hiddenList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

int listPaints = 0;
WNDPROC listProc = nullptr;

LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT)
        ++listPaints;
    return CallWindowProcA(listProc, hwnd, msg, wp, lp);
}

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    FontCatalogue catalogue;
    std::span<const WiringRow> noHandlers;
    MainWindow window(kMainLayout, noHandlers);
    if (!window.Load())
        return 1;
    Pump();
    HWND list = window.列表框_字体.hwnd();
    HWND sizes = window.组合框_字体大小.hwnd();
    HWND hiddenList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 7,
                                      16, 149, 216, window.hwnd(), nullptr, nullptr, nullptr);
    SendMessageA(hiddenList, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    RawFill(hiddenList);
    const int families = static_cast<int>(SendMessageA(hiddenList, LB_GETCOUNT, 0, 0));
    Print("families", families, "names");

    const double floor = Median([] {}, [&] { RawFill(hiddenList); });
    Print("floor_raw_fill", floor, "ms");

    // Start-up: the window is still hidden and both lists are empty.
    ShowWindow(window.hwnd(), SW_HIDE);
    const double startup = Median(
        [&] {
            SendMessageA(list, LB_RESETCONTENT, 0, 0);
            SendMessageA(sizes, CB_RESETCONTENT, 0, 0);
        },
        [&] { catalogue.FillAtStartUp(window); });
    Print("startup_fill", startup, "ms");
    Print("startup_fill_ratio", startup / floor, "x");

    // Refresh of the visible list, painted before the clock stops.
    ShowWindow(window.hwnd(), SW_SHOW);
    UpdateWindow(window.hwnd());
    Pump();
    const double refresh = Median([&] { Pump(); },
                                  [&] {
                                      catalogue.Reload(window);
                                      UpdateWindow(list);
                                  });
    Print("refresh_visible", refresh, "ms");
    Print("refresh_visible_ratio", refresh / floor, "x");

    listProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
    Pump();
    listPaints = 0;
    catalogue.Reload(window);
    UpdateWindow(list);
    Pump();
    Print("refresh_list_paints", listPaints, "paints");
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));

    // One attribute change of the preview against creating, setting and drawing a font raw.
    EditBox& sample = window.编辑框_输入的文字;
    sample.SetText("Quillmoor 字体查看器 AaBbCc 0123456789\r\n永和九年，岁在癸丑");
    UpdateWindow(sample.hwnd());
    constexpr int kChanges = 200;
    LOGFONTA raw;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof raw, &raw);
    HFONT rawFont = nullptr;
    const double rawChange =
        Median([] {},
               [&] {
                   for (int i = 0; i < kChanges; ++i) {
                       raw.lfWeight = (i & 1) ? 700 : 0;
                       HFONT font = CreateFontIndirectA(&raw);
                       SendMessageA(sample.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
                       if (rawFont)
                           DeleteObject(rawFont);
                       rawFont = font;
                       UpdateWindow(sample.hwnd());
                   }
               });
    const double change = Median([] {},
                                 [&] {
                                     for (int i = 0; i < kChanges; ++i) {
                                         SetFontAttribute(sample, FontAttribute::Bold, i & 1);
                                         UpdateWindow(sample.hwnd());
                                     }
                                 });
    Print("preview_change_floor", rawChange * 1000.0 / kChanges, "us");
    Print("preview_change", change * 1000.0 / kChanges, "us");
    Print("preview_change_ratio", change / rawChange, "x");
    SendMessageA(sample.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(sample.Font()), FALSE);
    if (rawFont)
        DeleteObject(rawFont);
    DestroyWindow(hiddenList);
    return 0;
}
