// The rotation window's controls and its keyboard, free of the platform: the
// controls that Tab reaches, in reading order, and what Enter and Esc press.
#pragma once
#include <vector>

#include "ui/tab_stops.h"

namespace rotation_controls {
// The controls, by the ids they carry; the ids double as help-balloon keys,
// in a range of their own.
enum ControlId : int {
    kRotationGroup = 1301,  // GroupBox2
    kClockPicture,         // Image9
    kIntervalBar,          // TrackBar1
    kIntervalValue,        // Label14
    kIntervalUnit,         // Label15
    kBalloonSwitch,        // Image3
    kTransitionGroup,      // GroupBox1
    kJingleCheck,          // CheckBox1
    kDurationBar,          // TrackBar2
    kDurationValue,        // Label4
    kDurationUnit,         // Label5
    kJingleLabel,          // Label2
    kJingleChooser,        // Image1
    kListenImage,          // Image11
    kChosenJingle,         // Label6
    kNotice,               // Label1
    kSeparator,            // Bevel1
    kCancelButton,         // Button2
    kOkButton,             // Button1
};
}  // namespace rotation_controls

enum class RotationKey { Enter, Escape };

// The interval, the jingle check box and the duration, the jingle's chooser
// and listen pictures, then "Annuler" and "OK" (reachable once a jingle is
// chosen). The help switch does nothing when clicked: it is no stop.
std::vector<TabStop> RotationTabStops(bool canStart);

// The control the key presses (0: none): Enter the focused button or
// picture, elsewhere "OK"; Esc "Annuler".
int RotationKeyTarget(bool canStart, int focused, RotationKey key);
