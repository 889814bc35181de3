// The recorder's keyboard, free of the platform: the controls that Tab
// reaches in each state of the window, what Enter and Esc do, and where the
// focus goes when a change takes the focused control away.
#pragma once
#include <vector>

#include "recorder/recorder_session.h"
#include "ui/tab_stops.h"

enum class RecorderKey { Enter, Escape };

struct RecorderKeyAct {
    int press = 0;      // the control the key presses; 0: none
    bool hide = false;  // the window hides

    bool operator==(const RecorderKeyAct&) const = default;
};

// Left to right, top to bottom: the help switch, then the panel's file
// choice, start/stop button and recordings folder.
std::vector<TabStop> RecorderTabStops(const RecorderDisplay& display);

// Enter presses the focused control (the window has no default one). Esc
// hides the window unless a recording runs or is being closed: only "Arrêter"
// or the countdown ends a recording, and Esc must not look as if it did.
RecorderKeyAct RecorderKeyAction(RecorderState state, const RecorderDisplay& display, int focused, RecorderKey key);

// The focused control while it is reachable, else the file choice, the next
// step after a recording (none while an MP3 is written: 0).
int RecorderFocusAfter(const RecorderDisplay& display, int focused);
