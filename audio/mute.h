// The master mute: the first MUTE control of the speakers line on the first
// mixer. Nothing is reported when there is no mixer, line or control: setting
// Mute then only records the value.
#pragma once
#include <cstdint>
#include <vector>

inline constexpr uint32_t kMixerControlTypeMute = 0x20010002;

struct MixerControlInfo {
    uint32_t controlId = 0;
    uint32_t controlType = 0;
};

// The mixer calls the mute needs; results are reported, not thrown.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;
    // Opens the first mixer; false when there is none.
    virtual bool Open() = 0;
    // The speakers destination line: its id and its number of controls.
    virtual bool SpeakersLine(uint32_t& lineId, uint32_t& controlCount) = 0;
    // All controls of the line (at most controlCount of them).
    virtual std::vector<MixerControlInfo> LineControls(uint32_t lineId, uint32_t controlCount) = 0;
    // One boolean value for all channels of the control.
    virtual void SetBooleanControl(uint32_t controlId, bool value) = 0;
};

class TVolumeController {
public:
    // Finds the mute switch, then unmutes: the program always starts unmuted.
    explicit TVolumeController(MixerDevice& mixer);

    bool Mute() const { return mute_; }
    void SetMute(bool mute);

    bool HasMuteControl() const { return muteControl_.controlType == kMixerControlTypeMute; }
    const MixerControlInfo& MuteControl() const { return muteControl_; }

private:
    void FindMuteControl();

    MixerDevice& mixer_;
    bool opened_ = false;
    MixerControlInfo muteControl_;
    bool mute_ = false;
};
