#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/autostart.h"
#include "tray/mute_toggle.h"

namespace {
using Events = std::vector<std::string>;

class FakeRunKey : public RunKey {
public:
    Events& events;
    bool present = false;
    bool failRead = false, failWrite = false, failDelete = false;
    std::string data;
    explicit FakeRunKey(Events& e) : events(e) {}
    bool HasValue() override {
        if (failRead) throw RegistryError("read");
        return present;
    }
    void SetValue(const std::string& d) override {
        if (failWrite) throw RegistryError("write");
        events.push_back("set " + d);
        present = true;
        data = d;
    }
    void DeleteValue() override {
        if (failDelete) throw RegistryError("delete");
        events.push_back("delete");
        present = false;
    }
};

class FakeFeedback : public AutostartFeedback {
public:
    Events& events;
    explicit FakeFeedback(Events& e) : events(e) {}
    void MakeSound(SystemSound sound) override {
        events.push_back(sound == SystemSound::Default ? "beep default" : sound == SystemSound::Information ? "beep info" : "beep error");
    }
    void ShowWarning(const std::string& text) override { events.push_back("warning " + text); }
};

class AutostartTest : public ::testing::Test {
protected:
    Events events;
    FakeRunKey key{events};
    FakeFeedback feedback{events};
    Autostart autostart{key, feedback, "C:\\Sonoraflux\\Sonoraflux.exe"};
};

TEST(RunValueFor, QuotesOnlyPathsWithSpaces) {
    EXPECT_EQ(RunValueFor("C:\\Sonoraflux\\Sonoraflux.exe"), "C:\\Sonoraflux\\Sonoraflux.exe");
    EXPECT_EQ(RunValueFor("C:\\Program Files\\Sonoraflux\\Sonoraflux.exe"),
              "\"C:\\Program Files\\Sonoraflux\\Sonoraflux.exe\"");
}

TEST_F(AutostartTest, StartupStateFollowsTheValue) {
    autostart.ReadAtStartup();
    EXPECT_FALSE(autostart.State());
    key.present = true;
    autostart.ReadAtStartup();
    EXPECT_TRUE(autostart.State());
    EXPECT_STREQ(autostart.Caption(), "Activ\xE9");
    EXPECT_TRUE(events.empty());
}

TEST_F(AutostartTest, StartupRegistryFailureBeepsWarnsAndStaysOff) {
    key.present = true;
    key.failRead = true;
    autostart.ReadAtStartup();
    EXPECT_FALSE(autostart.State());
    EXPECT_EQ(events, (Events{"beep error", std::string("warning ") + kStartupRegistryWarning}));
}

TEST_F(AutostartTest, SwitchingOnAndOffWithSuccess) {
    autostart.Toggle();
    EXPECT_EQ(events, (Events{"set C:\\Sonoraflux\\Sonoraflux.exe", "beep info", "beep info"}));
    EXPECT_TRUE(autostart.State());
    EXPECT_STREQ(autostart.Caption(), "Activ\xE9");
    events.clear();
    autostart.Toggle();
    EXPECT_EQ(events, (Events{"delete", "beep info"}));
    EXPECT_FALSE(autostart.State());
    EXPECT_STREQ(autostart.Caption(), "Activer");
}

TEST_F(AutostartTest, FailedSwitchStillFlipsTheStateAfterTheWarning) {
    key.failWrite = true;
    autostart.Toggle();
    EXPECT_EQ(events, (Events{"beep error", std::string("warning ") + kToggleRegistryWarning, "beep info"}));
    EXPECT_TRUE(autostart.State());
    events.clear();
    key.failDelete = true;
    autostart.Toggle();
    EXPECT_EQ(events, (Events{"beep default", std::string("warning ") + kToggleRegistryWarning, "beep info"}));
    EXPECT_FALSE(autostart.State());
    EXPECT_STREQ(autostart.Caption(), "Activer");
}

TEST(RegistryWarnings, AreTheProgramsTexts) {
    EXPECT_EQ(std::string(kToggleRegistryWarning),
              "Ooops ! Un probl\xE8me est survenu au cours de l'utilisation de votre base\r\nde registre ! "
              "L'op\xE9ration demand\xE9" "e n'a peut-\xEAtre pas \xE9t\xE9 effectu\xE9" "e !");
    EXPECT_EQ(std::string(kStartupRegistryWarning),
              "Ooops ! Un probl\xE8me est survenu au cours de l'utilisation de votre base de registre !\r\n"
              "Si demand\xE9" "e, l'ex\xE9" "cution de Sonoraflux au d\xE9marrage est peut-\xEAtre annul\xE9" "e.");
}

class RecordingMute : public MuteSwitch, public TrayImageSets {
public:
    Events events;
    void SetMute(bool mute) override { events.push_back(mute ? "mute" : "unmute"); }
    void UseMutedSet(bool muted) override { events.push_back(muted ? "muted set" : "normal set"); }
};

TEST(MuteToggle, FirstClickMutesAndTheNextUnmutes) {
    RecordingMute r;
    MuteToggle toggle(r, r);
    EXPECT_FALSE(toggle.MuteState());
    toggle.Toggle();
    toggle.Toggle();
    EXPECT_FALSE(toggle.MuteState());
    EXPECT_EQ(r.events, (Events{"muted set", "mute", "normal set", "unmute"}));
}
}  // namespace
