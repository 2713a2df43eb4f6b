#include "controls/color_picker.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>

#include "controls/colour_palette.h"
#include "win/placement.h"
#include "win/scoped.h"
#include "win/system_proc.h"
#include "win/window_class.h"

namespace {

constexpr UINT kPopupClosed = WM_APP + 2;
constexpr const char* kOtherColoursText = "其它颜色...";

// Places the colour dialog centred on its owner, inside the owner's monitor.
UINT_PTR CALLBACK PlaceColourDialog(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
        CentreOnOwnerInsideWorkArea(dialog, GetWindow(dialog, GW_OWNER));
    return 0;
}

PaletteKey ArrowKey(WPARAM key)
{
    return key == VK_LEFT    ? PaletteKey::Left
           : key == VK_RIGHT ? PaletteKey::Right
           : key == VK_UP    ? PaletteKey::Up
                             : PaletteKey::Down;
}

}  // namespace

// The palette popup: the 32 cells in rows of seven and the "其它颜色..." button. It
// closes when an entry is accepted, on Esc, and when it stops being the active window
// (a click outside it, another application).
class ColorPickerPopup {
public:
    ColorPickerPopup(ColorPicker& picker, COLORREF colour) : picker_(picker), current_(PaletteEntryOf(colour))
    {
        const int edge = GetSystemMetrics(SM_CXEDGE);
        cell_ = std::max(18, 2 * edge + 7);
        inset_ = 2 * edge + 2;
        buttonHeight_ = 22;
        highlight_ = current_;
    }
    ~ColorPickerPopup()
    {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }

    bool Open()
    {
        if (!RegisterClassOnce({.name = "QuillmoorColourPopup",
                                .procedure = &WindowThunk<ColorPickerPopup>::Proc,
                                .style = CS_DROPSHADOW,
                                .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)}))
            return false;
        const int width = 2 * inset_ + kPaletteColumns * cell_;
        const int rows = (kOtherColoursEntry + kPaletteColumns - 1) / kPaletteColumns;
        const int height = inset_ + rows * cell_ + 4 + buttonHeight_ + inset_;

        // Just below the picker, left edges aligned, moved as needed to stay on the screen.
        RECT picker;
        GetWindowRect(picker_.hwnd(), &picker);
        const RECT work = WorkAreaOf(picker_.hwnd());
        int x = picker.left, y = picker.bottom;
        if (x + width > work.right)
            x = work.right - width;
        if (y + height > work.bottom)
            y = picker.top - height;
        x = std::max<int>(x, work.left);
        y = std::max<int>(y, work.top);

        HWND owner = GetAncestor(picker_.hwnd(), GA_ROOT);
        if (!CreateWindowExA(WS_EX_TOOLWINDOW, "QuillmoorColourPopup", "", WS_POPUP, x, y, width, height, owner,
                             nullptr, GetModuleHandleA(nullptr), this))
            return false;
        AddTooltips();
        ShowWindow(hwnd_, SW_SHOW);
        SetFocus(hwnd_);
        return true;
    }

    HWND hwnd() const { return hwnd_; }

private:
    friend struct WindowThunk<ColorPickerPopup>;

    RECT EntryRect(int entry) const
    {
        if (entry == kOtherColoursEntry) {
            const int rows = (kOtherColoursEntry + kPaletteColumns - 1) / kPaletteColumns;
            const int top = inset_ + rows * cell_ + 4;
            return {inset_, top, inset_ + kPaletteColumns * cell_, top + buttonHeight_};
        }
        const int left = inset_ + (entry % kPaletteColumns) * cell_;
        const int top = inset_ + (entry / kPaletteColumns) * cell_;
        return {left, top, left + cell_, top + cell_};
    }

    int EntryAt(POINT pt) const
    {
        for (int entry = 0; entry < kPaletteEntries; ++entry) {
            RECT rc = EntryRect(entry);
            if (PtInRect(&rc, pt))
                return entry;
        }
        return -1;
    }

    void AddTooltips()
    {
        // The tooltip class comes with the common controls, loaded only now.
        static const bool ready = [] {
            auto* init = SYSTEM_PROC("comctl32.dll", InitCommonControlsEx);
            INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
            return init && init(&icc);
        }();
        if (!ready)
            return;
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        if (!tooltip_)
            return;
        for (int entry = 0; entry < kOtherColoursEntry; ++entry) {
            TTTOOLINFOA tool = {};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_SUBCLASS;
            tool.hwnd = hwnd_;
            tool.uId = static_cast<UINT_PTR>(entry);
            tool.rect = EntryRect(entry);
            tool.lpszText = const_cast<char*>(ColourPalette[static_cast<std::size_t>(entry)].name);
            SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }

    void Highlight(int entry)
    {
        if (entry == highlight_)
            return;
        if (highlight_ >= 0) {
            RECT old = EntryRect(highlight_);
            InvalidateRect(hwnd_, &old, TRUE);
        }
        highlight_ = entry;
        if (highlight_ >= 0) {
            RECT now = EntryRect(highlight_);
            InvalidateRect(hwnd_, &now, TRUE);
        }
    }

    void Paint(HDC dc)
    {
        RECT client;
        GetClientRect(hwnd_, &client);
        DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
        for (int entry = 0; entry < kOtherColoursEntry; ++entry) {
            RECT rc = EntryRect(entry);
            if (entry == current_)
                DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
            else if (entry == highlight_)
                DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
            InflateRect(&rc, -3, -3);
            ScopedBrush fill(CreateSolidBrush(ColourPalette[static_cast<std::size_t>(entry)].value));
            FillRect(dc, &rc, fill.get());
            FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
        }
        RECT button = EntryRect(kOtherColoursEntry);
        if (current_ == kOtherColoursEntry)
            DrawEdge(dc, &button, EDGE_SUNKEN, BF_RECT);
        else if (highlight_ == kOtherColoursEntry)
            DrawEdge(dc, &button, EDGE_RAISED, BF_RECT);
        else
            DrawEdge(dc, &button, BDR_RAISEDINNER, BF_RECT);
        {
            ScopedSelect font(dc, GuiFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextA(dc, kOtherColoursText, -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        if (highlight_ == kOtherColoursEntry) {
            InflateRect(&button, -3, -3);
            DrawFocusRect(dc, &button);
        }
    }

    // Closes the popup once; the picker finishes the work when its message arrives, after
    // this window's procedure has returned.
    void Finish(bool accepted)
    {
        if (finished_)
            return;
        finished_ = true;
        PostMessageA(picker_.hwnd(), kPopupClosed, static_cast<WPARAM>(accepted ? highlight_ : -1), accepted);
        ShowWindow(hwnd_, SW_HIDE);
    }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_PAINT: {
            ScopedPaint paint(hwnd_);
            Paint(paint.dc());
            return 0;
        }
        case WM_MOUSEMOVE: {
            int entry = EntryAt({static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
            if (entry >= 0)
                Highlight(entry);
            return 0;
        }
        case WM_LBUTTONUP:
            if (highlight_ >= 0)
                Finish(true);
            return 0;
        case WM_KEYDOWN:
            switch (wp) {
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                Highlight(MovePaletteHighlight(highlight_, ArrowKey(wp)));
                return 0;
            case VK_RETURN:
            case VK_SPACE:
                if (highlight_ >= 0)
                    Finish(true);
                return 0;
            case VK_ESCAPE:
                Finish(false);
                return 0;
            default:
                return 0;
            }
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE)
                Finish(false);  // a click elsewhere, or another window became active
            return 0;
        case WM_ACTIVATEAPP:
            if (!wp)
                Finish(false);
            return 0;
        case WM_CANCELMODE:
            Finish(false);
            return 0;
        default:
            return DefWindowProcA(hwnd_, msg, wp, lp);
        }
    }

    ColorPicker& picker_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;  // owned by the popup window, destroyed with it
    int current_;
    int highlight_;
    int cell_, inset_, buttonHeight_;
    bool finished_ = false;
};

ColorPicker::ColorPicker() = default;

ColorPicker::~ColorPicker()
{
    popup_.reset();
    Destroy();
}

bool ColorPicker::Create(const CreateArgs& args)
{
    colour_ = args.textColour;
    return CreateCustom(args, "QuillmoorColourPicker", 0);
}

void ColorPicker::SetColour(COLORREF colour)
{
    colour_ = colour;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

HWND ColorPicker::PopupWindow() const
{
    return popup_ ? popup_->hwnd() : nullptr;
}

void ColorPicker::OpenPopup()
{
    if (popup_)
        return;
    popup_ = std::make_unique<ColorPickerPopup>(*this, colour_);
    if (!popup_->Open())
        popup_.reset();
}

void ColorPicker::PopupClosed(int entry, bool accepted)
{
    popup_.reset();
    if (hwnd_ && IsWindowVisible(hwnd_))
        SetFocus(hwnd_);
    if (!accepted || entry < 0)
        return;
    if (entry == kOtherColoursEntry)
        ChooseOtherColour();
    else
        Accept(ColourPalette[static_cast<std::size_t>(entry)].value);
}

void ColorPicker::ChooseOtherColour()
{
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = GetAncestor(hwnd_, GA_ROOT);
    cc.rgbResult = colour_;
    cc.lpCustColors = customColours_.data();
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR | CC_FULLOPEN | CC_ENABLEHOOK;
    cc.lpfnHook = &PlaceColourDialog;
    auto* chooseColour = SYSTEM_PROC("comdlg32.dll", ChooseColorA);
    if (chooseColour && chooseColour(&cc))
        Accept(cc.rgbResult);
}

void ColorPicker::Accept(COLORREF colour)
{
    SetColour(colour);
    Raise(Event::ColourPicked);
}

void ColorPicker::Paint(HDC dc)
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);

    // The drop-down arrow at the right end.
    RECT arrow = rc;
    arrow.left = std::max(rc.left, rc.right - GetSystemMetrics(SM_CXVSCROLL));
    DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (popup_ ? DFCS_PUSHED : 0));

    RECT swatch = rc;
    swatch.right = arrow.left;
    InflateRect(&swatch, -2, -2);
    if (IsWindowEnabled(hwnd_)) {
        ScopedBrush fill(CreateSolidBrush(colour_ & 0x00FFFFFF));
        FillRect(dc, &swatch, fill.get());
    } else {
        FillRect(dc, &swatch, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (GetFocus() == hwnd_) {
        RECT focus = rc;
        focus.right = arrow.left;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

LRESULT ColorPicker::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        ScopedPaint paint(hwnd_);
        Paint(paint.dc());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        OpenPopup();
        return 0;
    case WM_KEYDOWN:
        // The keys that open a combo box's list open the palette too.
        if (wp == VK_F4 || wp == VK_SPACE || wp == VK_DOWN)
            OpenPopup();
        return 0;
    case WM_SYSKEYDOWN:
        if (wp == VK_DOWN) {
            OpenPopup();
            return 0;
        }
        return Default(msg, wp, lp);
    case kPopupClosed:
        PopupClosed(static_cast<int>(wp), lp != 0);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        popup_.reset();
        return Default(msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}
