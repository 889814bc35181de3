// Geometry of the flat menu look: where the icon column, the picture, the
// check-mark frame, the caption and the submenu arrow sit inside one item.
// Pure arithmetic, shared by the Win32 drawing code and its tests.
#pragma once
#include <array>

#include "ui/geometry.h"

namespace flat_menu {

using Point = ui_geometry::Point;
using Box = ui_geometry::Box;

inline constexpr int kItemHeight = 22;
inline constexpr int kSeparatorHeight = 5;
inline constexpr int kIconColumnWidth = 24;
inline constexpr int kPictureSize = 16;
// Between the icon column and the caption.
inline constexpr int kCaptionIndent = 8;
// Right of the caption: room for the submenu arrow, also kept free on items
// without one so that captions line up.
inline constexpr int kArrowWidth = 18;

struct ItemLayout {
    Box column;      // the icon column, full item height
    Box picture;     // the 16x16 picture, centred in the column
    Box checkFrame;  // the frame drawn round the picture of a checked item
    Box checkBadge;  // the small tick box over the frame's lower right corner
    Box caption;     // where the caption is written
    Box arrow;       // where the submenu arrow goes
};

ItemLayout LayOutItem(const Box& item) noexcept;

// The width to ask for an item whose caption is captionWidth pixels wide.
int MeasuredWidth(int captionWidth) noexcept;

// Row of the separator line in a separator item.
int SeparatorRow(const Box& item) noexcept;

// The tick of a check mark drawn in a picture-sized box: a short stroke down
// to the bottom point, then a long one up to the right.
std::array<Point, 3> CheckMarkStroke(const Box& box) noexcept;

// The submenu arrow: a small triangle pointing right, centred in the box.
std::array<Point, 3> ArrowTriangle(const Box& box) noexcept;

}  // namespace flat_menu
