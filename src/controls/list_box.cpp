#include "controls/list_box.h"

#include "controls/context_menu.h"
#include "win/scoped.h"
#include "win/window_text.h"

bool ListBox::Create(const CreateArgs& args)
{
    menu_ = args.menu;
    if (!CreateChild(args, "LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, args.height))
        return false;
    const LRESULT itemHeight = SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0)
        SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight + 1);
    return true;
}

void ListBox::Clear()
{
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

int ListBox::FindExact(const std::string& text) const
{
    // LB_FINDSTRINGEXACT ignores case; the program's names compare byte for byte.
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        if (ItemText(i) == text)
            return i;
    }
    return -1;
}

void ListBox::SetRedraw(bool on)
{
    SendMessageA(hwnd_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::OnCommand(int code)
{
    if (code == LBN_SELCHANGE)
        Raise(Event::SelectionChanged);
}

void ListBox::ShowMenu(LPARAM at)
{
    const int selected = Selected();
    // From the keyboard: below the selected item, or at the list's corner.
    POINT anchor = {2, 2};
    RECT item;
    if (selected >= 0 && SendMessageA(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(selected),
                                      reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
        RECT client;
        GetClientRect(hwnd_, &client);
        if (item.bottom > client.top && item.top < client.bottom)
            anchor = {item.left + 8, item.bottom};
    }
    ScopedMenu menu;
    AppendEntries(menu.get(), menu_, selected >= 0);
    const UINT chosen = ChooseFromMenu(hwnd_, menu.get(), MenuPoint(hwnd_, at, anchor));
    if (chosen >= kFirstEntryId && chosen < kFirstEntryId + menu_.size())
        Raise(menu_[chosen - kFirstEntryId].event);
}

LRESULT ListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (menu_.empty())
        return Default(msg, wp, lp);
    switch (msg) {
    case WM_RBUTTONDOWN: {
        // The item under the pointer is selected first, exactly as a left click selects it.
        SetFocus(hwnd_);
        const LRESULT hit = SendMessageA(hwnd_, LB_ITEMFROMPOINT, 0, lp);
        const int index = LOWORD(hit);
        if (HIWORD(hit) == 0 && index < Count() && index != Selected()) {
            SetSelected(index);
            Raise(Event::SelectionChanged);
        }
        return 0;
    }
    case WM_RBUTTONUP: {
        POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ClientToScreen(hwnd_, &at);
        ShowMenu(MAKELPARAM(at.x, at.y));
        return 0;
    }
    case WM_CONTEXTMENU:
        ShowMenu(lp);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const KeyPress press = KeyPressOf(msg, wp, lp);
        if (OpensMenu(press)) {
            ShowMenu(-1);
            return 0;
        }
        if (const MenuEntry* entry = EntryForKey(menu_, press, Selected() >= 0)) {
            swallowChar_ = msg == WM_SYSKEYDOWN;
            Raise(entry->event);
            return 0;
        }
        break;
    }
    case WM_SYSCHAR:
        // The character of an Alt+Enter that ran an entry: no beep, no menu bar.
        if (swallowChar_ && wp == '\r') {
            swallowChar_ = false;
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wp == VK_APPS)
            return 0;  // the menu key opened the menu on its way down
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}
