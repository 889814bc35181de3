// The 8-point dialog font the windows' places were measured in. Where the
// system's font of that name is wider (no such font installed, a substitute
// drawn instead), the labels would be cut: a narrower face, then a smaller
// size, is taken instead, the first in which the window's texts fit.
#pragma once
#include <windows.h>

#include <functional>

#include "win/handles_win32.h"

// fits tells whether the window's texts fit in a candidate font; the usual
// face is returned when none fits. weight: FW_NORMAL, FW_BOLD...
UniqueFont DialogFontThatFits(const std::function<bool(HFONT)>& fits, int weight = FW_NORMAL);

// The same face and size as font, in another weight.
UniqueFont SameFontWithWeight(HFONT font, int weight);

// Width of one line of text, and height of the text word-wrapped to a width.
int TextWidth(HFONT font, const char* text);
int WrappedTextHeight(HFONT font, const char* text, int width);
