#include "controls/timer.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

bool Timer::Create(const CreateArgs& args)
{
    interval_ = args.interval;
    if (!InvisibleControl::Create(args))
        return false;
    // A timer the system refuses fails the load like a control that cannot be made.
    return interval_ == 0 || SetTimer(hwnd_, kTimerId, interval_, nullptr) != 0;
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        Raise(Event::Tick);
        return 0;
    }
    if (msg == WM_DESTROY)
        KillTimer(hwnd_, kTimerId);
    return DefWindowProcA(hwnd_, msg, wp, lp);
}
