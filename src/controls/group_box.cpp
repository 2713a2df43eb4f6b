#include "controls/group_box.h"

bool GroupBox::Create(const CreateArgs& args)
{
    return CreateChild(args, "BUTTON", BS_GROUPBOX | BS_LEFT, args.height);
}

LRESULT GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        // The controls placed in a group box report to it; their notifications belong
        // to the window that owns the group box.
        return SendMessageA(GetParent(hwnd_), msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}
