#include <gtest/gtest.h>

#include "docking/dock_rule.h"

TEST(DockRule, TucksAwayAndBringsBack)
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
        const DockMove move = DockRule(c.x, c.y, c.L, c.T, W, H, S);
        EXPECT_EQ(move.axis, c.axis) << c.situation;
        if (c.axis != A::None) {
            EXPECT_EQ(move.value, c.value) << c.situation;
        }
    }
}
