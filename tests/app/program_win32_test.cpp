// The real program, started from a private copy of its folder, watched from
// outside: single copy, start-up order, the autostart state, shutdown.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/editor_controls.h"
#include "tests/app/program_fixture.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

using namespace program_driver;

namespace {
class ProgramTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        iconsBefore = CountTrayIcons();
    }

    static std::string RunValue() {
        char data[1024] = {};
        DWORD size = sizeof data;
        if (::RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux", RRF_RT_REG_SZ, nullptr, data, &size) !=
            ERROR_SUCCESS)
            return "<absent>";
        return data;
    }

    // Waits for a balloon, keeps its picture and reads it on the screen (it
    // may still be growing when first seen). The set-up installs the OCR:
    // reading nothing is a failure too.
    static void ExpectBalloonShownAndReads(const char* screenshot, const std::string& expected) {
        HWND balloon = nullptr;
        ASSERT_TRUE(wine_support::PumpUntil([&] { return (balloon = VisibleBalloon()) != nullptr; }, 10000));
        wine_support::PumpFor(500);
        EXPECT_FALSE(wine_support::SaveScreenshot(screenshot).empty());
        std::string text;
        const bool read = wine_support::PumpUntil(
            [&] {
                RECT area{};
                ::GetWindowRect(balloon, &area);
                text = ReadScreenText(area);
                return text.find(expected) != std::string::npos;
            },
            8000);
        EXPECT_TRUE(read) << "expected \"" << expected << "\", read: \"" << text << "\"";
    }

    // The autostart item reads "Activé" at start, whether it is on or off.
    void ChooseAutostartItem(RunningProgram& running) { ASSERT_TRUE(ChooseTrayMenuItem(running, {"Activé"})); }

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

TEST_F(ProgramTest, OfTwentyCopiesLetGoAtTheSameMomentExactlyOneKeepsRunning) {
    std::vector<std::unique_ptr<RunningProgram>> copies;
    for (int i = 0; i < 20; ++i) {
        copies.push_back(std::make_unique<RunningProgram>(folder, RunningProgram::Suspended{}));
        ASSERT_TRUE(copies.back()->Started());
    }
    for (auto& copy : copies) copy->Resume();
    const auto running = [&] {
        int n = 0;
        for (auto& copy : copies) n += ::WaitForSingleObject(copy->Process(), 0) == WAIT_TIMEOUT;
        return n;
    };
    EXPECT_TRUE(wine_support::PumpUntil([&] { return running() <= 1; }, 60000)) << running() << " copies run";
    ASSERT_EQ(running(), 1);
    RunningProgram* survivor = nullptr;
    for (auto& copy : copies)
        if (::WaitForSingleObject(copy->Process(), 0) == WAIT_TIMEOUT) survivor = copy.get();
    ASSERT_TRUE(WaitUntilReady(*survivor));
    EXPECT_EQ(CountTrayIcons(), iconsBefore + 1);
    for (auto& copy : copies) {
        if (copy.get() == survivor) continue;
        DWORD code = 0x55555555;
        EXPECT_TRUE(copy->WaitForExit(0, &code));
        EXPECT_EQ(code, 0u) << "a copy ended other than silently";
    }
}

TEST_F(ProgramTest, MissingListFileShowsTheMessageBeforeTheReadyBalloon) {
    ASSERT_TRUE(::DeleteFileA((folder + "Sonoraflux.ini").c_str()));
    RunningProgram running(folder);
    wine_support::BoxScript boxes{wine_support::BoxOwner::Process(running.Pid()), "Sonoraflux", wine_support::kLeaveOpen};
    ASSERT_TRUE(boxes.WaitForBoxes(1, 20000));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Impossible de trouver la liste des flumens !"});
    wine_support::PumpFor(1500);
    EXPECT_EQ(VisibleBalloon(), nullptr) << "the balloon waits for the message box";

    wine_support::AnswerBox(boxes.Boxes()[0].window, IDOK);
    ExpectBalloonShownAndReads("tray-ready.png", "logiciel est pr");
}

TEST_F(ProgramTest, AutostartStateIsReadFromTheRunValue) {
    // On at start: the item switches it off, deleting the value.
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonoraflux", REG_SZ, "x", 2), ERROR_SUCCESS);
    {
        RunningProgram running(folder);
        ASSERT_TRUE(WaitUntilReady(running));
        ChooseAutostartItem(running);
        EXPECT_TRUE(wine_support::PumpUntil([] { return RunValue() == "<absent>"; }, 5000)) << RunValue();
        PressKeys("Escape");
    }
    // Off at start: the item switches it on, writing the executable's path.
    WaitForNoBalloon();
    {
        RunningProgram running(folder);
        ASSERT_TRUE(WaitUntilReady(running));
        ChooseAutostartItem(running);
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
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    ASSERT_EQ(CountTrayIcons(), iconsBefore + 1);
    ::PostMessageA(running.MainWindow(), WM_CLOSE, 0, 0);
    DWORD code = 0x55555555;
    ASSERT_TRUE(running.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return CountTrayIcons() == iconsBefore; }, 5000));
}

TEST_F(ProgramTest, QuitterEndsTheProgram) {
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Quitter"}));
    ASSERT_TRUE(running.WaitForExit(10000));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return CountTrayIcons() == iconsBefore; }, 5000));
}
TEST_F(ProgramTest, PlayingFromTheMenuAnimatesTheIconAndMarksTheEntry) {
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    WaitForNoBalloon();
    ParkPointer();
    wine_support::PumpFor(300);
    const std::string still = TrayIconPixels();
    wine_support::PumpFor(700);
    EXPECT_EQ(TrayIconPixels(), still) << "the icon is still before anything plays";

    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Ma liste", "FIP"}));
    bool animated = wine_support::PumpUntil([&] { return TrayIconPixels() != still; }, 3000);
    EXPECT_TRUE(animated) << "the icon cycles while an entry plays";

    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Ma liste"}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return VisibleMenus(running.Pid()).size() == 2; }, 5000))
        << "the submenu opens";
    wine_support::PumpFor(600);
    EXPECT_FALSE(wine_support::SaveScreenshot("menu-open.png").empty());
    PressKeys("Escape Escape");
    EXPECT_FALSE(running.WaitForExit(200)) << "the running still runs";
}

TEST_F(ProgramTest, LeftClicksSwapTheImageSetWithOrWithoutAMixer) {
    // Without a sound server the running has no mixer: clicks change the icon only.
    for (bool withMixer : {true, false}) {
        std::vector<std::string> environment;
        if (!withMixer) environment.push_back("PULSE_SERVER=unix:/nonexistent/native");
        WaitForNoBalloon();
        RunningProgram running(folder, environment);
        ASSERT_TRUE(WaitUntilReady(running));
        WaitForNoBalloon();
        const std::string normal = TrayIconPixels();
        running.SendTrayMouse(WM_LBUTTONDOWN);
        running.SendTrayMouse(WM_LBUTTONUP);
        EXPECT_TRUE(wine_support::PumpUntil([&] { return TrayIconPixels() != normal; }, 3000))
            << "muted image set, with mixer: " << withMixer;
        const std::string muted = TrayIconPixels();
        running.SendTrayMouse(WM_LBUTTONDOWN);
        running.SendTrayMouse(WM_LBUTTONUP);
        // Wine's tray paints the new icon over the old one without clearing it,
        // so traces of the muted image stay: the image changes, but not back to
        // the very first pixels.
        EXPECT_TRUE(wine_support::PumpUntil([&] { return TrayIconPixels() != muted; }, 3000))
            << "normal image set again, with mixer: " << withMixer;
        EXPECT_EQ(FindProcessWindow(running.Pid(), "#32770"), nullptr) << "no error box";
    }
}

TEST_F(ProgramTest, EditerShowsTheEditorWindow) {
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    ASSERT_FALSE(::IsWindowVisible(running.MainWindow()));
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(running.MainWindow()) != FALSE; }, 5000));
}

TEST_F(ProgramTest, EditerBringsTheEditorBackRestoredAfterItWasMinimised) {
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    HWND editor = running.MainWindow();
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(editor) != FALSE; }, 5000));

    ::ShowWindow(editor, SW_MINIMIZE);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(editor); }, 5000))
        << "minimised to the tray: hidden";
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(editor) && !::IsIconic(editor); }, 5000))
        << "visible " << ::IsWindowVisible(editor) << ", minimised " << ::IsIconic(editor);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ::GetForegroundWindow() == editor; }, 3000)) << "in front";
}

// The three windows of the running exist from the start, hidden; the tray
// menu's commands show them, and closing the rotation and recorder windows
// only hides them.
TEST_F(ProgramTest, WindowsExistHiddenAndTheirCommandsShowThem) {
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    struct Expected {
        const char* className;
        const char* caption;
        int clientWidth, clientHeight;
        const char* command;
    };
    const Expected windows[] = {
        {"SonorafluxMainWindow", "Sonoraflux - Version Alpha 1.0", 342, 229, "Editer..."},
        {"SonorafluxRotationWindow", "Sonoraflux", 303, 181, "Permuter..."},
        {"SonorafluxRecorderWindow", "Sonoraflux - 1 minute MAX d'enregistrement...  :-s", 359, 98,
         "Enregistrer..."},
    };
    for (const Expected& expected : windows) {
        SCOPED_TRACE(expected.className);
        EXPECT_EQ(CountProcessWindows(running.Pid(), expected.className), 1);
        HWND window = FindProcessWindow(running.Pid(), expected.className, expected.caption);
        ASSERT_NE(window, nullptr) << "caption differs or window missing";
        EXPECT_FALSE(::IsWindowVisible(window)) << "hidden after start-up";
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_EQ(client.right, expected.clientWidth);
        EXPECT_EQ(client.bottom, expected.clientHeight);

        ASSERT_TRUE(ChooseTrayMenuItem(running, {expected.command}));
        EXPECT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
        if (window == running.MainWindow()) {
            ::ShowWindow(window, SW_HIDE);
            continue;
        }
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(window); }, 5000));
        EXPECT_TRUE(::IsWindow(window)) << "closing only hides it";
    }
    EXPECT_EQ(FindProcessWindow(running.Pid(), "#32770"), nullptr) << "no error box";
}

TEST_F(ProgramTest, MissingPageIsToldInAWarningBalloon) {
    WriteListFile("Page perdue;perdue.htm;;1\r\n");
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    WaitForNoBalloon();
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Ma liste", "Page perdue"}));
    ExpectBalloonShownAndReads("balloon-missing-page.png", "Page perdue");
}

// The editor driven from outside through its controls: the scroller clicked,
// a title typed, "Enregistrer" pressed; the file holds the rows in the order
// the editor had them, and the list comes back sorted.
TEST_F(ProgramTest, EditorStepRenameAndSaveRewritesTheList) {
    using namespace editor_controls;
    WriteListFile("Radio Bêta;http://b/;;1\r\nRadio Alpha;alpha.htm;;0\r\nDelta;d.htm;;1\r\n");
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    HWND editor = running.MainWindow();
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(editor) != FALSE; }, 5000));
    auto text = [&](int id) {
        char buffer[256] = {};
        ::SendMessageA(::GetDlgItem(editor, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer);
    };
    EXPECT_EQ(text(kTitleField), "Delta") << "the first entry in sorted order";

    // A click on the scroller's right arrow.
    HWND scroller = ::GetDlgItem(editor, kScroller);
    ASSERT_NE(scroller, nullptr);
    ::PostMessageA(scroller, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 7));
    ::PostMessageA(scroller, WM_LBUTTONUP, 0, MAKELPARAM(25, 7));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return text(kTitleField) == "Radio Alpha"; }, 3000))
        << text(kTitleField);

    ::SendMessageA(::GetDlgItem(editor, kTitleField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Zébulon"));
    ::PostMessageA(::GetDlgItem(editor, kSave), BM_CLICK, 0, 0);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(editor); }, 5000)) << "saving hides it";
    EXPECT_EQ(ListFile(), "Delta;d.htm;;1\r\nZébulon;alpha.htm;;0\r\nRadio Bêta;http://b/;;1\r\n");

    // Without a window manager, Wine's hiding blocks the running for a while:
    // the tray is answered only once the running takes messages again.
    DWORD_PTR answer = 0;
    ASSERT_NE(::SendMessageTimeoutA(editor, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(editor) != FALSE; }, 5000));
    for (int i = 0; i < 2; ++i) {
        ::PostMessageA(scroller, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 7));
        ::PostMessageA(scroller, WM_LBUTTONUP, 0, MAKELPARAM(25, 7));
        wine_support::PumpFor(300);
    }
    EXPECT_EQ(text(kTitleField), "Zébulon") << "reloaded sorted: the renamed entry comes last";
    EXPECT_EQ(FindProcessWindow(running.Pid(), "#32770"), nullptr) << "no error box";
}

TEST_F(ProgramTest, AddingNothingShowsTheWarningBox) {
    using namespace editor_controls;
    RunningProgram running(folder);
    ASSERT_TRUE(WaitUntilReady(running));
    HWND editor = running.MainWindow();
    ASSERT_TRUE(ChooseTrayMenuItem(running, {"Editer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(editor) != FALSE; }, 5000));
    ::PostMessageA(::GetDlgItem(editor, kNew), BM_CLICK, 0, 0);
    ::PostMessageA(::GetDlgItem(editor, kSave), BM_CLICK, 0, 0);
    wine_support::BoxScript warnings{wine_support::BoxOwner::Process(running.Pid()), "Warning"};
    ASSERT_TRUE(warnings.WaitForBoxes(1, 5000));
    EXPECT_EQ(warnings.Boxes()[0].text,
              "Ooops ! Vous n'avez rien indiqué dans les cases !\r\nRemplissez-les ou cliquez sur \"Annuler\"...");
    EXPECT_TRUE(warnings.WaitUntilGone(5000));
    char caption[64] = {};
    ::SendMessageA(::GetDlgItem(editor, kSave), WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(caption, "Ajouter") << "still adding";
}
}  // namespace

// The encoder library is imported when the running loads: without it beside
// the executable the system refuses to start the running.
TEST_F(ProgramTest, TheEncoderLibraryIsLoadedWithTheProgram) {
    ASSERT_TRUE(::DeleteFileA((folder + "LAME_ENC.DLL").c_str()));
    RunningProgram running(folder);
    DWORD code = 0;
    ASSERT_TRUE(running.WaitForExit(20000, &code)) << "started without its encoder library";
    EXPECT_EQ(code, 0xC0000135u) << "the system's missing-library status";
}
