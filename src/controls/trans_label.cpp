#include "controls/trans_label.h"

#include "win/scoped.h"
#include "win/window_class.h"

TransLabel::~TransLabel()
{
    Destroy();
}

bool TransLabel::Create(const CreateArgs& args)
{
    caption_ = args.caption;
    textColour_ = args.textColour;
    placeholder_ = args.placeholder;
    if (!CreateCustom(args, "QuillmoorTransLabel", 0))
        return false;
    SetWindowLongA(hwnd_, GWL_EXSTYLE, GetWindowLongA(hwnd_, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    return true;
}

LRESULT TransLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // transparent: what lies beneath shows through
    case WM_PAINT: {
        ScopedPaint paint(hwnd_);
        if (placeholder_ && OverText())
            return 0;
        RECT rc;
        GetClientRect(hwnd_, &rc);
        ScopedSelect font(paint.dc(), GuiFont());
        SetBkMode(paint.dc(), TRANSPARENT);
        SetTextColor(paint.dc(), textColour_);
        DrawTextA(paint.dc(), caption_.c_str(), -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return 0;
    }
    case WM_LBUTTONDOWN:
        Raise(Event::LeftButtonPressed);
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool TransLabel::OverText() const
{
    RECT mine;
    GetWindowRect(hwnd_, &mine);
    for (HWND below = GetWindow(hwnd_, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        RECT rc, common;
        if (IsWindowVisible(below) && GetWindowRect(below, &rc) && IntersectRect(&common, &mine, &rc))
            return GetWindowTextLengthA(below) > 0;
    }
    return false;
}
