#include "win/window_class.h"

bool RegisterClassOnce(const WindowClassInfo& info)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, info.name, &wc))
        return true;
    wc.style = info.style;
    wc.lpfnWndProc = info.procedure;
    wc.hInstance = instance;
    wc.hIcon = info.icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = info.background;
    wc.lpszClassName = info.name;
    return RegisterClassA(&wc) != 0;
}

HFONT GuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
