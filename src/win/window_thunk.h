#pragma once
#include <windows.h>

#include "win/fatal.h"

// The window procedure of a class of the program's own: the object comes in as the
// creation parameter, is kept in the window's user data, and gets every message as
// HandleMessage(msg, wp, lp) with its hwnd_ set. No exception leaves the procedure.
template <class Window> struct WindowThunk {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        Window* self;
        if (msg == WM_NCCREATE) {
            self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcA(hwnd, msg, wp, lp);
        const LRESULT result = Guarded([&] { return self->HandleMessage(msg, wp, lp); }, LRESULT{0});
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }
};
