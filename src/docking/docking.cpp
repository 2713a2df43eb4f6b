#include "docking/docking.h"

#include <vector>

#include "docking/dock_rule.h"
#include "window/main_window.h"
#include "win/fatal.h"

namespace {

Rect FromRECT(const RECT& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rc, LPARAM out)
{
    // Called from the system's code: no exception may unwind through it.
    return Guarded(
        [&] {
            reinterpret_cast<std::vector<Rect>*>(out)->push_back(FromRECT(*rc));
            return TRUE;
        },
        FALSE);
}

struct OwnWindowSearch {
    HWND main;
    bool found;
};

BOOL CALLBACK FindOtherVisible(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<OwnWindowSearch*>(lp);
    if (hwnd != search->main && IsWindowVisible(hwnd)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Whether another visible top-level window of this thread is open: the colour popup, a
// dialog or a message box, each of them what the user is busy with.
bool OwnWindowOpen(HWND main)
{
    OwnWindowSearch search{main, false};
    EnumThreadWindows(GetCurrentThreadId(), &FindOtherVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the pointer is over a window of this thread other than the main window's own
// rectangle: the colour popup, a dialog, a message box.
bool PointerOverOwnWindow(POINT pointer)
{
    const HWND under = WindowFromPoint(pointer);
    return under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId();
}

}  // namespace

void DockToScreenEdge(MainWindow& window)
{
    const HWND hwnd = window.hwnd();
    POINT pointer;
    RECT rc;
    if (!hwnd || !GetCursorPos(&pointer) || !GetWindowRect(hwnd, &rc))
        return;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info))
        return;
    std::vector<Rect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));

    DockState state;
    state.x = pointer.x;
    state.y = pointer.y;
    state.window = FromRECT(rc);
    state.monitor = FromRECT(info.rcMonitor);
    state.open = OpenEdgesOf(state.monitor, monitors);
    state.overOwnWindow = PointerOverOwnWindow(pointer);
    state.mayTuck = !OwnWindowOpen(hwnd);
    const DockMove move = DockRule(state);

    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int left = rc.left, top = rc.top;
    if (move.axis == DockMove::Axis::Left)
        left = move.value;
    else if (move.axis == DockMove::Axis::Top)
        top = move.value;
    // A move to where the window already is would only repaint it: skip it.
    if (left != rc.left || top != rc.top)
        MoveWindow(hwnd, left, top, width, height, TRUE);
}
