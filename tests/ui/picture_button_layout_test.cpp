#include "ui/picture_button_layout.h"

#include <gtest/gtest.h>

#include <string>

using namespace picture_button;

namespace {
std::string Text(const Box& b) {
    return "(" + std::to_string(b.left) + "," + std::to_string(b.top) + ")-(" + std::to_string(b.right) + "," +
           std::to_string(b.bottom) + ")";
}

TEST(PictureButtonLayout, PlacesPictureLeftOfCaptionCentredOrCutToTheButton) {
    const struct Case {
        const char* what;
        Box button;
        Size picture, caption;
        bool pressed;
        Box picturePlace, captionPlace;
    } cases[] = {
        // 16 + 4 + 44 = 64 wide in 89: starts at 12; both centred on row 15.
        {"editor button", {0, 0, 89, 30}, {16, 16}, {44, 13}, false, {12, 7, 28, 23}, {32, 9, 76, 22}},
        {"same, pressed", {0, 0, 89, 30}, {16, 16}, {44, 13}, true, {13, 8, 29, 24}, {33, 10, 77, 23}},
        {"placed in a window", {248, 84, 337, 114}, {16, 16}, {44, 13}, false, {260, 91, 276, 107}, {280, 93, 324, 106}},
        {"glyph only", {0, 0, 23, 21}, {16, 16}, {0, 0}, false, {3, 2, 19, 18}, {19, 10, 19, 10}},
        {"caption only", {0, 0, 65, 25}, {0, 0}, {41, 13}, false, {12, 12, 12, 12}, {12, 6, 53, 19}},
        // 89 - 2 * 3 = 83 inside: the caption keeps 83 - 16 - 4 = 63 pixels.
        {"long caption cut", {0, 0, 89, 30}, {16, 16}, {200, 13}, false, {3, 7, 19, 23}, {23, 9, 86, 22}},
        {"picture wider than the button", {0, 0, 10, 10}, {16, 16}, {30, 13}, false, {3, -3, 19, 13}, {19, -1, 19, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Layout layout = LayOut(c.button, c.picture, c.caption, c.pressed);
        EXPECT_EQ(layout.picture, c.picturePlace) << Text(layout.picture);
        EXPECT_EQ(layout.caption, c.captionPlace) << Text(layout.caption);
    }
}
}  // namespace
