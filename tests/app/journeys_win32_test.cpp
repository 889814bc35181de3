// A user's journeys through the real Sonoraflux.exe, staged as shipped and
// driven from outside as a person would: the tray menu chosen by what it
// reads, the editor's controls by their ids, the files it writes, and what a
// local web server sees the hidden browser ask for.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/editor_controls.h"
#include "recorder/recorder_window_layout.h"
#include "tests/app/program_fixture.h"
#include "tests/support/bench_sound_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/hot_key_win32.h"

using namespace program_driver;
using namespace editor_controls;

namespace {
class JourneyTest : public ProgramFolderTest {
protected:
    HWND Editor() const { return program->MainWindow(); }

    void OpenEditor() {
        // Hiding the editor keeps the program busy for a moment under Wine
        // without a window manager: the menu is answered once it is free.
        DWORD_PTR answer = 0;
        ASSERT_NE(::SendMessageTimeoutA(Editor(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
        ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Editer..."}));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(Editor()) != FALSE; }, 5000));
    }

    std::string Text(int id) const {
        char buffer[512] = {};
        ::SendMessageA(::GetDlgItem(Editor(), id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    void Type(int id, const char* text) {
        ::SendMessageA(::GetDlgItem(Editor(), id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    void Click(int id) { ::PostMessageA(::GetDlgItem(Editor(), id), BM_CLICK, 0, 0); }

};

// A web server on the loopback that keeps the path of every request.
class LoopbackServer {
public:
    LoopbackServer() : port_(20000 + static_cast<int>(::GetCurrentProcessId() % 20000)) {
        log_ = wine_support::Env("SONORAFLUX_BENCH", "/tmp") + "/journey-http-" + std::to_string(port_) + ".log";
        wine_support::RunUnixShell("cd /tmp && (setsid python3 -m http.server " + std::to_string(port_) +
                                   " --bind 127.0.0.1 > '" + log_ + "' 2>&1 & echo $! > '" + log_ + ".pid')");
        wine_support::PumpFor(800);
    }
    ~LoopbackServer() { wine_support::RunUnixShell("kill $(cat '" + log_ + ".pid'); rm -f '" + log_ + "' '" + log_ + ".pid'"); }

    std::string Address(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    bool Saw(const std::string& path) const {
        std::string log;
        wine_support::ReadFileBytes(wine_support::WindowsPathOf(log_), log);
        return log.find("\"GET " + path + " ") != std::string::npos;
    }

private:
    int port_;
    std::string log_;
};

TEST_F(JourneyTest, PlayAStationThenAnotherThenStop) {
    LoopbackServer server;
    // Captions that read well on the screen.
    Start("Jazz du soir;" + server.Address("/jazz") + ";;1\r\nFrance Culture;" + server.Address("/culture") +
          ";;1\r\n");
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "Jazz du soir"}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/jazz"); }, 10000)) << "the browser asks for it";
    EXPECT_FALSE(server.Saw("/culture"));
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "France Culture"}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/culture"); }, 10000)) << "then for the other";
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Arrêter"}));
    wine_support::PumpFor(1000);
    EXPECT_EQ(FindProcessWindow(program->Pid(), "#32770"), nullptr) << "no error box";
    EXPECT_FALSE(program->WaitForExit(100)) << "still running";
}

// A key any program may hold: the test's thread asks for it and lets go at once.
bool KeyIsFree(UINT key) { return HotKey(nullptr, 0x7001, 0, key).Held(); }

// The icon cycles while an entry plays and stands still once it stops (Wine's
// tray may show the last image a moment later).
bool IconStandsStill() {
    ParkPointer();
    return wine_support::PumpUntil(
        [] {
            const std::string before = TrayIconPixels();
            wine_support::PumpFor(1500);  // more than two steps of the cycle
            return TrayIconPixels() == before;
        },
        4000);
}

// The media keys, sent from another process as a keyboard sends them: held
// only while an entry plays, and only those no other program holds.
TEST_F(JourneyTest, MediaKeysAreHeldOnlyWhileAStationPlays) {
    LoopbackServer server;
    // Loaded in title order: the hidden entry first, the played one last.
    Start("Jazz du soir;" + server.Address("/jazz") + ";;1\r\nCachee;" + server.Address("/cache") +
          ";;0\r\nFrance Culture;" + server.Address("/culture") + ";;1\r\n");
    for (UINT key : {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK})
        EXPECT_TRUE(KeyIsFree(key)) << "nothing plays: key " << key << " stays with the other programs";
    {
        HotKey othersStop(nullptr, 0x7002, 0, VK_MEDIA_STOP);
        ASSERT_TRUE(othersStop.Held());
        ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "Jazz du soir"}));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/jazz"); }, 10000));
        ASSERT_TRUE(wine_support::PumpUntil([] { return !KeyIsFree(VK_MEDIA_PLAY_PAUSE); }, 3000)) << "held";
        EXPECT_FALSE(KeyIsFree(VK_MEDIA_NEXT_TRACK));
        EXPECT_EQ(FindProcessWindow(program->Pid(), "#32770"), nullptr) << "no box for the key held elsewhere";
        ASSERT_TRUE(PressKeyFromAnotherProgram(VK_MEDIA_NEXT_TRACK));
        EXPECT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/culture"); }, 10000))
            << "the next entry shown, round past the hidden one";
        EXPECT_FALSE(server.Saw("/cache"));
    }
    EXPECT_FALSE(IconStandsStill()) << "it plays";
    ASSERT_TRUE(PressKeyFromAnotherProgram(VK_MEDIA_PLAY_PAUSE));
    EXPECT_TRUE(wine_support::PumpUntil([] { return KeyIsFree(VK_MEDIA_PLAY_PAUSE) && KeyIsFree(VK_MEDIA_NEXT_TRACK); },
                                        3000)) << "Play/Pause stops it and lets the keys go";
    EXPECT_TRUE(IconStandsStill()) << "stopped";

    // Stop, free again, is asked for at the next play (looked at once the
    // play is over: a look takes the key for an instant).
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "Jazz du soir"}));
    wine_support::PumpFor(1500);
    ASSERT_FALSE(KeyIsFree(VK_MEDIA_STOP)) << "held";
    ASSERT_TRUE(PressKeyFromAnotherProgram(VK_MEDIA_STOP));
    EXPECT_TRUE(wine_support::PumpUntil([] { return KeyIsFree(VK_MEDIA_STOP); }, 3000)) << "Stop stops it";
    EXPECT_TRUE(IconStandsStill()) << "stopped";
    EXPECT_FALSE(program->WaitForExit(100)) << "still running";
}

TEST_F(JourneyTest, AddAnEntryThenCancelLeavesTheListAsItWas) {
    const std::string list = "Alpha;a.htm;;1\r\nBeta;b.htm;;1\r\n";
    Start(list);
    OpenEditor();
    Click(kNew);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Text(kSave) == "Ajouter"; }, 3000)) << "adding mode";
    Type(kTitleField, "Gamma");
    Type(kAddressField, "http://gamma/");
    Click(kCancel);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return Text(kSave) == "Enregistrer"; }, 3000)) << "back to editing";
    EXPECT_TRUE(::IsWindowVisible(Editor())) << "the first cancel only leaves adding mode";
    Click(kCancel);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000)) << "the second hides";
    EXPECT_EQ(ListFile(), list) << "nothing written";
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Alpha") << "the editor opens on the first entry";
}

TEST_F(JourneyTest, ADegreeSignInATitleReadsBackAsTyped) {
    Start("Radio n\xB0" "1;http://r.example/;;1\r\nZ;z.htm;;1\r\n");
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Radio n\xB0" "1");
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("journey-degree-sign.png").empty());
}

// Another program holds the list file with no sharing while Sonoraflux starts:
// the list cannot be read, and no save may then write over it.
TEST_F(JourneyTest, AListHeldByAnotherProgramAtStartIsNeverSavedOver) {
    const std::string list = "Alpha;a.htm;;1\r\nBeta;b.htm;;1\r\nGamma;g.htm;;0\r\n";
    WriteListFile(list);
    HANDLE held = ::CreateFileA((folder + "Sonoraflux.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    program = std::make_unique<RunningProgram>(folder);
    const auto closeFileError = [&](const char* shot) {
        wine_support::BoxScript boxes{wine_support::BoxOwner::Process(program->Pid()), nullptr, IDOK,
                                      [&](const wine_support::Box&) {
                                          if (shot) {
                                              EXPECT_FALSE(wine_support::SaveScreenshot(shot).empty());
                                          }
                                          return true;
                                      }};
        if (!boxes.WaitForBoxes(1, 20000)) return std::string("<no error box>");
        boxes.WaitUntilGone(5000);
        return boxes.Boxes()[0].text;
    };
    const std::string atStart = closeFileError("journey-list-held.png");
    EXPECT_NE(atStart.find("Sonoraflux.ini"), std::string::npos) << atStart;

    // Still held: "Editer..." tries again, shows the error, and stays closed.
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Editer..."}));
    const std::string atEdit = closeFileError(nullptr);
    EXPECT_NE(atEdit.find("Sonoraflux.ini"), std::string::npos) << atEdit;
    wine_support::PumpFor(500);
    EXPECT_FALSE(::IsWindowVisible(Editor())) << "the editor opened on a list that is not the file's";

    ::CloseHandle(held);
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Alpha") << "loaded once the file could be read";
    Click(kSave);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000));
    const std::string saved = ListFile();
    for (const char* line : {"Alpha;a.htm;;1\r\n", "Beta;b.htm;;1\r\n", "Gamma;g.htm;;0\r\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " is lost: " << saved;
}

TEST_F(JourneyTest, DeletingTheLastEntryAndSavingLeavesThePlaceholder) {
    Start("Seule;s.htm;;1\r\n");
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Seule");
    Click(kDelete);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Text(kTitleField).empty(); }, 3000))
        << "the placeholder shows an empty title, read: " << Text(kTitleField);
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("journey-last-entry-deleted.png").empty());
    Click(kSave);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ListFile() == "Vide;;;1\r\n"; }, 5000)) << ListFile();
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000));
}

// The editor from the keyboard alone: real keys on the bench's display reach
// the focused control of the active window.
TEST_F(JourneyTest, TheEditorTakesTheKeyboard) {
    const std::string list = "Alpha;a.htm;;1\r\nBeta;b.htm;;1\r\n";
    Start(list);
    auto focusedOn = [&](int id) { return wine_support::PumpUntil([&] { return FocusedControlId(Editor()) == id; }, 3000); };
    OpenEditor();
    ASSERT_TRUE(PointKeysAt(Editor()));
    ASSERT_TRUE(focusedOn(kTitleField)) << "the title field has the focus, not " << FocusedControlId(Editor());
    ASSERT_TRUE(TypeText("Zeta"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return Text(kTitleField) == "Zeta"; }, 3000))
        << "the typing replaces the title, read: " << Text(kTitleField);
    ASSERT_TRUE(PressKeys("Escape"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000)) << "Esc cancels";
    EXPECT_EQ(ListFile(), list) << "nothing written";

    OpenEditor();
    ASSERT_TRUE(PointKeysAt(Editor()));
    ASSERT_TRUE(focusedOn(kTitleField)) << "again on the title, not " << FocusedControlId(Editor());
    ASSERT_TRUE(TypeText("Gamma"));
    // Reading order: the list toggle, right of the title, then the address.
    ASSERT_TRUE(PressKeys("Tab"));
    EXPECT_TRUE(focusedOn(kToggle)) << "on " << FocusedControlId(Editor());
    ASSERT_TRUE(PressKeys("Tab"));
    ASSERT_TRUE(focusedOn(kAddressField)) << "on " << FocusedControlId(Editor());
    ASSERT_TRUE(TypeText("http://gamma/"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return Text(kAddressField) == "http://gamma/"; }, 3000))
        << "read: " << Text(kAddressField);
    // The page chooser, then "Enregistrer", with its focus rectangle.
    ASSERT_TRUE(PressKeys("Tab Tab"));
    ASSERT_TRUE(focusedOn(kSave)) << "on " << FocusedControlId(Editor());
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("keyboard-editor.png").empty());
    ASSERT_TRUE(PressKeys("shift+Tab shift+Tab"));
    ASSERT_TRUE(focusedOn(kAddressField)) << "back on " << FocusedControlId(Editor());
    EXPECT_EQ(ListFile(), list) << "nothing written yet";
    ASSERT_TRUE(PressKeys("Return"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ListFile().find("Gamma;http://gamma/;;1\r\n") != std::string::npos; },
                                        5000))
        << "Enter saves: " << ListFile();
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000));
}

// The recorder as a person uses it, on a tone played into the sound card.
class RecordingJourney : public JourneyTest {
protected:
    HWND Recorder() const { return FindProcessWindow(program->Pid(), "SonorafluxRecorderWindow"); }
    HWND Control(int id) const { return ::GetDlgItem(Recorder(), id); }
    std::string TextOf(int id) const {
        char buffer[64] = {};
        ::SendMessageA(Control(id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    std::string TimeShown() const {
        return TextOf(static_cast<int>(RecorderElementId::Label19)) + ":" +
               TextOf(static_cast<int>(RecorderElementId::Label20));
    }
    void ClickControl(int id) {
        RECT r{};
        ASSERT_TRUE(::GetWindowRect(Control(id), &r)) << "control " << id;
        ASSERT_TRUE(ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 1));
    }

    // The file image, the save dialog answered by typing the name, then
    // "Démarrer", ten seconds, "Arrêter".
    void RecordTenSeconds(const std::string& name, const std::string& screenshot, const std::string& dialogShot = "") {
        wine_support::BoxScript saveDialog{wine_support::BoxOwner::Process(program->Pid()), nullptr,
                                           wine_support::kLeaveOpen};
        ClickControl(static_cast<int>(RecorderElementId::Image14));
        ASSERT_TRUE(saveDialog.WaitForBoxes(1, 10000)) << "the save dialog";
        wine_support::PumpFor(500);
        ASSERT_TRUE(TypeText(name));
        if (!dialogShot.empty()) {
            wine_support::PumpFor(300);
            EXPECT_FALSE(wine_support::SaveScreenshot(dialogShot).empty());
        }
        ASSERT_TRUE(PressKeys("Return"));
        ASSERT_TRUE(saveDialog.WaitUntilGone(5000)) << "the dialog closes";
        ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowEnabled(Control(kRecorderButtonId)) != FALSE; }, 3000))
            << "a target enables the button";
        ClickControl(kRecorderButtonId);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return TextOf(kRecorderButtonId) == "Arrêter"; }, 3000));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return TimeShown() == "00:50"; }, 14000)) << "at " << TimeShown();
        EXPECT_FALSE(wine_support::SaveScreenshot(screenshot).empty());
        ClickControl(kRecorderButtonId);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return TextOf(kRecorderButtonId) == "Démarrer"; }, 3000));
    }

    // The tone measured in a 16-bit WAV file.
    wine_support::Tone ToneIn(const std::string& wavPath) {
        std::string bytes;
        EXPECT_TRUE(wine_support::ReadFileBytes(wavPath, bytes)) << wavPath;
        const wine_support::Tone tone = wine_support::MeasureTone(bytes);
        std::printf("%s: %.2f s, %.1f Hz\n", wavPath.c_str(), tone.seconds, tone.hz);
        return tone;
    }

    wine_support::ScratchFolder temp{"journey_temp_"};
};

TEST_F(RecordingJourney, TheRecorderTakesTheKeyboard) {
    Start("Alpha;a.htm;;1\r\n");
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Enregistrer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Recorder() && ::IsWindowVisible(Recorder()); }, 5000));
    ASSERT_TRUE(PointKeysAt(Recorder()));
    auto focusedOn = [&](RecorderElementId id) {
        return wine_support::PumpUntil([&] { return FocusedControlId(Recorder()) == static_cast<int>(id); }, 3000);
    };
    EXPECT_TRUE(focusedOn(RecorderElementId::Image14)) << "the file choice, not " << FocusedControlId(Recorder());
    // With no file chosen "Démarrer" is disabled: Tab goes on to the folder.
    ASSERT_TRUE(PressKeys("Tab"));
    EXPECT_TRUE(focusedOn(RecorderElementId::Image13)) << "on " << FocusedControlId(Recorder());
    ASSERT_TRUE(PressKeys("shift+Tab"));
    EXPECT_TRUE(focusedOn(RecorderElementId::Image14)) << "on " << FocusedControlId(Recorder());
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("keyboard-recorder.png").empty());
    ASSERT_TRUE(PressKeys("Escape"));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Recorder()); }, 5000)) << "Esc hides it";
    EXPECT_EQ(FindProcessWindow(program->Pid(), "#32770"), nullptr) << "no error box";
}

// Ten seconds of a 1000 Hz tone to WAV, then to MP3, through the tray menu,
// the recorder window and the real save dialog; the files are checked by
// measuring the tone, the MP3 once decoded, and the temporary capture is gone.
TEST_F(RecordingJourney, TenSecondsOfAToneToWavThenToMp3) {
    ASSERT_FALSE(temp.Path().empty());
    Start("Alpha;a.htm;;1\r\n", {"TEMP=" + temp.Path().substr(0, temp.Path().size() - 1)});
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Enregistrer..."}));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Recorder() && ::IsWindowVisible(Recorder()); }, 5000));
    EXPECT_EQ(TextOf(kRecorderButtonId), "Démarrer");
    EXPECT_FALSE(::IsWindowEnabled(Control(kRecorderButtonId))) << "no target yet";

    const std::string recordings = folder + "Enregistrements\\";
    {
        wine_support::PlayingTone tone(14, 1000);
        ASSERT_TRUE(tone.Started());
        RecordTenSeconds("Journal.wav", "journey-recording-wav.png", "journey-save-dialog.png");
    }
    std::string bytes;
    ASSERT_TRUE(wine_support::PumpUntil(
        [&] { return wine_support::ReadFileBytes(recordings + "Journal.wav", bytes) && bytes.size() > 8 &&
                     bytes[4] != 0; }, 5000)) << "the header is completed";
    const wine_support::Tone wav = ToneIn(recordings + "Journal.wav");
    // The first capture of a fresh process misses up to about two seconds on
    // this bench (8.3 s measured): Wine's sound driver connects to the sound
    // server when the device first opens, and the countdown has started.
    EXPECT_GT(wav.seconds, 7.0);
    EXPECT_LT(wav.seconds, 11.0);
    EXPECT_NEAR(wav.hz, 1000.0, 5.0);

    {
        wine_support::PlayingTone tone(14, 1000);
        ASSERT_TRUE(tone.Started());
        RecordTenSeconds("Journal.mp3", "journey-recording-mp3.png");
        // Encoding, then back to the recording look.
        ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(Control(kRecorderButtonId)) != FALSE &&
                                                         !wine_support::ReadFileBytes(temp.Path() + "TempFlumen.wav", bytes); },
                                            30000)) << "the encoding ends and the temporary capture is deleted";
    }
    const std::string decoded = temp.Path() + "decoded.wav";
    ASSERT_EQ(wine_support::RunUnixShell("lame --quiet --decode '" + wine_support::UnixPathOf(recordings + "Journal.mp3") +
                                         "' '" + wine_support::UnixPathOf(decoded) + "' </dev/null >/dev/null 2>&1"),
              0);
    const wine_support::Tone mp3 = ToneIn(decoded);
    EXPECT_NEAR(mp3.seconds, 10.0, 1.5);
    EXPECT_NEAR(mp3.hz, 1000.0, 5.0);
    EXPECT_EQ(FindProcessWindow(program->Pid(), "#32770"), nullptr) << "no error box";
}
}  // namespace
