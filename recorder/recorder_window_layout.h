// The recorder window's drawn elements that answer the mouse: where they are
// (client pixels), their hints and help-balloon titles and pictures, and
// which of them are clickable.
#pragma once
#include <span>
#include <string>

enum class RecorderElementId { Image14, Shape4, Label19, Label20, Image12, BmpAnimator1, Image13, Image30 };

struct RecorderElement {
    RecorderElementId id;
    int left, top, width, height;
    const char* hint;
    const char* balloonTitle;
    int balloonPicture;  // number in the balloons' title pictures
    bool clickable;
    // The switch's own balloon is always on; the others follow the switch.
    bool balloonAlwaysOn;
};

// The dark panel behind the top row; while an MP3 is written it comes to the
// front and covers every element inside it.
inline constexpr int kPanelLeft = 8, kPanelTop = 10, kPanelWidth = 345, kPanelHeight = 48;

// In front-to-back order: the digits lie on the time display's frame.
std::span<const RecorderElement> RecorderElements();

// The element under (x, y) that the user can reach, or nullptr: the covering
// panel hides the top row, and a hidden switch answers nothing.
const RecorderElement* ReachableRecorderElement(int x, int y, bool panelInFront, bool switchVisible);
