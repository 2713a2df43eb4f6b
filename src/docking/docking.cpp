#include "docking/docking.h"

#include "docking/dock_rule.h"
#include "window/main_window.h"

void DockToScreenEdge(MainWindow& window)
{
    HWND hwnd = window.hwnd();
    POINT pointer;
    RECT rc;
    if (!hwnd || !GetCursorPos(&pointer) || !GetWindowRect(hwnd, &rc))
        return;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const DockMove move = DockRule(pointer.x, pointer.y, rc.left, rc.top, width, height, GetSystemMetrics(SM_CXSCREEN));
    int left = rc.left, top = rc.top;
    if (move.axis == DockMove::Axis::Left)
        left = move.value;
    else if (move.axis == DockMove::Axis::Top)
        top = move.value;
    // A move to where the window already is would only repaint it: skip it.
    if (left != rc.left || top != rc.top)
        MoveWindow(hwnd, left, top, width, height, TRUE);
}
