#include "win/window_class.h"

bool RegisterClassOnce(const WindowClassSpec& spec)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, spec.name, &wc))
        return true;
    wc.style = spec.style;
    wc.lpfnWndProc = spec.procedure;
    wc.hInstance = instance;
    wc.hIcon = spec.icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = spec.background;
    wc.lpszClassName = spec.name;
    return RegisterClassA(&wc) != 0;
}

HFONT GuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
