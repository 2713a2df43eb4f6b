#include "docking/dock_rule.h"

DockMove DockRule(int x, int y, int L, int T, int W, int H, int S)
{
    constexpr int kStrip = 2;
    // Inclusive on both sides: the column right of the window and the row below count.
    const bool over = L <= x && x <= L + W && T <= y && y <= T + H;
    if (!over) {
        if (L <= 0)
            return {DockMove::Axis::Left, kStrip - W};
        if (L + W >= S)
            return {DockMove::Axis::Left, S - kStrip};
        if (T <= 1)
            return {DockMove::Axis::Top, kStrip - H};
        return {};
    }
    if (L <= 0)
        return {DockMove::Axis::Left, 0};
    if (L == S - kStrip)
        return {DockMove::Axis::Left, S - W};
    if (T <= 1)
        return {DockMove::Axis::Top, 0};
    return {};
}
