#pragma once
#include <span>

#include "base/geometry.h"

// Screen-edge docking as a rule on plain numbers.
struct DockMove {
    enum class Axis { None, Left, Top } axis = Axis::None;
    int value = 0;  // the new left or top
};

// The edges of a monitor where the desktop ends: no other monitor lies beyond them. The
// window tucks away only there; beyond a shared edge it would land on the neighbour.
struct OpenEdges {
    bool left = true, right = true, top = true;
};
OpenEdges OpenEdgesOf(const Rect& monitor, std::span<const Rect> monitors);

// What one tick does. The pointer (x, y) counts as over the window inside its rectangle,
// both bounds inclusive, or when `overOwnWindow` (it is over another window of the
// program: a popup, a dialog, a message box). `mayTuck` is false while such a window is
// open. The edges are those of the monitor that holds the window; with one monitor at
// (0, 0) this is the rule on the primary screen's width.
struct DockState {
    int x = 0, y = 0;
    Rect window;
    Rect monitor;
    OpenEdges open;
    bool overOwnWindow = false;
    bool mayTuck = true;
};
DockMove DockRule(const DockState& state);
