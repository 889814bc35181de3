#include "playback/playback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/list/list_doubles.h"

namespace {
// Every call the playback makes, in order, as one text each.
using Calls = std::vector<std::string>;

class RecordingBrowser : public Browser {
public:
    Calls& calls;
    bool refuse = false;
    explicit RecordingBrowser(Calls& c) : calls(c) {}
    void Navigate(const std::string& address) override {
        if (refuse) throw BrowserError("refused");
        calls.push_back("navigate " + address);
    }
};

class FakeHost : public BrowserWindow {
public:
    Calls& calls;
    RecordingBrowser browser;
    explicit FakeHost(Calls& c) : calls(c), browser(c) {}
    void Show() override { calls.push_back("show host"); }
    void Hide() override { calls.push_back("hide host"); }
    Browser& FirstBrowser() override { return browser; }
};

class FakeIndicator : public PlaybackIndicator {
public:
    Calls& calls;
    explicit FakeIndicator(Calls& c) : calls(c) {}
    void SetHint(const std::string& hint) override { calls.push_back("hint " + hint); }
    void SetCycleIcons(bool cycle) override { calls.push_back(cycle ? "cycle on" : "cycle off"); }
    void SetIconIndex(int index) override { calls.push_back("icon " + std::to_string(index)); }
    void ShowWarningBalloon(const std::string& title, const std::string& text) override {
        calls.push_back("balloon " + title + " | " + text);
    }
};

class FakeMenu : public PlaybackMenu {
public:
    Calls& calls;
    explicit FakeMenu(Calls& c) : calls(c) {}
    void MakeDefault(int item) override { calls.push_back("default " + std::to_string(item)); }
    void ClearDefault() override { calls.push_back("clear default"); }
    void RebuildListMenu() override { calls.push_back("rebuild"); }
};

class PlaybackTest : public ::testing::Test {
protected:
    Calls calls;
    ProgramFolder folder{"C:\\Programme\\"};
    MemoryFileSystem files;
    FakeHost host{calls};
    FakeIndicator indicator{calls};
    FakeMenu menu{calls};
    Playback playback{folder, files, host, indicator, menu};
};

TEST(IsWebAddress, ClassifiesByCaseSensitivePrefix) {
    struct Row {
        const char* address;
        bool web;
    } rows[] = {
        {"http://radio/x.mp3", true},   {"https://radio/x.mp3", true}, {"\\\\serveur\\partage\\p.htm", true},
        {"www.radio.fr", true},         {"ftp://site/f", true},        {"ftp.site.fr", true},
        {"HTTP://radio/x.mp3", false},  {"Https://radio", false},      {"WWW.radio.fr", false},
        {"FTP.site", false},            {"", false},                   {"\\simple", false},
        {"jazz.htm", false},            {"http:/oops", false},         {"file:///C:\\x.htm", false},
        {" http://radio", false},
    };
    for (const Row& row : rows) EXPECT_EQ(IsWebAddress(row.address), row.web) << "address: \"" << row.address << '"';
}

TEST(PlaybackTexts, AreTheProgramsOwn) {
    EXPECT_EQ(LocalPageAddress(ProgramFolder("C:\\Programme\\"), "jazz.htm"), "file:///C:\\Programme\\Pages\\jazz.htm");
    EXPECT_EQ(LocalPageAddress(ProgramFolder("Z:\\a b\\"), "sous\\p.htm"), "file:///Z:\\a b\\Pages\\sous\\p.htm");
    EXPECT_EQ(PlayingHint("FIP"), "Sonoraflux - FIP");
    EXPECT_EQ(MissingPageText("Vide"),
              "Le fichier que vous souhaitez lire\rn'est pas (ou plus) disponible !\r"
              "Merci de v\xE9rifier la cible de :\r\rVide");
    EXPECT_EQ(std::string(kPlayErrorText), "Une erreur est survenue lors de\rl'ouverture du fichier demand\xE9 !");
}

TEST_F(PlaybackTest, WebAddressPlaysUnchangedAndMarksTheItem) {
    playback.PlayEntry(3, "FIP", "https://icecast/fip.mp3");
    EXPECT_EQ(calls, (Calls{"show host", "navigate https://icecast/fip.mp3", "hint Sonoraflux - FIP", "cycle on",
                            "default 3", "hide host", "rebuild"}));
}

TEST_F(PlaybackTest, LocalPagePlaysAsAFileAddressWhenItExists) {
    files.files["C:\\Programme\\Pages\\jazz.htm"] = "<html>";
    playback.PlayEntry(0, "Jazz du soir", "jazz.htm");
    EXPECT_EQ(calls, (Calls{"show host", "navigate file:///C:\\Programme\\Pages\\jazz.htm", "hint Sonoraflux - Jazz du soir",
                            "cycle on", "default 0", "hide host", "rebuild"}));
}

TEST_F(PlaybackTest, MissingPageWarnsWithTheTitleAndLeavesTheMarks) {
    playback.PlayEntry(2, "Vide", "");
    EXPECT_EQ(calls, (Calls{"show host", "balloon Sonoraflux - Ooops ! | " + MissingPageText("Vide"), "hide host",
                            "rebuild"}));
}

TEST_F(PlaybackTest, UpperCaseWebPrefixIsTakenForAMissingPage) {
    playback.PlayEntry(1, "Radio", "HTTP://radio");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1], "balloon Sonoraflux - Ooops ! | " + MissingPageText("Radio"));
}

TEST_F(PlaybackTest, RefusedNavigationWarnsAndChangesNothingElse) {
    host.browser.refuse = true;
    playback.PlayEntry(1, "FIP", "http://fip");
    EXPECT_EQ(calls, (Calls{"show host", std::string("balloon Sonoraflux - Ooops ! | ") + kPlayErrorText, "hide host",
                            "rebuild"}));
}

TEST_F(PlaybackTest, StopBlanksTheBrowserAndResetsTheIconEvenWhenIdle) {
    playback.StopPlayback();
    EXPECT_EQ(calls, (Calls{"navigate about:blank", "hint Sonoraflux", "cycle off", "icon 0", "clear default"}));
}

TEST_F(PlaybackTest, PlayingAnotherEntryMovesTheMark) {
    playback.PlayEntry(0, "A", "http://a");
    calls.clear();
    playback.PlayEntry(4, "B", "http://b");
    EXPECT_EQ(calls[2], "hint Sonoraflux - B");
    EXPECT_EQ(calls[4], "default 4");
}
}  // namespace
