// The real program, started from a private copy of its folder, watched from
// outside: single copy, start-up order, the autostart state, shutdown.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/app/program_driver.h"
#include "tests/support/wine_support.h"

using namespace program_driver;

namespace {
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = wine_support::CopyProgramFolder();
        ASSERT_FALSE(folder.empty()) << "program folder not staged";
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux");
        WaitForNoBalloon();
        iconsBefore = CountTrayIcons();
    }
    void TearDown() override { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux"); }

    // A balloon of an earlier program must be gone before the next one starts,
    // or it would be taken for the new one's ready notice.
    static void WaitForNoBalloon() { wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 15000); }

    bool WaitUntilReady(RunningProgram& program) {
        return program.WaitForMainWindow(20000) &&
               wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000);
    }

    static std::string RunValue() {
        char data[1024] = {};
        DWORD size = sizeof data;
        if (::RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux", RRF_RT_REG_SZ, nullptr, data, &size) !=
            ERROR_SUCCESS)
            return "<absent>";
        return data;
    }

    // Opens the tray menu as the shell does on a right button press and
    // chooses the autostart item (the sixth) with the keyboard.
    void ChooseAutostartItem(RunningProgram& program) {
        program.SendTrayMouse(WM_RBUTTONDOWN);
        program.SendTrayMouse(WM_RBUTTONUP);
        wine_support::PumpFor(800);
        ASSERT_TRUE(PressKeys("Down Down Down Down Down Down Return"));
    }

    std::string folder;
    int iconsBefore = 0;
};

TEST_F(ProgramTest, SecondCopyEndsSilentlyWhileTheFirstRuns) {
    RunningProgram first(folder);
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitUntilReady(first));
    EXPECT_EQ(CountTrayIcons(), iconsBefore + 1);

    RunningProgram second(folder);
    ASSERT_TRUE(second.Started());
    DWORD code = 0x55555555;
    ASSERT_TRUE(second.WaitForExit(10000, &code)) << "the second copy still runs";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CountProcessWindows(second.Pid(), "SonorafluxMainWindow"), 0);
    EXPECT_EQ(CountProcessWindows(second.Pid(), "#32770"), 0);
    EXPECT_EQ(CountTrayIcons(), iconsBefore + 1);
    EXPECT_NE(first.MainWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(first.MainWindow())) << "no window is visible after start-up";
}

TEST_F(ProgramTest, MissingListFileShowsTheMessageBeforeTheReadyBalloon) {
    ASSERT_TRUE(::DeleteFileA((folder + "Sonoraflux.ini").c_str()));
    RunningProgram program(folder);
    HWND box = nullptr;
    ASSERT_TRUE(wine_support::PumpUntil(
        [&] { return (box = FindProcessWindow(program.Pid(), "#32770", "Sonoraflux")) != nullptr; }, 20000));
    EXPECT_EQ(MessageBoxText(box), "Impossible de trouver la liste des flumens !");
    wine_support::PumpFor(1500);
    EXPECT_EQ(VisibleBalloon(), nullptr) << "the balloon waits for the message box";

    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND balloon = nullptr;
    ASSERT_TRUE(wine_support::PumpUntil([&] { return (balloon = VisibleBalloon()) != nullptr; }, 10000));
    wine_support::PumpFor(500);
    EXPECT_FALSE(wine_support::SaveScreenshot("tray-ready.png").empty());
    RECT area{};
    ::GetWindowRect(balloon, &area);
    const std::string text = ReadScreenText(area);
    if (!text.empty()) {
        EXPECT_NE(text.find("logiciel est pr"), std::string::npos) << "read: " << text;
    }
}

TEST_F(ProgramTest, AutostartStateIsReadFromTheRunValue) {
    // On at start: the item switches it off, deleting the value.
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux", REG_SZ, "x", 2), ERROR_SUCCESS);
    {
        RunningProgram program(folder);
        ASSERT_TRUE(WaitUntilReady(program));
        ChooseAutostartItem(program);
        EXPECT_TRUE(wine_support::PumpUntil([] { return RunValue() == "<absent>"; }, 5000)) << RunValue();
        PressKeys("Escape");
    }
    // Off at start: the item switches it on, writing the executable's path.
    WaitForNoBalloon();
    {
        RunningProgram program(folder);
        ASSERT_TRUE(WaitUntilReady(program));
        ChooseAutostartItem(program);
        EXPECT_TRUE(wine_support::PumpUntil([] { return RunValue() != "<absent>"; }, 5000));
        std::string expected = folder + "Sonoraflux.exe";
        if (expected.find(' ') != std::string::npos) expected = "\"" + expected + "\"";
        EXPECT_EQ(RunValue(), expected);
        wine_support::PumpFor(800);
        EXPECT_FALSE(wine_support::SaveScreenshot("menu-autostart-on.png").empty());
        PressKeys("Escape");
    }
}

TEST_F(ProgramTest, ClosingTheMainWindowEndsTheProgramAndRemovesTheIcon) {
    RunningProgram program(folder);
    ASSERT_TRUE(WaitUntilReady(program));
    ASSERT_EQ(CountTrayIcons(), iconsBefore + 1);
    ::PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    DWORD code = 0x55555555;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return CountTrayIcons() == iconsBefore; }, 5000));
}

TEST_F(ProgramTest, QuitterEndsTheProgram) {
    RunningProgram program(folder);
    ASSERT_TRUE(WaitUntilReady(program));
    program.SendTrayMouse(WM_RBUTTONDOWN);
    program.SendTrayMouse(WM_RBUTTONUP);
    wine_support::PumpFor(800);
    ASSERT_TRUE(PressKeys("Up Return"));
    ASSERT_TRUE(program.WaitForExit(10000));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return CountTrayIcons() == iconsBefore; }, 5000));
}
}  // namespace
