// The recorder window's elements that have a help balloon: their control ids
// (stable, and the keys of their balloons), places in client pixels, hints,
// balloon titles and title pictures, and which of them are clickable.
#pragma once
#include <span>

// "Démarrer" / "Arrêter". Not IDOK (1): the dialog keys send IDOK for Enter
// where the window names no default control.
inline constexpr int kRecorderButtonId = 1400;

enum class RecorderElementId : int {
    Image14 = 1401,  // file choice
    Shape4,          // frame of the time display
    Label19,         // minutes
    Label20,         // seconds
    Image12,         // decoration
    BmpAnimator1,    // recording indicator
    Image13,         // recordings folder
    Image30,         // help-balloon switch
};

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

// Back to front: the digits lie on the time display's frame.
std::span<const RecorderElement> RecorderElements();
const RecorderElement& RecorderElementOf(RecorderElementId id);
