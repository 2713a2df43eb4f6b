#include <gtest/gtest.h>

#include "docking/dock_rule.h"

namespace {

DockState State(int x, int y, int L, int T, int W, int H, Rect monitor = {0, 0, 1024, 768})
{
    DockState s;
    s.x = x;
    s.y = y;
    s.window = {L, T, L + W, T + H};
    s.monitor = monitor;
    return s;
}

}  // namespace

TEST(DockRule, TucksAwayAndBringsBackOnOneScreen)
{
    using A = DockMove::Axis;
    // Screen 1024 wide, window 339 x 495.
    const int W = 339, H = 495, S = 1024;
    struct Case {
        const char* situation;
        int x, y, L, T;
        A axis;
        int value;
    };
    const Case cases[] = {
        {"free, pointer away", 5, 5, 300, 100, A::None, 0},
        {"free, pointer over", 400, 200, 300, 100, A::None, 0},
        {"left 0, pointer away", 900, 700, 0, 100, A::Left, 2 - W},
        {"left beyond, pointer away", 900, 700, -50, 100, A::Left, 2 - W},
        {"tucked left, pointer away stays", 900, 700, 2 - W, 100, A::Left, 2 - W},
        {"tucked left, pointer on strip x0", 0, 300, 2 - W, 100, A::Left, 0},
        {"tucked left, pointer on strip x2 (inclusive)", 2, 300, 2 - W, 100, A::Left, 0},
        {"tucked left, pointer at x3", 3, 300, 2 - W, 100, A::Left, 2 - W},
        {"tucked left, pointer at bottom row (inclusive)", 1, 100 + H, 2 - W, 100, A::Left, 0},
        {"right edge exactly, pointer away", 5, 5, S - W, 100, A::Left, S - 2},
        {"tucked right, pointer over strip", S - 1, 300, S - 2, 100, A::Left, S - W},
        {"beyond right, pointer over", S - 10, 300, S - W + 50, 100, A::None, 0},
        {"beyond right, top 1, pointer over", S - 10, 300, S - W + 50, 1, A::Top, 0},
        {"beyond right, pointer away", 5, 5, S - W + 50, 100, A::Left, S - 2},
        {"wholly right of the screen", 5, 5, S + 100, 100, A::Left, S - 2},
        {"top 1, pointer away", 900, 700, 300, 1, A::Top, 2 - H},
        {"top 2, pointer away", 900, 700, 300, 2, A::None, 0},
        {"tucked up, pointer on strip", 400, 0, 300, 2 - H, A::Top, 0},
        {"above top, pointer over", 400, 10, 300, -20, A::Top, 0},
        {"left and top, pointer away: left wins", 900, 700, 0, 0, A::Left, 2 - W},
        {"right and top, pointer away: right wins", 5, 700, S - W, 0, A::Left, S - 2},
        {"left beyond, pointer over", 10, 300, -50, 100, A::Left, 0},
        {"near the bottom edge", 5, 5, 300, 700, A::None, 0},
    };
    for (const Case& c : cases) {
        const DockMove move = DockRule(State(c.x, c.y, c.L, c.T, W, H, {0, 0, S, 768}));
        EXPECT_EQ(move.axis, c.axis) << c.situation;
        if (c.axis != A::None) {
            EXPECT_EQ(move.value, c.value) << c.situation;
        }
    }
}

TEST(DockRule, UsesTheEdgesOfTheMonitorThatHoldsTheWindow)
{
    using A = DockMove::Axis;
    const int W = 339, H = 495;
    const Rect primary = {0, 0, 1024, 768};
    const Rect leftOfPrimary = {-1280, 0, 0, 1024};
    const Rect rightOfPrimary = {1024, 0, 2048, 768};
    const Rect belowPrimary = {0, 768, 1024, 1536};
    const Rect all[] = {primary, leftOfPrimary, rightOfPrimary, belowPrimary};
    struct Case {
        const char* situation;
        int x, y, L, T;
        Rect monitor;
        A axis;
        int value;
    };
    const Case cases[] = {
        // The monitor left of the primary starts at negative x; its right edge is shared.
        {"left monitor, at its left edge, pointer away", 500, 500, -1280, 100, leftOfPrimary, A::Left, -1280 + 2 - W},
        {"left monitor, tucked, pointer on the strip", -1279, 300, -1280 + 2 - W, 100, leftOfPrimary, A::Left, -1280},
        {"left monitor, pointer over, left below 0", -100, 300, -200, 100, leftOfPrimary, A::None, 0},
        {"left monitor, touching the shared edge, pointer away", 500, 500, -W, 100, leftOfPrimary, A::None, 0},
        {"left monitor, top edge, pointer away", 500, 500, -800, 1, leftOfPrimary, A::Top, 2 - H},
        // The primary's left edge is shared with that monitor: no tuck there.
        {"primary, left 0 beside a monitor, pointer away", 900, 700, 0, 100, primary, A::None, 0},
        // A monitor right of the primary: its own right edge, never the primary's width.
        {"right monitor, free", 5, 5, 1500, 100, rightOfPrimary, A::None, 0},
        {"right monitor, at its right edge, pointer away", 5, 5, 2048 - W, 100, rightOfPrimary, A::Left, 2046},
        {"right monitor, tucked, pointer on the strip", 2047, 300, 2046, 100, rightOfPrimary, A::Left, 2048 - W},
        {"right monitor, its top edge", 5, 5, 1500, 1, rightOfPrimary, A::Top, 2 - H},
        // The top edge of a monitor below the primary is shared: no tuck up.
        {"lower monitor, at its top, pointer away", 5, 5, 300, 768, belowPrimary, A::None, 0},
        {"lower monitor, above its top, pointer over", 400, 790, 300, 760, belowPrimary, A::None, 0},
    };
    for (const Case& c : cases) {
        DockState state = State(c.x, c.y, c.L, c.T, W, H, c.monitor);
        state.open = OpenEdgesOf(c.monitor, all);
        const DockMove move = DockRule(state);
        EXPECT_EQ(move.axis, c.axis) << c.situation;
        if (c.axis != A::None) {
            EXPECT_EQ(move.value, c.value) << c.situation;
        }
    }
}

TEST(DockRule, TheProgramsOwnWindowsKeepTheWindowWhereItIs)
{
    const int W = 339, H = 495;
    // At the left edge, the pointer below the window on the colour popup's last row.
    DockState onPopup = State(60, 700, 0, 100, W, H);
    onPopup.overOwnWindow = true;
    const DockMove stay = DockRule(onPopup);
    EXPECT_TRUE(stay.axis == DockMove::Axis::None || (stay.axis == DockMove::Axis::Left && stay.value == 0));
    // A dialog open, the pointer elsewhere: nothing is tucked away.
    DockState dialogOpen = State(900, 700, 0, 100, W, H);
    dialogOpen.mayTuck = false;
    EXPECT_EQ(DockRule(dialogOpen).axis, DockMove::Axis::None);
    // Bringing back from the strip is unchanged while a dialog is open.
    DockState tucked = State(1, 300, 2 - W, 100, W, H);
    tucked.mayTuck = false;
    const DockMove back = DockRule(tucked);
    EXPECT_EQ(back.axis, DockMove::Axis::Left);
    EXPECT_EQ(back.value, 0);
}

TEST(OpenEdgesOf, OnlyWhereNoMonitorLiesBeyond)
{
    const Rect primary = {0, 0, 1024, 768};
    const Rect one[] = {primary};
    const OpenEdges alone = OpenEdgesOf(primary, one);
    EXPECT_TRUE(alone.left && alone.right && alone.top);

    const Rect left = {-1280, 0, 0, 1024}, right = {1024, 200, 1664, 680}, above = {200, -600, 1000, 0};
    const Rect beside[] = {primary, left, right, above};
    const OpenEdges p = OpenEdgesOf(primary, beside);
    EXPECT_FALSE(p.left);
    EXPECT_FALSE(p.right);
    EXPECT_FALSE(p.top);
    const OpenEdges l = OpenEdgesOf(left, beside);
    EXPECT_TRUE(l.left);
    EXPECT_FALSE(l.right);
    EXPECT_TRUE(l.top);
    // A monitor diagonally away shares no edge.
    const Rect diagonal[] = {primary, {1024, 768, 2048, 1536}};
    const OpenEdges d = OpenEdgesOf(primary, diagonal);
    EXPECT_TRUE(d.left && d.right && d.top);
}
