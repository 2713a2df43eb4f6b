// The second floor of the start-up comparison: the program's own window with nothing of the
// program behind it. The same main window and the same controls, made straight from the
// layout table as the platform's stock controls (a static for each control the program
// draws itself) in the GUI font, with the same items; the family list filled from a raw
// EnumFontFamiliesExA; shown. What this costs over startup_floor.exe is the price of the
// window itself under the platform, which no program showing this window can avoid.
#include <windows.h>

#include <array>
#include <string>

#include "base/named_font_sizes.h"
#include "window/layout.h"

#include "floor.h"

namespace {

// The stock class and style bits that stand for a control of this kind.
struct Stock {
    const char* className;
    DWORD style;
};

Stock StockFor(Kind kind)
{
    switch (kind) {
    case Kind::EditBox:
        return {"EDIT", 0};
    case Kind::GroupBox:
        return {"BUTTON", BS_GROUPBOX};
    case Kind::Button:
        return {"BUTTON", BS_PUSHBUTTON};
    case Kind::ComboBox:
        return {"COMBOBOX", WS_VSCROLL};
    case Kind::ListBox:
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL};
    default:
        return {"STATIC", 0};
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    floor_program::RegisterWindowClass(instance, "StartupWindowFloor");
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const int width = kMainWindowProperties.width, height = kMainWindowProperties.height;
    HWND window = CreateWindowExA(0, "StartupWindowFloor", kMainWindowProperties.caption,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                  width, height, nullptr, nullptr, instance, nullptr);
    SendMessageA(window, WM_SETFONT, font, FALSE);

    // Last row first, like the program: a group box exists before the controls inside it.
    std::array<HWND, kControlCount> made = {};
    HWND list = nullptr, sizes = nullptr;
    for (int i = kControlCount - 1; i >= 0; --i) {
        const LayoutRow& row = kMainLayout[static_cast<std::size_t>(i)];
        const CreateArgs& c = row.create;
        const Stock stock = StockFor(row.kind);
        const DWORD dropDown = c.style & 3;
        const int h = row.kind == Kind::ComboBox && (dropDown == CBS_DROPDOWN || dropDown == CBS_DROPDOWNLIST) ? 160 : c.height;
        const DWORD style = WS_CHILD | (row.visible ? WS_VISIBLE : 0) | (c.tabStop ? WS_TABSTOP : 0) | stock.style |
                            (row.kind == Kind::ComboBox || row.kind == Kind::EditBox ? c.style : 0);
        HWND parent = row.parent == kMainWindow ? window : made[static_cast<std::size_t>(row.parent)];
        HWND hwnd = CreateWindowExA(c.exStyle, stock.className, c.caption, style, c.left, c.top, c.width, h, parent,
                                    nullptr, instance, nullptr);
        SendMessageA(hwnd, WM_SETFONT, font, FALSE);
        for (const char* item : c.items)
            SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        if (c.selected >= 0)
            SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
        if (row.kind == Kind::ListBox)
            list = hwnd;
        if (row.kind == Kind::ComboBox && dropDown == CBS_DROPDOWN)
            sizes = hwnd;
        made[static_cast<std::size_t>(i)] = hwnd;
    }

    // The program's stacking, layout order with the first on top: overlapping controls (a
    // label over its box) show as they do in the program.
    for (HWND hwnd : made)
        SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    floor_program::FillWithFamilies(list);
    for (int points = 1; points <= 72; ++points)
        SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(points).c_str()));
    for (const NamedFontSize& named : NamedFontSizes)
        SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(named.name));

    return floor_program::ShowAndRun(window);
}
