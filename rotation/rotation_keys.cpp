#include "rotation/rotation_keys.h"

using namespace rotation_controls;

std::vector<TabStop> RotationTabStops(bool canStart) {
    return {
        {kIntervalBar, false, true},   {kJingleCheck, false, true},  {kDurationBar, false, true},
        {kJingleChooser, true, true},  {kListenImage, true, true},   {kCancelButton, true, true},
        {kOkButton, true, canStart},
    };
}

int RotationKeyTarget(bool canStart, int focused, RotationKey key) {
    if (key == RotationKey::Escape) return kCancelButton;
    return EnterTarget(RotationTabStops(canStart), focused, kOkButton);
}
