// Where a picture button puts its picture and caption: the picture left of the
// caption, the pair centred in the button, the caption cut on the right when
// the button is too narrow; a pressed button shows its content one pixel down
// and right. A button without a caption centres its picture.
#pragma once
#include "ui/geometry.h"

namespace picture_button {

using ui_geometry::Box;
using ui_geometry::Size;

inline constexpr int kGap = 4;     // between picture and caption
inline constexpr int kMargin = 3;  // kept free inside the button's edge

struct Layout {
    Box picture;
    Box caption;  // empty (zero width) without a caption
};

Layout LayOut(const Box& button, Size picture, Size caption, bool pressed);

}  // namespace picture_button
