// The mixer through winmm: mixer 0, its speakers destination line, its controls.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "audio/mute.h"

class WinmmMixer : public MixerDevice {
public:
    WinmmMixer() = default;
    WinmmMixer(const WinmmMixer&) = delete;
    WinmmMixer& operator=(const WinmmMixer&) = delete;
    ~WinmmMixer() override;

    bool Open() override;
    bool SpeakersLine(uint32_t& lineId, uint32_t& controlCount) override;
    std::vector<MixerControlInfo> LineControls(uint32_t lineId, uint32_t controlCount) override;
    void SetBooleanControl(uint32_t controlId, bool value) override;

    // Result of the last mixerSetControlDetails (MMSYSERR_NOERROR on success).
    MMRESULT LastSetResult() const { return lastSetResult_; }

private:
    HMIXER mixer_ = nullptr;
    MMRESULT lastSetResult_ = MMSYSERR_NOERROR;
};
