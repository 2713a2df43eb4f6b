#pragma once

// Screen-edge docking as a rule on plain numbers: pointer (x, y), the window's outer
// rectangle (L, T, W, H) and the primary screen's width S.
struct DockMove {
    enum class Axis { None, Left, Top } axis = Axis::None;
    int value = 0;  // the new left or top
};

DockMove DockRule(int x, int y, int L, int T, int W, int H, int S);
