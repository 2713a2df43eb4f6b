#include "win/placement.h"

#include "base/geometry.h"

namespace {

Rect FromRECT(const RECT& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
}

}  // namespace

RECT WorkAreaOf(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return info.rcWork;
}

void CentreOnOwnerInsideWorkArea(HWND window, HWND owner)
{
    RECT box, on;
    if (!owner || !GetWindowRect(window, &box) || !GetWindowRect(owner, &on))
        return;
    const Rect placed = MovedInside(CentredOn(FromRECT(box), FromRECT(on)), FromRECT(WorkAreaOf(owner)));
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
