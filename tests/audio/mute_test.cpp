#include "audio/mute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class ScriptedMixer : public MixerDevice {
public:
    bool hasMixer = true, hasLine = true;
    std::vector<MixerControlInfo> controls;
    std::vector<std::string> sets;
    uint32_t askedCount = 0;

    bool Open() override { return hasMixer; }
    bool SpeakersLine(uint32_t& lineId, uint32_t& controlCount) override {
        if (!hasLine) return false;
        lineId = 7;
        controlCount = static_cast<uint32_t>(controls.size());
        return true;
    }
    std::vector<MixerControlInfo> LineControls(uint32_t lineId, uint32_t controlCount) override {
        EXPECT_EQ(lineId, 7u);
        askedCount = controlCount;
        return controls;
    }
    void SetBooleanControl(uint32_t controlId, bool value) override {
        sets.push_back(std::to_string(controlId) + "=" + (value ? "1" : "0"));
    }
};

constexpr uint32_t kVolume = 0x50030001;

TEST(VolumeController, UnmutesAtCreationAndFollowsMute) {
    ScriptedMixer mixer;
    mixer.controls = {{1, kVolume}, {2, kMixerControlTypeMute}};
    TVolumeController controller(mixer);
    controller.SetMute(true);
    controller.SetMute(false);
    EXPECT_EQ(mixer.sets, (std::vector<std::string>{"2=0", "2=1", "2=0"}));
    EXPECT_EQ(mixer.askedCount, 2u);
}

TEST(VolumeController, TakesTheFirstMuteControlWhereverItIsListed) {
    ScriptedMixer mixer;
    for (uint32_t id = 10; id < 50; ++id) mixer.controls.push_back({id, kVolume});
    mixer.controls.push_back({60, kMixerControlTypeMute});
    mixer.controls.push_back({61, kMixerControlTypeMute});
    TVolumeController controller(mixer);
    EXPECT_EQ(controller.MuteControl().controlId, 60u);
    EXPECT_EQ(mixer.askedCount, 42u) << "the whole line is asked for, past 31 controls";
}

TEST(VolumeController, WithoutMixerLineOrControlOnlyRecordsTheValue) {
    for (int missing = 0; missing < 3; ++missing) {
        ScriptedMixer mixer;
        mixer.hasMixer = missing != 0;
        mixer.hasLine = missing != 1;
        mixer.controls = {{1, kVolume}};
        TVolumeController controller(mixer);
        controller.SetMute(true);
        EXPECT_TRUE(controller.Mute());
        EXPECT_FALSE(controller.HasMuteControl());
        EXPECT_TRUE(mixer.sets.empty()) << "case " << missing;
    }
}
}  // namespace
