// The real Sonoraflux.exe playing entries whose streams a loopback server
// serves: what the user sees of the song and of a station that does not
// answer, read on the screen, and a quit while a server keeps silent.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "recorder/recorder_window_layout.h"
#include "tests/app/program_fixture.h"
#include "tests/stream/stream_server_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

using namespace program_driver;

namespace {
class StreamJourneyTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        if (!server.Up()) GTEST_SKIP() << "the stream server did not start (python3)";
        ProgramFolderTest::SetUp();
    }

    // Starts the program with one entry and plays it once the ready notice is gone.
    void PlayOnly(const std::string& title, const std::string& path) {
        Start(title + ";" + server.Address(path) + ";;1\r\n");
        ASSERT_TRUE(wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 20000));
        ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", title}));
    }

    // The text of the balloon that shows next, read on the screen; a screenshot is kept.
    std::string NextBalloonText(const char* shot) {
        HWND balloon = nullptr;
        if (!wine_support::PumpUntil([&] { return (balloon = VisibleBalloon()) != nullptr; }, 20000)) return "<none>";
        wine_support::PumpFor(500);
        EXPECT_FALSE(wine_support::SaveScreenshot(shot).empty());
        RECT area{};
        ::GetWindowRect(balloon, &area);
        return ReadScreenText(area);
    }

    // A request for path carried the probe's header (the hidden browser asks
    // for the same address without it).
    bool ProbedFor(const std::string& path) const {
        const std::string log = server.Log();
        for (size_t at = log.find("> GET " + path + " "); at != std::string::npos;
             at = log.find("> GET " + path + " ", at + 1)) {
            const size_t next = log.find("> GET ", at + 1);
            if (log.substr(at, next - at).find("> Icy-MetaData: 1\n") != std::string::npos) return true;
        }
        return false;
    }

    StreamServer server;
};

std::string PlayerPageText() {
    char folder[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof folder, folder);
    std::string page;
    wine_support::ReadFileBytes(std::string(folder) + "Sonoraflux-lecteur.htm", page);
    return page;
}

TEST_F(StreamJourneyTest, TheSongShowsInABalloonAndInTheTooltip) {
    constexpr const char* kEmulation =
        "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kEmulation, "Sonoraflux.exe");
    PlayOnly("Jazz du soir", "/icy?canal=1&format=mp3");
    DWORD mode = 0, size = sizeof mode;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kEmulation, "Sonoraflux.exe", RRF_RT_REG_DWORD, nullptr, &mode, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(mode, 11000u) << "the browser's modern document mode";
    EXPECT_TRUE(wine_support::PumpUntil(
        [&] {
            return PlayerPageText().find("<audio autoplay src=\"" + server.Address("/icy?canal=1&amp;format=mp3") +
                                         "\"></audio>") != std::string::npos;
        },
        5000))
        << "the stream plays through the player page: " << PlayerPageText();
    const std::string balloon = NextBalloonText("stream-song-balloon.png");
    EXPECT_NE(balloon.find("Jazz du soir"), std::string::npos) << balloon;
    EXPECT_NE(balloon.find("vu"), std::string::npos) << balloon;
    EXPECT_TRUE(ProbedFor("/icy?canal=1&format=mp3")) << server.Log();

    ASSERT_TRUE(wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 20000));
    RECT icon{};
    ASSERT_TRUE(TrayIconRect(icon));
    ClickAt({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}, 0);
    const std::string tooltip = NextBalloonText("stream-song-tooltip.png");
    ParkPointer();
    EXPECT_NE(tooltip.find("Sonoraflux - Jazz du soir"), std::string::npos) << tooltip;
    EXPECT_NE(tooltip.find("vu"), std::string::npos) << "the song on the second line: " << tooltip;

    // Then the recorder's save dialog proposes the song as the file's name.
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Enregistrer..."}));
    HWND recorder = nullptr;
    ASSERT_TRUE(wine_support::PumpUntil(
        [&] { return (recorder = FindProcessWindow(program->Pid(), "SonorafluxRecorderWindow")) && ::IsWindowVisible(recorder); },
        5000));
    RECT image{};
    ASSERT_TRUE(::GetWindowRect(::GetDlgItem(recorder, static_cast<int>(RecorderElementId::Image14)), &image));
    wine_support::BoxScript saveDialog{wine_support::BoxOwner::Process(program->Pid()), nullptr, wine_support::kLeaveOpen};
    ASSERT_TRUE(ClickAt({(image.left + image.right) / 2, (image.top + image.bottom) / 2}, 1));
    ASSERT_TRUE(saveDialog.WaitForBoxes(1, 10000));
    HWND dialog = saveDialog.Boxes()[0].window;
    wine_support::PumpFor(500);
    char name[MAX_PATH] = {};
    HWND nameBox = ::GetDlgItem(dialog, 0x47c);  // the file-name combo box (cmb13)
    ::SendMessageA(nameBox ? nameBox : ::GetDlgItem(dialog, 0x480), WM_GETTEXT, sizeof name, reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(std::string(name).rfind("Beyonc\xE9 - D\xE9j\xE0 vu ", 0), 0u) << name;
    EXPECT_NE(std::string(name).find(".mp3"), std::string::npos) << name;
    EXPECT_FALSE(wine_support::SaveScreenshot("stream-save-dialog-song.png").empty());
    PressKeys("Escape");
}

TEST_F(StreamJourneyTest, AStationThatAnswers404SaysItDoesNotAnswer) {
    PlayOnly("Station morte", "/missing");
    const std::string balloon = NextBalloonText("stream-dead-station-balloon.png");
    EXPECT_NE(balloon.find("Station morte"), std::string::npos) << balloon;
    // Words the OCR reads reliably in Wine's balloon font.
    EXPECT_NE(balloon.find("pond pas"), std::string::npos) << balloon;
    EXPECT_NE(balloon.find("serveur"), std::string::npos) << balloon;
    EXPECT_NE(balloon.find("erreur"), std::string::npos) << balloon;
}

// Wine takes about two seconds to end the program from the menu, probe or no
// probe: what a silent server's probe may add to that is under a second.
TEST_F(StreamJourneyTest, QuittingWhileASilentServerIsAskedTakesUnderASecondMore) {
    const auto quitTime = [&] {
        EXPECT_TRUE(ChooseTrayMenuItem(*program, {"Quitter"}));
        const DWORD start = ::GetTickCount();
        EXPECT_TRUE(program->WaitForExit(10000));
        return ::GetTickCount() - start;
    };
    PlayOnly("Station morte", "/missing");
    wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000);
    const DWORD withNoProbe = quitTime();

    PlayOnly("Silence", "/silent");
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ProbedFor("/silent"); }, 10000))
        << "the probe is waiting for the silent server";
    const DWORD withSilentProbe = quitTime();
    std::printf("quit: %lu ms with no probe, %lu ms during a silent probe\n", withNoProbe, withSilentProbe);
    EXPECT_LT(withSilentProbe, withNoProbe + 1000);
}
}  // namespace
