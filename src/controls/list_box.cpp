#include "controls/list_box.h"

#include "win/window_text.h"

bool ListBox::Create(const CreateArgs& args)
{
    if (!CreateChild(args, "LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, args.height))
        return false;
    const LRESULT itemHeight = SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0)
        SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight + 1);
    return true;
}

int ListBox::Count() const
{
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0));
}

int ListBox::Selected() const
{
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::SetSelected(int index)
{
    SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ListBox::ItemText(int index) const
{
    return ::ItemText(hwnd_, kListBoxItems, index);
}

int ListBox::Add(const std::string& text)
{
    const LRESULT index = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    return static_cast<int>(index);
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
