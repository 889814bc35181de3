#include "audio/mute.h"

TVolumeController::TVolumeController(MixerDevice& mixer) : mixer_(mixer) {
    FindMuteControl();
    SetMute(false);
}

void TVolumeController::FindMuteControl() {
    opened_ = mixer_.Open();
    uint32_t lineId = 0, controlCount = 0;
    if (!opened_ || !mixer_.SpeakersLine(lineId, controlCount)) return;
    for (const MixerControlInfo& control : mixer_.LineControls(lineId, controlCount)) {
        if (control.controlType == kMixerControlTypeMute) {
            muteControl_ = control;
            return;
        }
    }
}

void TVolumeController::SetMute(bool mute) {
    mute_ = mute;
    if (HasMuteControl()) mixer_.SetBooleanControl(muteControl_.controlId, mute);
}
