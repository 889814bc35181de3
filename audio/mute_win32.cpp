#include "audio/mute_win32.h"

WinmmMixer::~WinmmMixer() {
    if (mixer_) ::mixerClose(mixer_);
}

bool WinmmMixer::Open() {
    return ::mixerOpen(&mixer_, 0, 0, 0, MIXER_OBJECTF_MIXER) == MMSYSERR_NOERROR && mixer_;
}

bool WinmmMixer::SpeakersLine(uint32_t& lineId, uint32_t& controlCount) {
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (::mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer_), &line,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
        return false;
    lineId = line.dwLineID;
    controlCount = line.cControls;
    return true;
}

std::vector<MixerControlInfo> WinmmMixer::LineControls(uint32_t lineId, uint32_t controlCount) {
    // The table is sized to the line's own count: a line with many controls
    // can never write past it.
    std::vector<MIXERCONTROLA> table(controlCount);
    std::vector<MixerControlInfo> controls;
    if (table.empty()) return controls;
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = lineId;
    query.cControls = controlCount;
    query.cbmxctrl = sizeof(MIXERCONTROLA);
    query.pamxctrl = table.data();
    if (::mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer_), &query,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
        return controls;
    for (const MIXERCONTROLA& c : table) controls.push_back({c.dwControlID, c.dwControlType});
    return controls;
}

void WinmmMixer::SetBooleanControl(uint32_t controlId, bool value) {
    MIXERCONTROLDETAILS_BOOLEAN state{value ? 1L : 0L};
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof state;
    details.paDetails = &state;
    lastSetResult_ = ::mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer_), &details,
                                              MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}
