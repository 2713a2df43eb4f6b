#include "controls/control.h"

#include "win/fatal.h"
#include "win/window_class.h"

Control::~Control()
{
    if (Exists())
        DestroyWindow(hwnd_);
}

void Control::Destroy()
{
    if (Exists())
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool Control::CreateChild(const CreateArgs& args, const char* className, DWORD style, int height)
{
    sink_ = args.sink;
    source_ = args.source;
    const DWORD fullStyle = WS_CHILD | style | args.style | (args.tabStop ? WS_TABSTOP : 0);
    hwnd_ = CreateWindowExA(args.exStyle, className, args.caption, fullStyle, args.left, args.top, args.width, height,
                            args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        return false;
    // Subclassed through the window's own slots: the comctl32 helpers look the control up
    // in a window property on every message, which costs a server round trip under Wine.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    platformProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SubclassProc)));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return true;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC platform = self->platformProc_;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(platform));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return CallWindowProcA(platform, hwnd, msg, wp, lp);
    }
    return Guarded([&] { return self->HandleMessage(msg, wp, lp); }, LRESULT{0});
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT Control::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return platformProc_ ? CallWindowProcA(platformProc_, hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

void Control::Raise(Event event, const std::string& text)
{
    if (sink_)
        sink_->Raise(source_, event, text);
}

void Control::PostEvent(Event event)
{
    if (sink_)
        sink_->Post(source_, event);
}

LRESULT CustomControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

bool CustomControl::CreateCustom(const CreateArgs& args, const char* className, DWORD style)
{
    sink_ = args.sink;
    source_ = args.source;
    if (!RegisterClassOnce({.name = className, .procedure = &WindowThunk<CustomControl>::Proc}))
        return false;
    const DWORD fullStyle = WS_CHILD | style | args.style | (args.tabStop ? WS_TABSTOP : 0);
    const HWND hwnd = CreateWindowExA(args.exStyle, className, args.caption, fullStyle, args.left, args.top, args.width,
                                      args.height, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                      GetModuleHandleA(nullptr), this);
    return hwnd != nullptr;
}

bool InvisibleControl::Create(const CreateArgs& args)
{
    return CreateCustom(args, "QuillmoorInvisible", 0);
}
