#include "docking/dock_rule.h"

namespace {

constexpr int kStrip = 2;

// Whether b lies beyond a's edge on that side, sharing some of its length.
bool Overlaps(int a0, int a1, int b0, int b1)
{
    return b0 < a1 && a0 < b1;
}

}  // namespace

OpenEdges OpenEdgesOf(const Rect& monitor, std::span<const Rect> monitors)
{
    OpenEdges open;
    for (const Rect& other : monitors) {
        if (other == monitor)
            continue;
        const bool sideBySide = Overlaps(monitor.top, monitor.bottom, other.top, other.bottom);
        const bool stacked = Overlaps(monitor.left, monitor.right, other.left, other.right);
        if (sideBySide && other.right >= monitor.left && other.left < monitor.left)
            open.left = false;
        if (sideBySide && other.left <= monitor.right && other.right > monitor.right)
            open.right = false;
        if (stacked && other.bottom >= monitor.top && other.top < monitor.top)
            open.top = false;
    }
    return open;
}

DockMove DockRule(const DockState& s)
{
    const int L = s.window.left, T = s.window.top, W = s.window.Width(), H = s.window.Height();
    const Rect& m = s.monitor;
    // Inclusive on both sides: the column right of the window and the row below count.
    const bool over = s.overOwnWindow || (L <= s.x && s.x <= L + W && T <= s.y && s.y <= T + H);
    if (!over) {
        if (!s.mayTuck)
            return {};
        if (s.open.left && L <= m.left)
            return {DockMove::Axis::Left, m.left + kStrip - W};
        if (s.open.right && L + W >= m.right)
            return {DockMove::Axis::Left, m.right - kStrip};
        if (s.open.top && T <= m.top + 1)
            return {DockMove::Axis::Top, m.top + kStrip - H};
        return {};
    }
    if (s.open.left && L <= m.left)
        return {DockMove::Axis::Left, m.left};
    if (s.open.right && L == m.right - kStrip)
        return {DockMove::Axis::Left, m.right - W};
    if (s.open.top && T <= m.top + 1)
        return {DockMove::Axis::Top, m.top};
    return {};
}
