#include "controls/button.h"

bool Button::Create(const CreateArgs& args)
{
    return CreateChild(args, "BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, args.height);
}

void Button::OnCommand(int code)
{
    if (code == BN_CLICKED)
        Raise(Event::Clicked);
}
