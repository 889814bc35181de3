#include "ui/flat_menu_layout.h"

namespace flat_menu {
namespace {
constexpr int kCheckFrameMargin = 2;
constexpr int kArrowHalfHeight = 4;
constexpr int kBadgeWidth = 10;
constexpr int kBadgeHeight = 9;
}  // namespace

ItemLayout LayOutItem(const Box& item) noexcept {
    ItemLayout layout;
    layout.column = {item.left, item.top, item.left + kIconColumnWidth, item.bottom};
    const int pictureLeft = item.left + (kIconColumnWidth - kPictureSize) / 2;
    const int pictureTop = item.top + (item.Height() - kPictureSize) / 2;
    layout.picture = {pictureLeft, pictureTop, pictureLeft + kPictureSize, pictureTop + kPictureSize};
    layout.checkFrame = {layout.picture.left - kCheckFrameMargin, layout.picture.top - kCheckFrameMargin,
                         layout.picture.right + kCheckFrameMargin, layout.picture.bottom + kCheckFrameMargin};
    layout.checkBadge = {layout.checkFrame.right - kBadgeWidth, layout.checkFrame.bottom - kBadgeHeight,
                         layout.checkFrame.right, layout.checkFrame.bottom};
    layout.arrow = {item.right - kArrowWidth, item.top, item.right, item.bottom};
    layout.caption = {layout.column.right + kCaptionIndent, item.top, layout.arrow.left, item.bottom};
    return layout;
}

int MeasuredWidth(int captionWidth) noexcept { return kIconColumnWidth + kCaptionIndent + captionWidth + kArrowWidth; }

int SeparatorRow(const Box& item) noexcept { return item.top + item.Height() / 2; }

std::array<Point, 3> CheckMarkStroke(const Box& box) noexcept {
    // Drawn on a 16-pixel grid, scaled to the box.
    auto at = [&](int x, int y) { return Point{box.left + x * box.Width() / 16, box.top + y * box.Height() / 16}; };
    return {at(3, 7), at(6, 10), at(12, 4)};
}

std::array<Point, 3> ArrowTriangle(const Box& box) noexcept {
    const int middle = box.top + box.Height() / 2;
    const int left = box.left + box.Width() / 2 - kArrowHalfHeight / 2;
    return {Point{left, middle - kArrowHalfHeight}, Point{left + kArrowHalfHeight, middle},
            Point{left, middle + kArrowHalfHeight}};
}

}  // namespace flat_menu
