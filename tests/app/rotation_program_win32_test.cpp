// The real program, driven from outside: "Permuter...", a jingle chosen in the
// open dialog, "OK" by the Enter key, and the list's second entry requested
// from a loopback web server 9 s later, through the program's own menu path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "rotation/rotation_window_win32.h"
#include "tests/app/program_fixture.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/window_text_win32.h"

using namespace program_driver;

namespace {
using Id = RotationWindow::ControlId;

using RotationProgramTest = ProgramFolderTest;

TEST_F(RotationProgramTest, EnterConfirmsAndPlaysTheSecondEntryOfTheListNineSecondsLater) {
    wine_support::ScratchFolder web("web_");
    ASSERT_FALSE(web.Path().empty());
    for (const char* page : {"a.htm", "b.htm", "c.htm"})
        ASSERT_TRUE(wine_support::WriteFileBytes(web.Path() + page, "<html><body>radio</body></html>"));
    std::string log;
    const std::string port = wine_support::StartWebServer(web.Path(), log);
    if (port.empty()) GTEST_SKIP() << "no loopback web server could start: " << log;
    const std::string site = "http://127.0.0.1:" + port + "/";
    // Out of order: "Ma liste" is sorted, so its item 1 is B.
    WriteListFile("C;" + site + "c.htm;;1\r\nA;" + site + "a.htm;;1\r\nB;" + site + "b.htm;;1\r\n");

    RunningProgram running(folder);
    ASSERT_TRUE(running.WaitForMainWindow(20000));
    HWND window = nullptr;
    ASSERT_TRUE(wine_support::PumpUntil(
        [&] { return (window = FindProcessWindow(running.Pid(), kRotationWindowClass)) != nullptr; }, 10000));
    wine_support::PumpFor(1500);

    // "Permuter..." from the tray menu.
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Permuter..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, Id::kOkButton)));

    // The jingle chooser opens the dialog; the name is typed into it.
    const std::string jingle = folder + "Transition\\jingle.htm";
    wine_support::BoxScript dialogs{wine_support::BoxOwner::Process(running.Pid()), kJingleDialogTitle, IDOK,
                                    [&](const wine_support::Box& dialog) {
                                        HWND name = ::GetDlgItem(dialog.window, edt1);
                                        if (!name) name = ::GetDlgItem(dialog.window, cmb13);
                                        EXPECT_NE(name, nullptr);
                                        ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(jingle.c_str()));
                                        return true;
                                    }};
    HWND chooser = ::GetDlgItem(window, Id::kJingleChooser);
    ::PostMessageA(chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageA(chooser, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(dialogs.WaitForBoxes(1, 10000));
    HWND ok = ::GetDlgItem(window, Id::kOkButton);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowEnabled(ok) != FALSE; }, 5000));
    EXPECT_EQ(WindowText(::GetDlgItem(window, Id::kChosenJingle)), jingle);

    // Real keys, to the focused control of the active window: the first
    // stop, the interval bar, then "Annuler" and back.
    ASSERT_TRUE(PointKeysAt(window));
    auto focusedOn = [&](Id id) {
        return wine_support::PumpUntil([&] { return FocusedControlId(window) == id; }, 3000);
    };
    ASSERT_TRUE(focusedOn(Id::kIntervalBar)) << "on " << FocusedControlId(window);
    ASSERT_TRUE(PressKeys("shift+Tab shift+Tab"));
    EXPECT_TRUE(focusedOn(Id::kCancelButton)) << "on " << FocusedControlId(window);
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("keyboard-rotation.png").empty());
    ASSERT_TRUE(PressKeys("Tab Tab"));
    ASSERT_TRUE(focusedOn(Id::kIntervalBar)) << "back on " << FocusedControlId(window);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(PressKeys("Return"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(window); }, 3000)) << "OK closes the window";
    const bool requested = wine_support::PumpUntil(
        [&] {
            wine_support::ReadFileBytes(web.Path() + "server.log", log);
            return log.find("GET /") != std::string::npos;
        },
        15000);
    const long elapsed = static_cast<long>(::GetTickCount() - start);
    ASSERT_TRUE(requested) << "no entry was requested; server log:\n" << log;
    EXPECT_GE(elapsed, 8950);
    EXPECT_LE(elapsed, 11000);
    EXPECT_NE(log.find("GET /b.htm"), std::string::npos) << log;
    wine_support::PumpFor(4000);
    wine_support::ReadFileBytes(web.Path() + "server.log", log);
    EXPECT_EQ(log.find("GET /a.htm"), std::string::npos) << log;
    EXPECT_EQ(log.find("GET /c.htm"), std::string::npos) << log;
    EXPECT_EQ(FindProcessWindow(running.Pid(), "#32770"), nullptr) << "no error box";
}
}  // namespace
