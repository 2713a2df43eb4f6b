#pragma once
#include <span>

// Rectangles in whole pixels, right and bottom exclusive, as the platform's RECT.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// The box moved (not resized) so that its centre is the centre of `on`.
Rect CentredOn(const Rect& box, const Rect& on);

// The box moved (not resized) as little as possible to lie inside the area. A box wider
// or taller than the area keeps its left or top edge at the area's, so that its title bar
// and its top-left corner stay reachable.
Rect MovedInside(const Rect& box, const Rect& area);
