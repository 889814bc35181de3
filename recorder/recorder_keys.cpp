#include "recorder/recorder_keys.h"

#include "recorder/recorder_window_layout.h"

namespace {
int IdOf(RecorderElementId id) { return static_cast<int>(id); }
}  // namespace

std::vector<TabStop> RecorderTabStops(const RecorderDisplay& display) {
    // The panel in front covers the top row while an MP3 is written.
    const bool panelRow = !display.encodingShown;
    return {
        {IdOf(RecorderElementId::Image30), true, display.switchVisible},
        {IdOf(RecorderElementId::Image14), true, panelRow},
        {kRecorderButtonId, true, display.buttonVisible && display.buttonEnabled},
        {IdOf(RecorderElementId::Image13), true, panelRow},
    };
}

RecorderKeyAct RecorderKeyAction(RecorderState state, const RecorderDisplay& display, int focused, RecorderKey key) {
    if (key == RecorderKey::Enter) return {EnterTarget(RecorderTabStops(display), focused, 0), false};
    return {0, state != RecorderState::Recording && state != RecorderState::Closing};
}

int RecorderFocusAfter(const RecorderDisplay& display, int focused) {
    return FocusAfterChange(RecorderTabStops(display), focused, IdOf(RecorderElementId::Image14));
}
