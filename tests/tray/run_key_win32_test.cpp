// The Run value in the real registry (a scratch key stands in for the Run key
// where a failure has to be provoked).
#include "tray/autostart_win32.h"

#include <gtest/gtest.h>

namespace {
std::string ReadRunValue(DWORD& type) {
    char data[1024] = {};
    DWORD size = sizeof data;
    type = 0x55555555;
    if (::RegGetValueA(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "<absent>";
    return data;
}

class RecordingFeedback : public AutostartFeedback {
public:
    std::vector<SystemSound> beeps;
    std::vector<std::string> warnings;
    void MakeSound(SystemSound sound) override { beeps.push_back(sound); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
};

TEST(Win32RunKey, SwitchingOnWritesTheQuotedPathAndOffDeletesIt) {
    Win32RunKey key;
    key.DeleteValue();
    RecordingFeedback feedback;
    Autostart autostart(key, feedback, "C:\\Program Files\\Sonoraflux\\Sonoraflux.exe");
    autostart.ReadAtStartup();
    EXPECT_FALSE(autostart.State());
    autostart.Toggle();
    DWORD type = 0;
    EXPECT_EQ(ReadRunValue(type), "\"C:\\Program Files\\Sonoraflux\\Sonoraflux.exe\"");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(key.HasValue());
    autostart.Toggle();
    EXPECT_EQ(ReadRunValue(type), "<absent>");
    EXPECT_FALSE(key.HasValue());
    autostart.Toggle();
    autostart.Toggle();
    EXPECT_TRUE(feedback.warnings.empty());
}

TEST(Win32RunKey, DeletingAMissingValueIsNoError) {
    Win32RunKey key;
    key.DeleteValue();
    EXPECT_NO_THROW(key.DeleteValue());
    EXPECT_FALSE(key.HasValue());
}

TEST(Win32RunKey, AKeyThatCannotBeOpenedFailsTheSwitchOnly) {
    Win32RunKey missing(HKEY_CURRENT_USER, "Software\\Sonoraflux-tests\\no such key");
    EXPECT_FALSE(missing.HasValue());
    EXPECT_NO_THROW(missing.DeleteValue());
    EXPECT_THROW(missing.SetValue("x"), RegistryError);
    RecordingFeedback feedback;
    Autostart autostart(missing, feedback, "C:\\S\\Sonoraflux.exe");
    autostart.Toggle();
    EXPECT_TRUE(autostart.State()) << "the state flips all the same";
    EXPECT_STREQ(autostart.Caption(), "Activ\xE9");
    ASSERT_EQ(feedback.warnings.size(), 1u);
    EXPECT_EQ(feedback.warnings[0], kToggleRegistryWarning);
    EXPECT_EQ(feedback.beeps, (std::vector<SystemSound>{SystemSound::Error, SystemSound::Information}));
}
}  // namespace
