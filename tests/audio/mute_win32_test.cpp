// The mute with the real mixer of the bench's sound server.
#include "audio/mute_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Forwards to the real mixer and remembers what was sent.
class RecordingWinmmMixer : public WinmmMixer {
public:
    std::vector<std::pair<uint32_t, bool>> sets;
    std::vector<MMRESULT> results;
    void SetBooleanControl(uint32_t controlId, bool value) override {
        WinmmMixer::SetBooleanControl(controlId, value);
        sets.emplace_back(controlId, value);
        results.push_back(LastSetResult());
    }
};

TEST(WinmmMute, FindsTheSpeakersMuteAndSetsItOnAndOff) {
    if (::mixerGetNumDevs() == 0) GTEST_SKIP() << "no mixer (no sound server)";
    RecordingWinmmMixer mixer;
    TVolumeController controller(mixer);
    ASSERT_TRUE(controller.HasMuteControl());
    EXPECT_EQ(controller.MuteControl().controlType, 0x20010002u);
    controller.SetMute(true);
    controller.SetMute(false);
    const uint32_t id = controller.MuteControl().controlId;
    ASSERT_EQ(mixer.sets.size(), 3u);
    EXPECT_EQ(mixer.sets[0], std::make_pair(id, false));
    EXPECT_EQ(mixer.sets[1], std::make_pair(id, true));
    EXPECT_EQ(mixer.sets[2], std::make_pair(id, false));
    for (MMRESULT r : mixer.results) EXPECT_EQ(r, MMSYSERR_NOERROR);
}
}  // namespace
