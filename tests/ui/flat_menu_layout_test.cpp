#include "ui/flat_menu_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace flat_menu;

namespace {
bool Inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Inside(const Point& p, const Box& box) {
    return p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
}

std::string Text(const Box& b) {
    return "(" + std::to_string(b.left) + "," + std::to_string(b.top) + ")-(" + std::to_string(b.right) + "," +
           std::to_string(b.bottom) + ")";
}
}  // namespace

TEST(FlatMenuLayout, PictureSitsCentredInTheIconColumnWhateverTheItemPlace) {
    const Box items[] = {{0, 0, 150, kItemHeight}, {2, 47, 210, 47 + kItemHeight}, {0, 10, 90, 33}};
    for (const Box& item : items) {
        SCOPED_TRACE(Text(item));
        const ItemLayout layout = LayOutItem(item);
        EXPECT_EQ(layout.column.Width(), kIconColumnWidth);
        EXPECT_EQ(layout.column.Height(), item.Height());
        EXPECT_EQ(layout.picture.Width(), 16);
        EXPECT_EQ(layout.picture.Height(), 16);
        EXPECT_EQ(layout.picture.left - layout.column.left, layout.column.right - layout.picture.right);
        EXPECT_LE(std::abs((layout.picture.top - item.top) - (item.bottom - layout.picture.bottom)), 1)
            << Text(layout.picture);
        EXPECT_TRUE(Inside(layout.checkFrame, layout.column)) << Text(layout.checkFrame);
        EXPECT_TRUE(Inside(layout.picture, layout.checkFrame));
        EXPECT_GT(layout.checkFrame.Width(), layout.picture.Width()) << "the frame must show round the picture";
        EXPECT_TRUE(Inside(layout.checkBadge, layout.checkFrame)) << Text(layout.checkBadge);
        EXPECT_EQ(layout.checkBadge.right, layout.checkFrame.right);
        EXPECT_EQ(layout.checkBadge.bottom, layout.checkFrame.bottom);
        EXPECT_LT(layout.checkBadge.Width(), layout.picture.Width() / 2 + 3) << "most of the picture stays seen";
    }
}

TEST(FlatMenuLayout, CaptionStaysClearOfTheColumnAndTheArrow) {
    const ItemLayout layout = LayOutItem({0, 0, 160, kItemHeight});
    EXPECT_GE(layout.caption.left, layout.column.right + 1);
    EXPECT_LE(layout.caption.right, layout.arrow.left);
    EXPECT_EQ(layout.arrow.right, 160);
    EXPECT_GT(layout.caption.Width(), 0);
}

TEST(FlatMenuLayout, MeasuredWidthLeavesTheCaptionItsFullWidth) {
    for (int captionWidth : {0, 1, 37, 400}) {
        SCOPED_TRACE(captionWidth);
        const ItemLayout layout = LayOutItem({0, 0, MeasuredWidth(captionWidth), kItemHeight});
        EXPECT_EQ(layout.caption.Width(), captionWidth);
    }
}

TEST(FlatMenuLayout, SeparatorLineRunsThroughTheMiddleOfItsItem) {
    EXPECT_EQ(SeparatorRow({0, 100, 50, 100 + kSeparatorHeight}), 102);
    EXPECT_EQ(SeparatorRow({0, 0, 50, 4}), 2);
}

TEST(FlatMenuLayout, CheckMarkAndArrowStayInsideTheirBoxes) {
    const ItemLayout layout = LayOutItem({0, 30, 150, 30 + kItemHeight});
    const auto tick = CheckMarkStroke(layout.picture);
    // Drawn three rows deep: the lowest point plus two rows must still fit.
    for (const Point& p : tick) EXPECT_TRUE(Inside(Point{p.x, p.y + 2}, layout.picture)) << p.x << "," << p.y;
    EXPECT_GT(tick[1].y, tick[0].y) << "the short stroke goes down";
    EXPECT_LT(tick[2].y, tick[1].y) << "the long stroke goes up";
    EXPECT_GT(tick[2].x - tick[1].x, tick[1].x - tick[0].x) << "the right stroke is the longer";

    const auto arrow = ArrowTriangle(layout.arrow);
    for (const Point& p : arrow) EXPECT_TRUE(Inside(p, layout.arrow)) << p.x << "," << p.y;
    EXPECT_GT(arrow[1].x, arrow[0].x) << "points right";
    EXPECT_EQ(arrow[0].x, arrow[2].x);
    EXPECT_EQ(arrow[1].y - arrow[0].y, arrow[2].y - arrow[1].y) << "symmetric about its tip";
}
