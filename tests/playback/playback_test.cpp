#include "playback/playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "playback/now_playing.h"
#include "tests/support/platform_doubles.h"
#include "tests/support/recording_browser.h"

namespace {
// Every call the playback makes, in order, as one text each.
using Calls = std::vector<std::string>;

class FakeHost : public BrowserWindow {
public:
    Calls& calls;
    RecordingBrowser browser;
    explicit FakeHost(Calls& c)
        : calls(c), browser([&c](const std::string& address) { c.push_back("navigate " + address); }) {}
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
    void ShowInfoBalloon(const std::string& title, const std::string& text) override {
        calls.push_back("info " + title + " | " + text);
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
class RecordingAsker : public StreamAsker, public PlaybackListener {
public:
    Calls& calls;
    explicit RecordingAsker(Calls& c) : calls(c) {}
    void Ask(const std::string& address, bool playlist) override {
        calls.push_back("ask " + address + (playlist ? " (playlist)" : ""));
    }
    void Abandon() override { calls.push_back("abandon"); }
    void PlayStarted(const std::string& title, const std::string& stream, bool playlist) override {
        calls.push_back("started " + title + " | " + stream + (playlist ? " (playlist)" : ""));
    }
    void PlayStopped() override { calls.push_back("stopped"); }
};

TEST_F(PlaybackTest, TellsWhichStreamCanBeAskedAboutOnceTheBrowserIsSent) {
    RecordingAsker listener(calls);
    playback.SetListener(&listener);
    files.files["C:\\Programme\\Pages\\jazz.htm"] = "<audio autoplay src=\"http://radio/jazz.mp3\"></audio>";
    files.files["C:\\Programme\\Pages\\tone.htm"] = "<audio autoplay src=\"tone.mp3\"></audio>";
    struct Row {
        const char* address;
        const char* told;
    } rows[] = {
        {"https://flux/fip.mp3", "started R | https://flux/fip.mp3"},
        {"http://radio/live.pls", "started R | http://radio/live.pls (playlist)"},
        {"https://www.radio.fr/ecouter.html", "started R | "},
        {"jazz.htm", "started R | http://radio/jazz.mp3"},
        {"tone.htm", "started R | "},
    };
    for (const Row& row : rows) {
        calls.clear();
        playback.PlayEntry(1, "R", row.address);
        ASSERT_EQ(calls.size(), 8u) << row.address;
        EXPECT_EQ(calls[5], row.told) << "after the navigation and the marks: " << row.address;
    }
    calls.clear();
    playback.PlayEntry(1, "R", "absent.htm");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "started R | "), 0) << "a missing page plays nothing";
    calls.clear();
    playback.StopPlayback();
    EXPECT_EQ(calls.front(), "stopped");
}

class NowPlayingTest : public ::testing::Test {
protected:
    Calls calls;
    RecordingAsker asker{calls};
    FakeIndicator indicator{calls};
    NowPlaying nowPlaying{asker, indicator};

    static StreamReport Song(const std::string& title) {
        StreamReport report;
        report.headers.status = 200;
        report.headers.contentType = "audio/mpeg";
        report.title = title;
        return report;
    }
    static StreamReport Failure(ProbeFailure failure, int status = 0) {
        StreamReport report;
        report.failure = failure;
        report.headers.status = status;
        return report;
    }
};

TEST_F(NowPlayingTest, ShowsTheSongInTheTooltipAndABalloonAtMostOnceAMinute) {
    nowPlaying.PlayStarted("FIP", "http://fip/live", false);
    struct Row {
        const char* title;
        std::uint64_t atMs;
        Calls expected;
    } rows[] = {
        {"A - Un", 1000, {"hint Sonoraflux - FIP\nA - Un", "info FIP | A - Un"}},
        {"A - Un", 5000, {}},
        {"B - Deux", 30000, {"hint Sonoraflux - FIP\nB - Deux"}},
        {"C - Trois", 61000, {"hint Sonoraflux - FIP\nC - Trois", "info FIP | C - Trois"}},
        {"", 200000, {"hint Sonoraflux - FIP"}},
        {"D - Quatre", 200500, {"hint Sonoraflux - FIP\nD - Quatre", "info FIP | D - Quatre"}},
    };
    for (const Row& row : rows) {
        calls.clear();
        nowPlaying.Answered(Song(row.title), row.atMs);
        EXPECT_EQ(calls, row.expected) << row.title << " at " << row.atMs;
    }
    EXPECT_EQ(nowPlaying.Song(), "D - Quatre");
    calls.clear();
    nowPlaying.Reask();
    EXPECT_EQ(calls, Calls{"ask http://fip/live"});
    nowPlaying.PlayStopped();
    calls.clear();
    nowPlaying.Answered(Song("E - Cinq"), 400000);
    nowPlaying.Reask();
    EXPECT_TRUE(calls.empty()) << "a late answer after the stop changes nothing";
    EXPECT_EQ(nowPlaying.Song(), "");
}

TEST_F(NowPlayingTest, AFirstAskThatFailsSaysWhyAndLaterFailuresStaySilent) {
    struct Row {
        StreamReport report;
        const char* balloon;
    } rows[] = {
        {Failure(ProbeFailure::kNameNotFound), "balloon FIP | La station ne r\xE9pond pas :\rson adresse est introuvable."},
        {Failure(ProbeFailure::kRefused), "balloon FIP | La station ne r\xE9pond pas :\rson serveur refuse la connexion."},
        {Failure(ProbeFailure::kHttpStatus, 503),
         "balloon FIP | La station ne r\xE9pond pas :\rson serveur r\xE9pond par l'erreur 503."},
        {Failure(ProbeFailure::kTimeOut), "balloon FIP | La station ne r\xE9pond pas :\rson serveur n'a pas r\xE9pondu \xE0 temps."},
        {[] {
             StreamReport ogg = Song("");
             ogg.headers.contentType = "application/ogg";
             return ogg;
         }(),
         "balloon FIP | Cette station diffuse au format application/ogg,\rque le navigateur ne sait pas lire."},
    };
    for (const Row& row : rows) {
        nowPlaying.PlayStarted("FIP", "http://fip/live", false);
        calls.clear();
        nowPlaying.Answered(row.report, 0);
        EXPECT_EQ(calls, Calls{row.balloon});
        calls.clear();
        nowPlaying.Answered(row.report, 90000);
        EXPECT_TRUE(calls.empty()) << "only the first ask of a play: " << row.balloon;
    }
}

TEST_F(NowPlayingTest, APlaylistIsFollowedToItsFirstStreamAndAnEntryWithoutStreamIsNotAsked) {
    nowPlaying.PlayStarted("Jazz", "http://radio/live.m3u", true);
    StreamReport playlist;
    playlist.playlistAddress = "http://radio/jazz.mp3";
    nowPlaying.Answered(playlist, 0);
    calls.clear();
    nowPlaying.Answered(Failure(ProbeFailure::kRefused), 10);
    nowPlaying.Reask();
    EXPECT_EQ(calls, (Calls{"balloon Jazz | La station ne r\xE9pond pas :\rson serveur refuse la connexion.",
                            "ask http://radio/jazz.mp3"}));
    nowPlaying.PlayStarted("Site", "https://www.radio.fr/", false);
    StreamReport webPage = Song("");
    webPage.headers.contentType = "text/html";
    nowPlaying.Answered(webPage, 0);
    calls.clear();
    nowPlaying.Reask();
    EXPECT_TRUE(calls.empty()) << "a web page is not asked again";
    nowPlaying.PlayStarted("Page", "", false);
    nowPlaying.Reask();
    EXPECT_EQ(calls, Calls{"abandon"}) << "the previous ask is let go, nothing new asked";
}

TEST(PlayingHintWithSong, FitsTheTraysTooltip) {
    EXPECT_EQ(PlayingHintWithSong("FIP", ""), "Sonoraflux - FIP");
    const std::string hint = PlayingHintWithSong("FIP", std::string(300, 's'));
    EXPECT_EQ(hint.size(), kTrayTipLength);
    EXPECT_EQ(hint.substr(0, 17), "Sonoraflux - FIP\n");
    EXPECT_EQ(PlayingHintWithSong(std::string(130, 't'), "x"), PlayingHint(std::string(130, 't')));
}
TEST(PlayerPage, HoldsOnlyAWebAddressEscapedInAPageOfTheInternetZone) {
    const std::string page = PlayerPage("http://r.fr/a?x=1&y=\"2\"<b>'c'");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n<!-- saved from url=(0014)about:internet -->\r\n", 0), 0u) << page;
    EXPECT_NE(page.find("<audio autoplay src=\"http://r.fr/a?x=1&amp;y=&quot;2&quot;&lt;b&gt;&#39;c&#39;\"></audio>"),
              std::string::npos)
        << page;
    for (const char* refused : {"file:///C:/x.mp3", "javascript:alert(1)", "\\\\serveur\\x.mp3", "http://r.fr/\r\n<script>",
                                "", "http://"})
        EXPECT_EQ(PlayerPage(refused), "") << refused;
    EXPECT_NE(PlayerPage("HTTPS://r.fr/live"), "");
}

class RecordingWait : public AnswerWait {
public:
    Calls& calls;
    explicit RecordingWait(Calls& c) : calls(c) {}
    void Start(unsigned ms) override { calls.push_back("wait " + std::to_string(ms)); }
    void Cancel() override { calls.push_back("cancel wait"); }
};

class PendingPlayTest : public PlaybackTest {
protected:
    void SetUp() override {
        playback.SetListener(&listener);
        playback.SetPlayerPage(kPage, wait);
    }
    static StreamReport Answer(const char* contentType, const char* playlistAddress = "") {
        StreamReport report;
        report.headers.status = 200;
        report.headers.contentType = contentType;
        report.playlistAddress = playlistAddress;
        return report;
    }
    const std::string kPage = "C:\\Temp\\Sonoraflux-lecteur.htm";
    RecordingAsker listener{calls};
    RecordingWait wait{calls};
};

TEST_F(PendingPlayTest, AStreamIsNavigatedOnceItsFirstAnswerTellsWhatItIs) {
    StreamReport failed;
    failed.failure = ProbeFailure::kRefused;
    struct Row {
        const char* address;
        std::optional<StreamReport> answer;
        const char* navigated;
        const char* inPage;
    } rows[] = {
        {"http://r.fr/live", Answer("audio/mpeg"), "file:///C:\\Temp\\Sonoraflux-lecteur.htm", "http://r.fr/live"},
        {"http://r.fr/live", Answer("application/ogg"), "file:///C:\\Temp\\Sonoraflux-lecteur.htm", "http://r.fr/live"},
        {"http://r.fr/l.m3u", Answer("audio/x-mpegurl", "https://r.fr/s"), "file:///C:\\Temp\\Sonoraflux-lecteur.htm",
         "https://r.fr/s"},
        {"http://r.fr/", Answer("text/html"), "http://r.fr/", nullptr},
        {"http://r.fr/live.mp3", failed, "http://r.fr/live.mp3", nullptr},
        {"http://r.fr/live.mp3", std::nullopt, "file:///C:\\Temp\\Sonoraflux-lecteur.htm", "http://r.fr/live.mp3"},
        {"http://r.fr/live", std::nullopt, "http://r.fr/live", nullptr},
    };
    for (const Row& row : rows) {
        calls.clear();
        files.files.erase(kPage);
        playback.PlayEntry(2, "R", row.address);
        EXPECT_EQ(calls, (Calls{"started R | " + std::string(row.address) +
                                    (std::string(row.address).find(".m3u") != std::string::npos ? " (playlist)" : ""),
                                "wait 3000"}))
            << "nothing changes before the answer: " << row.address;
        calls.clear();
        playback.FirstAnswer(row.answer ? &*row.answer : nullptr);
        EXPECT_EQ(calls, (Calls{"cancel wait", "show host", std::string("navigate ") + row.navigated,
                                "hint Sonoraflux - R", "cycle on", "default 2", "hide host", "rebuild"}))
            << row.address;
        EXPECT_EQ(files.files.count(kPage), row.inPage ? 1u : 0u) << row.address;
        if (row.inPage) {
            EXPECT_NE(files.files[kPage].find(std::string("src=\"") + row.inPage + "\""), std::string::npos);
        }
    }
}

TEST_F(PendingPlayTest, AStopOrAnotherChoiceDuringTheWaitDropsThePendingNavigation) {
    playback.PlayEntry(0, "A", "http://a.fr/live");
    calls.clear();
    playback.StopPlayback();
    EXPECT_EQ(calls.front(), "cancel wait");
    calls.clear();
    const StreamReport audio = Answer("audio/mpeg");
    playback.FirstAnswer(&audio);
    EXPECT_TRUE(calls.empty()) << "a late answer after the stop navigates nothing";

    playback.PlayEntry(0, "A", "http://a.fr/live");
    playback.PlayEntry(1, "B", "http://b.fr/live");
    playback.FirstAnswer(nullptr);
    calls.clear();
    playback.FirstAnswer(&audio);
    EXPECT_TRUE(calls.empty()) << "one navigation per choice";
    files.failReplace = true;
    playback.PlayEntry(3, "C", "http://c.fr/live");
    calls.clear();
    playback.FirstAnswer(&audio);
    EXPECT_EQ(calls, (Calls{"cancel wait", "show host", std::string("balloon Sonoraflux - Ooops ! | ") + kPlayErrorText,
                            "hide host", "rebuild"}))
        << "a player page that cannot be written";
}
}  // namespace
