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

// A registry failure is told and the item keeps its last known state: a
// switch the registry did not make must not show.
TEST(AutostartFailures, WarnAndKeepTheLastKnownState) {
    enum Failing { None, Read, Write, Delete };
    struct Row {
        const char* what;
        bool valueAtStart;
        Failing failing;
        int toggles;
        bool state;
        const char* caption;
        std::vector<std::string> warnings;
    };
    const std::string atStartup = kStartupRegistryWarning, atToggle = kToggleRegistryWarning;
    const Row rows[] = {
        {"an absent value reads off, silently", false, None, 0, false, "Activ\xE9", {}},
        {"an unreadable key is told and reads off", true, Read, 0, false, "Activ\xE9", {atStartup}},
        {"a refused write keeps the item off", false, Write, 1, false, "Activ\xE9", {atToggle}},
        {"a refused delete keeps the item on", true, Delete, 1, true, "Activ\xE9", {atToggle}},
        {"each refused delete is told, the item stays on", true, Delete, 2, true, "Activ\xE9", {atToggle, atToggle}},
        {"after switching off, a refused write keeps off and its caption", true, Write, 2, false, "Activer", {atToggle}},
    };
    for (const Row& row : rows) {
        Events events;
        FakeRunKey key{events};
        FakeFeedback feedback{events};
        Autostart autostart{key, feedback, "C:\\S.exe"};
        key.present = row.valueAtStart;
        key.failRead = row.failing == Read;
        key.failWrite = row.failing == Write;
        key.failDelete = row.failing == Delete;
        autostart.ReadAtStartup();
        for (int i = 0; i < row.toggles; ++i) autostart.Toggle();
        std::vector<std::string> warnings;
        for (const std::string& event : events)
            if (event.rfind("warning ", 0) == 0) warnings.push_back(event.substr(8));
        EXPECT_EQ(autostart.State(), row.state) << row.what;
        EXPECT_STREQ(autostart.Caption(), row.caption) << row.what;
        EXPECT_EQ(warnings, row.warnings) << row.what;
        if (row.failing != Read) EXPECT_EQ(autostart.State(), key.present) << row.what << ": the item shows the registry";
    }
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
