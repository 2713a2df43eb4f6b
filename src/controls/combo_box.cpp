#include "controls/combo_box.h"

#include <algorithm>

#include "win/window_text.h"

bool ComboBox::Create(const CreateArgs& args)
{
    // A drop-down combo box's height includes its list; the field keeps the font's height.
    const DWORD type = args.style & 3;
    const int height = (type == CBS_DROPDOWN || type == CBS_DROPDOWNLIST) ? std::max(args.height, 160) : args.height;
    if (!CreateChild(args, "COMBOBOX", WS_VSCROLL, height))
        return false;
    const LRESULT itemHeight = SendMessageA(hwnd_, CB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0)
        SendMessageA(hwnd_, CB_SETITEMHEIGHT, 0, itemHeight + 1);
    // The new font and item height may have shortened the dropped list: ask again.
    SetWindowPos(hwnd_, nullptr, 0, 0, args.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // An editable field takes text of any length, like the edit boxes.
    if (type == CBS_DROPDOWN || type == CBS_SIMPLE)
        SendMessageA(hwnd_, CB_LIMITTEXT, 0, 0);
    for (const char* item : args.items)
        Add(item);
    if (args.selected >= 0)
        SetSelected(args.selected);
    return true;
}

std::string ComboBox::Text() const
{
    return WindowText(hwnd_);
}

void ComboBox::OnCommand(int code)
{
    if (code == CBN_SELENDOK)
        PostEvent(Event::ItemChosen);  // the box updates its selection and field after this
    else if (code == CBN_EDITCHANGE)
        Raise(Event::EditTextChanged);
}
