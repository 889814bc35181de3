// Plain geometry shared by the kit's platform-free layout code (pixels, y down).
#pragma once

namespace ui_geometry {

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width;
    int height;
};

struct Box {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    bool Contains(const Box& inner) const noexcept {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }
    bool operator==(const Box&) const = default;
};

}  // namespace ui_geometry
