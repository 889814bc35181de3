#include "ui/picture_button_layout.h"

#include <algorithm>

namespace picture_button {

Layout LayOut(const Box& button, Size picture, Size caption, bool pressed) {
    const int inner = std::max(0, button.Width() - 2 * kMargin);
    const int captionRoom = inner - picture.width - (picture.width > 0 ? kGap : 0);
    const int captionWidth = std::clamp(caption.width, 0, std::max(0, captionRoom));
    const int gap = (picture.width > 0 && captionWidth > 0) ? kGap : 0;
    const int content = picture.width + gap + captionWidth;
    const int shift = pressed ? 1 : 0;
    // A content wider than the button starts at the margin rather than outside.
    const int left = button.left + std::max(kMargin, (button.Width() - content) / 2) + shift;
    const int middle = button.top + button.Height() / 2 + shift;

    Layout layout;
    const int pictureTop = button.top + (button.Height() - picture.height) / 2 + shift;
    layout.picture = {left, pictureTop, left + picture.width, pictureTop + picture.height};
    const int captionLeft = left + picture.width + gap;
    const int captionTop = middle - caption.height / 2;
    layout.caption = {captionLeft, captionTop, captionLeft + captionWidth, captionTop + caption.height};
    return layout;
}

}  // namespace picture_button
