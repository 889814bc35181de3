// The recorder window driven as a user does (the file image, the button), over
// the bench's sound server and LAME_ENC.DLL: a tone played into the null sink
// "radio" is what the default input device captures. The save dialog is
// answered by a seam, except in the test of the real dialog's type change.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/mp3_coder_win32.h"
#include "audio/wave_file_stream_win32.h"
#include "recorder/recorder_keys.h"
#include "recorder/recorder_window_win32.h"
#include "recorder/save_target_dialog_win32.h"
#include "base/little_endian.h"
#include "tests/support/bench_sound_win32.h"
#include "tests/support/keyboard_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/resource_probe_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/window_text_win32.h"

namespace {

// Answers the save dialog with the next path of its list.
class AnsweringDialog : public TargetDialog {
public:
    explicit AnsweringDialog(std::vector<std::string>& answers) : answers_(answers) {}
    std::optional<std::string> AskTarget(const std::string& initialFolder) override {
        asked.push_back(initialFolder);
        if (answers_.empty()) return std::nullopt;
        std::string next = answers_.front();
        answers_.erase(answers_.begin());
        return next;
    }
    std::vector<std::string> asked;

private:
    std::vector<std::string>& answers_;
};

// The encoder library, failing a chosen chunk, or taking a screenshot half way.
class WatchedEncoder : public MP3EncoderLibrary {
public:
    void beVersion(std::uint8_t* record) override { real_.beVersion(record); }
    std::uint32_t beInitStream(MP3ConfigRecord& config, std::uint32_t& samples, std::uint32_t& size,
                               MP3StreamHandle& stream) override {
        chunks = 0;
        return real_.beInitStream(config, samples, size, stream);
    }
    std::uint32_t beEncodeChunk(MP3StreamHandle stream, std::uint32_t count, const std::int16_t* samples,
                                std::uint8_t* output, std::uint32_t size, std::uint32_t& bytes) override {
        ++chunks;
        if (chunks == failAtChunk) return 7;
        if (chunks == hookChunk && onHookChunk) onHookChunk();
        return real_.beEncodeChunk(stream, count, samples, output, size, bytes);
    }
    std::uint32_t beDeinitStream(MP3StreamHandle stream, std::uint8_t* output, std::uint32_t size,
                                 std::uint32_t& bytes) override {
        return real_.beDeinitStream(stream, output, size, bytes);
    }
    std::uint32_t beCloseStream(MP3StreamHandle stream) override { return real_.beCloseStream(stream); }

    int chunks = 0;
    int failAtChunk = -1;
    // Called before the chunk of that number is encoded.
    int hookChunk = 60;
    std::function<void()> onHookChunk;

private:
    MP3EncoderLibrary& real_ = EncoderDllLibrary();
};

// The space left on the disk of the capture file, which another program frees
// again after a given count of failed writes.
struct Disk {
    int64_t room = INT64_MAX;
    int failedWrites = 0;
    int roomBackAfter = 0;
};

// The capture file on a disk that fills up: a write past the room left is cut
// short at the room's end, or refused when none is left, while bytes already
// in the file can still be rewritten (the header's sizes).
class FillingDisk : public ByteStream {
public:
    FillingDisk(const std::string& path, Disk& disk) : file_(path), disk_(disk) {}
    int64_t Seek(int64_t offset, SeekOrigin origin) override { return file_.Seek(offset, origin); }
    int32_t Read(void* buffer, int32_t count) override { return file_.Read(buffer, count); }
    int32_t Write(const void* buffer, int32_t count) override {
        const int64_t at = file_.Seek(0, SeekOrigin::Current);
        const int32_t fits = static_cast<int32_t>(std::clamp<int64_t>(disk_.room - at, 0, count));
        if (fits < count && ++disk_.failedWrites == disk_.roomBackAfter) disk_.room = INT64_MAX;
        return fits == 0 ? 0 : file_.Write(buffer, fits);
    }
    void SetSize(int64_t size) override { file_.SetSize(size); }

private:
    FileByteStream file_;
    Disk& disk_;
};

// The program as the window sees it: the balloons recorded, the save dialog
// answered from a list, the encoder watched and the capture file on a disk
// that fills up.
class RecordedServices : public RecorderWindowServices {
public:
    RecordedServices(const std::string& root, std::vector<std::string>& answers, WatchedEncoder& encoder, Disk& disk)
        : folder_(root), answers_(answers), encoder_(encoder), disk_(disk) {}
    const ProgramFolder& Folder() override { return folder_; }
    std::string SongTitle() override { return ""; }
    void AddHelpBalloon(const RecorderElement& element) override { added.push_back(element.id); }
    void PointerMoved(HWND control, const RecorderElement& element, POINT) override {
        moves.push_back({control, element.id});
    }
    void SwitchHelpBalloons() override { ++switches; }
    std::unique_ptr<TargetDialog> TargetDialogFor(HWND) override {
        auto answering = std::make_unique<AnsweringDialog>(answers_);
        dialog = answering.get();
        return answering;
    }
    MP3EncoderLibrary& Encoder() override { return encoder_; }
    std::unique_ptr<ByteStream> OpenCaptureFile(const std::string& path) override {
        return std::make_unique<FillingDisk>(path, disk_);
    }

    std::vector<RecorderElementId> added;
    std::vector<std::pair<HWND, RecorderElementId>> moves;
    int switches = 0;
    AnsweringDialog* dialog = nullptr;

private:
    ProgramFolder folder_;
    std::vector<std::string>& answers_;
    WatchedEncoder& encoder_;
    Disk& disk_;
};

class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::waveInGetNumDevs() == 0) GTEST_SKIP() << "no capture device (the bench's sound server is not running)";
        ASSERT_FALSE(root.empty());
        ASSERT_FALSE(temp.empty());
        ::CreateDirectoryA((root + "Enregistrements").c_str(), nullptr);
        std::string tempFolder = temp.substr(0, temp.size() - 1);
        ::SetEnvironmentVariableA("TEMP", tempFolder.c_str());

        window = std::make_unique<RecorderWindow>(::GetModuleHandleA(nullptr), nullptr, services);
        window->ShowCentredInFront();
        wine_support::PumpFor(300);
    }
    void TearDown() override {
        window.reset();
        // The tone ends with the test, so that none runs into the next.
        player.reset();
    }

    void PlayTone(int seconds) {
        player = std::make_unique<wine_support::PlayingTone>(seconds, 1000);
        ASSERT_TRUE(player->Started());
    }

    // A click on one of the window's pictures.
    void ClickElement(RecorderElementId id) {
        HWND control = window->Control(id);
        ASSERT_NE(control, nullptr);
        ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    void PressButton() { ::SendMessageA(window->Button(), BM_CLICK, 0, 0); }
    void Key(WPARAM key) { wine_support::PressKey(key); }

    std::string ButtonText() const {
        return WindowText(window->Button());
    }
    std::string TimeShown() const { return window->Session().Display().minutes + ":" + window->Session().Display().seconds; }
    bool IsIdle() const { return window->Session().State() == RecorderState::NoTarget; }

    // Records into target for about the given seconds of countdown, then presses "Arrêter".
    void RecordFor(const std::string& target, int seconds) {
        answers.push_back(target);
        ClickElement(RecorderElementId::Image14);
        ASSERT_TRUE(::IsWindowEnabled(window->Button()));
        PressButton();
        EXPECT_EQ(ButtonText(), "Arrêter");
        EXPECT_EQ(TimeShown(), "01:00");
    EXPECT_EQ(WindowText(window->Control(RecorderElementId::Label19)) + ":" +
                  WindowText(window->Control(RecorderElementId::Label20)),
              "01:00") << "the digit labels show the countdown";
        ASSERT_TRUE(wine_support::PumpUntil([&] { return window->Session().Display().indicatorRunning; }, 3000));
        const std::string expected = "00:" + std::to_string(60 - seconds);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return TimeShown() == expected; }, (seconds + 3) * 1000))
            << "countdown at " << TimeShown();
        if (seconds >= 4) {
            EXPECT_TRUE(wine_support::PumpUntil([&] { return window->IndicatorFrame() != 0; }, 1500))
                << "the indicator animates";
        }
        if (onRecording) onRecording();
        PressButton();
        EXPECT_EQ(ButtonText(), "Démarrer");
        EXPECT_FALSE(::IsWindowEnabled(window->Button())) << "disabled until a new choice";
        EXPECT_EQ(TimeShown(), "00:00");
        EXPECT_EQ(window->IndicatorFrame(), 0);
    }

    wine_support::ScratchFolder program{"recorder_"};
    wine_support::ScratchFolder tempScratch{"recorder_temp_"};
    const std::string root = program.Path();
    const std::string temp = tempScratch.Path();
    std::vector<std::string> answers;
    WatchedEncoder encoder;
    Disk disk;
    RecordedServices services{root, answers, encoder, disk};
    std::unique_ptr<RecorderWindow> window;
    std::function<void()> onRecording;
    wine_support::BoxScript boxes{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    std::unique_ptr<wine_support::PlayingTone> player;
};

// Each element with a balloon is a control at its place, handed to the
// program's balloons; the switch image runs the program's switch.
TEST_F(RecorderWindowTest, EveryElementGetsItsHelpBalloonAndTheSwitchIsTheProgramsOne) {
    ASSERT_EQ(services.added.size(), RecorderElements().size());
    for (RecorderElementId id : services.added) {
        const RecorderElement& e = RecorderElementOf(id);
        HWND control = window->Control(id);
        ASSERT_NE(control, nullptr) << e.balloonTitle;
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(::IsWindowVisible(control)) << e.balloonTitle;
        EXPECT_EQ(r.left, e.left) << e.balloonTitle;
        EXPECT_EQ(r.top, e.top) << e.balloonTitle;
        // The mouse reaches the control itself, not the window below it, and
        // its moves reach the balloons under the control's own key.
        POINT inside{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(window->Handle(), &inside);
        EXPECT_EQ(::SendMessageA(control, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT)
            << e.balloonTitle;
        services.moves.clear();
        ::SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(services.moves.size(), 1u) << e.balloonTitle;
        EXPECT_EQ(services.moves[0].first, control);
        EXPECT_EQ(services.moves[0].second, id);
    }
    ClickElement(RecorderElementId::Image30);
    EXPECT_EQ(services.switches, 1);
    ClickElement(RecorderElementId::Image12);
    EXPECT_TRUE(services.dialog->asked.empty() && services.switches == 1) << "the decoration does nothing";
}

// The keyboard through the window's dialog keys: Space on the file choice
// chooses, Tab reaches "Démarrer", Enter starts and stops, Esc leaves a
// recording alone and hides the window once it has ended.
TEST_F(RecorderWindowTest, KeysChooseStartStopAndHideButEscNeverEndsARecording) {
    using Id = RecorderElementId;
    for (Id id : {Id::Image14, Id::Image13, Id::Image30})
        EXPECT_EQ(wine_support::ControlName(window->Control(id)), RecorderElementOf(id).balloonTitle);
    EXPECT_EQ(::GetFocus(), window->Control(Id::Image14)) << "the file choice on showing";
    answers.push_back(root + "Enregistrements\\Clavier.wav");
    Key(VK_SPACE);
    ASSERT_EQ(window->Session().State(), RecorderState::Ready);
    EXPECT_EQ(wine_support::TabWalk(window->Handle(), static_cast<int>(Id::Image30)),
              ReachableStops(RecorderTabStops(window->Session().Display())));
    Key(VK_TAB);
    ASSERT_EQ(::GetFocus(), window->Button());
    PlayTone(5);
    Key(VK_RETURN);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return window->Session().State() == RecorderState::Recording; }, 3000));
    Key(VK_ESCAPE);
    EXPECT_TRUE(::IsWindowVisible(window->Handle()));
    EXPECT_EQ(window->Session().State(), RecorderState::Recording) << "Esc never ends a recording";
    Key(VK_RETURN);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 5000)) << "\"Arrêter\"";
    EXPECT_EQ(::GetFocus(), window->Control(Id::Image14)) << "the disabled button hands the focus on";
    Key(VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(window->Handle())) << "Esc hides the window";
}

TEST_F(RecorderWindowTest, TenSecondsToWavThroughTheWindow) {
    EXPECT_FALSE(::IsWindowEnabled(window->Button())) << "no target yet";
    EXPECT_EQ(ButtonText(), "Démarrer");
    EXPECT_FALSE(::IsWindowVisible(window->ProgressBar()));
    EXPECT_FALSE(wine_support::SaveScreenshot("recorder.png").empty());

    PlayTone(14);
    const std::string target = root + "Enregistrements\\Flumen.wav";
    onRecording = [] { EXPECT_FALSE(wine_support::SaveScreenshot("recorder-recording.png").empty()); };
    RecordFor(target, 10);
    ASSERT_EQ(services.dialog->asked.size(), 1u);
    EXPECT_EQ(services.dialog->asked[0], root + "Enregistrements\\");
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 5000));

    std::string wav;
    ASSERT_TRUE(wine_support::ReadFileBytes(target, wav));
    const wine_support::Tone tone = wine_support::MeasureTone(wav);
    std::printf("WAV %.2f s, %.1f Hz\n", tone.seconds, tone.hz);
    EXPECT_NEAR(tone.seconds, 10.0, 1.5);
    EXPECT_NEAR(tone.hz, 1000.0, 5.0);
    EXPECT_FALSE(wine_support::ReadFileBytes(temp + "TempFlumen.wav", wav)) << "a WAV target needs no temporary file";
    EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts().front();

    // A new choice enables the button again.
    answers.push_back(target);
    ClickElement(RecorderElementId::Image14);
    EXPECT_TRUE(::IsWindowEnabled(window->Button()));
}

TEST_F(RecorderWindowTest, TenSecondsToMp3EncodedWithAProgressBarOverThePanel) {
    PlayTone(14);
    const std::string target = root + "Enregistrements\\Flumen.mp3";
    bool sawEncoding = false;
    encoder.onHookChunk = [&] {
        sawEncoding = ::IsWindowVisible(window->ProgressBar()) && !::IsWindowVisible(window->Button()) &&
                      !::IsWindowVisible(window->Control(RecorderElementId::Image14)) &&
                      !::IsWindowVisible(window->Control(RecorderElementId::Image30)) &&
                      window->Session().Display().panelTitle == "Compression au format MP3";
        EXPECT_GT(::SendMessageA(window->ProgressBar(), PBM_GETPOS, 0, 0), 0);
        EXPECT_FALSE(wine_support::SaveScreenshot("recorder-encoding.png").empty());
    };
    RecordFor(target, 10);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 20000));
    EXPECT_TRUE(sawEncoding) << "progress bar shown, button hidden while encoding";
    EXPECT_FALSE(::IsWindowVisible(window->ProgressBar()));
    EXPECT_TRUE(::IsWindowVisible(window->Button()));
    EXPECT_TRUE(::IsWindowVisible(window->Control(RecorderElementId::Image14)));
    EXPECT_TRUE(::IsWindowVisible(window->Control(RecorderElementId::Image30)));
    EXPECT_EQ(window->Session().Display().panelTitle, "Enregistrement");
    std::string bytes;
    EXPECT_FALSE(wine_support::ReadFileBytes(temp + "TempFlumen.wav", bytes)) << "the temporary file is deleted";

    const std::string decoded = temp + "decoded.wav";
    ASSERT_EQ(wine_support::RunUnixShell("lame --quiet --decode '" + wine_support::UnixPathOf(target) + "' '" +
                                         wine_support::UnixPathOf(decoded) + "' </dev/null >/dev/null 2>&1"),
              0);
    ASSERT_TRUE(wine_support::ReadFileBytes(decoded, bytes));
    const wine_support::Tone tone = wine_support::MeasureTone(bytes);
    std::printf("MP3 decoded %.2f s, %.1f Hz\n", tone.seconds, tone.hz);
    EXPECT_NEAR(tone.seconds, 10.0, 1.5);
    EXPECT_NEAR(tone.hz, 1000.0, 5.0);
    EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts().front();
}

TEST_F(RecorderWindowTest, AnEncoderFailureRestoresTheWindowAndKeepsTheCapture) {
    PlayTone(6);
    encoder.failAtChunk = 3;
    const std::string target = root + "Enregistrements\\Flumen.mp3";
    RecordFor(target, 3);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle() && !boxes.Texts().empty(); }, 10000));
    EXPECT_FALSE(::IsWindowVisible(window->ProgressBar()));
    EXPECT_TRUE(::IsWindowVisible(window->Button()));
    EXPECT_EQ(window->Session().Display().panelTitle, "Enregistrement");
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find("beEncodeChunk failed 7"), std::string::npos) << boxes.Texts()[0];
    EXPECT_NE(boxes.Texts()[0].find(temp + "TempFlumen.wav"), std::string::npos) << boxes.Texts()[0];
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(temp + "TempFlumen.wav", bytes)) << "the capture is kept";
    EXPECT_NEAR(wine_support::MeasureTone(bytes).seconds, 3.0, 1.5);
    EXPECT_FALSE(wine_support::ReadFileBytes(target, bytes)) << "no half-written MP3";
}

// The disk fills up half way through the third second of the capture, and
// room comes back after two failed writes: each failure shows the system's
// error box, the countdown and the capture go on, and the file keeps whole
// frames with a header that counts exactly the bytes in it.
TEST_F(RecorderWindowTest, AFullDiskDuringTheCaptureShowsTheErrorAndTheFileStaysSound) {
    constexpr int64_t kSecond = 44100 * 4;
    constexpr int64_t kHeader = 46;
    PlayTone(12);
    disk.room = kHeader + 2 * kSecond + kSecond / 2 + 2;  // half a frame past the half second
    disk.roomBackAfter = 2;
    const std::string target = root + "Enregistrements\\Plein.wav";
    answers.push_back(target);
    ClickElement(RecorderElementId::Image14);
    const DWORD start = ::GetTickCount();
    PressButton();
    ASSERT_TRUE(wine_support::PumpUntil([&] { return TimeShown() == "00:52"; }, 15000)) << "countdown at " << TimeShown();
    PressButton();
    const double seconds = (::GetTickCount() - start) / 1000.0;
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 5000));
    ASSERT_TRUE(wine_support::PumpUntil([&] { return boxes.Texts().size() >= 2; }, 5000)) << "no error shown";

    EXPECT_EQ(disk.failedWrites, 2);
    char text[256] = {};
    ASSERT_EQ(::waveInGetErrorTextA(MMSYSERR_ERROR, text, sizeof text), MMSYSERR_NOERROR);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(2, text));
    std::string bytes;
    ASSERT_TRUE(wine_support::ReadFileBytes(target, bytes));
    const int64_t dataSize = ReadLe32(bytes, 42);
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), kHeader + dataSize) << "the header counts the bytes in the file";
    EXPECT_EQ(ReadLe32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(dataSize % 4, 0) << "whole frames only";
    EXPECT_GT(dataSize, 2 * kSecond + kSecond / 2 + kSecond) << "the capture went on once room came back";
    // While a box opens the device may also run out of buffers, so more
    // than the refused second and a half can be missing.
    EXPECT_LT(static_cast<double>(dataSize) / kSecond, seconds - 1.5) << "the refused part is missing";
}

// Twenty short recordings, WAV and MP3 in turn, as a long session has them:
// the handles and GDI objects stay where they were.
TEST_F(RecorderWindowTest, TwentyShortRecordingsLeaveNoHandlesOrGdiObjectsBehind) {
    PlayTone(60);
    int recordings = 0;
    const std::string grown = wine_support::ResourcesGrownBy(20, [&] {
        const char* kind = ++recordings % 2 ? ".wav" : ".mp3";
        answers.push_back(root + "Enregistrements\\Court" + std::to_string(recordings) + kind);
        ClickElement(RecorderElementId::Image14);
        PressButton();
        ASSERT_TRUE(wine_support::PumpUntil([&] { return window->Session().Display().indicatorRunning; }, 3000));
        wine_support::PumpFor(300);
        PressButton();
        ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 10000));
    });
    EXPECT_EQ(grown, "");
    EXPECT_EQ(recordings, 25);
    std::string bytes;
    EXPECT_TRUE(wine_support::ReadFileBytes(root + "Enregistrements\\Court25.wav", bytes));
    EXPECT_TRUE(wine_support::ReadFileBytes(root + "Enregistrements\\Court24.mp3", bytes));
    EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts().front();
}

TEST_F(RecorderWindowTest, QuittingDuringAnEncodingDropsTheUnfinishedMp3AndKeepsTheCapture) {
    PlayTone(8);
    const std::string target = root + "Enregistrements\\Flumen.mp3";
    encoder.hookChunk = 20;
    encoder.onHookChunk = [] { ::PostQuitMessage(0); };
    RecordFor(target, 4);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 10000));
    EXPECT_EQ(encoder.chunks, 20) << "the encoding stops at the quit";
    std::string bytes;
    EXPECT_FALSE(wine_support::ReadFileBytes(target, bytes)) << "no half-written MP3";
    ASSERT_TRUE(wine_support::ReadFileBytes(temp + "TempFlumen.wav", bytes));
    EXPECT_NEAR(wine_support::MeasureTone(bytes).seconds, 4.0, 1.5);
    EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts().front();
}

TEST_F(RecorderWindowTest, QuittingDuringARecordingFinalisesTheCaptureAndEncodesNothing) {
    PlayTone(6);
    const std::string target = root + "Enregistrements\\Flumen.mp3";
    answers.push_back(target);
    ClickElement(RecorderElementId::Image14);
    PressButton();
    ASSERT_TRUE(wine_support::PumpUntil([&] { return TimeShown() == "00:57"; }, 6000));
    window->Quit();
    window.reset();
    std::string bytes;
    EXPECT_FALSE(wine_support::ReadFileBytes(target, bytes));
    ASSERT_TRUE(wine_support::ReadFileBytes(temp + "TempFlumen.wav", bytes));
    EXPECT_EQ(ReadLe32(bytes, 4), bytes.size() - 8) << "the RIFF size is written";
    EXPECT_NEAR(wine_support::MeasureTone(bytes).seconds, 3.0, 1.5);
    EXPECT_EQ(encoder.chunks, 0);
}

TEST_F(RecorderWindowTest, ATargetThatCannotBeCreatedLeavesTheWindowUsable) {
    answers.push_back(root + "absent\\Flumen.wav");
    ClickElement(RecorderElementId::Image14);
    PressButton();
    ASSERT_TRUE(wine_support::PumpUntil([&] { return !boxes.Texts().empty(); }, 5000));
    EXPECT_NE(boxes.Texts()[0].find("absent\\Flumen.wav"), std::string::npos) << boxes.Texts()[0];
    EXPECT_EQ(ButtonText(), "Démarrer");
    EXPECT_TRUE(::IsWindowEnabled(window->Button()));
    EXPECT_EQ(TimeShown(), "00:00");
    wine_support::PumpFor(1500);
    EXPECT_EQ(TimeShown(), "00:00") << "no countdown runs";
    EXPECT_EQ(window->Session().State(), RecorderState::Ready);
}

TEST_F(RecorderWindowTest, ClosingOnlyHidesAndTheFullMinuteStopsByItself) {
    PlayTone(64);
    const std::string target = root + "Enregistrements\\Minute.wav";
    answers.push_back(target);
    ClickElement(RecorderElementId::Image14);
    PressButton();
    ::SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(window->Handle()));
    std::string lastBeforeStop;
    ASSERT_TRUE(wine_support::PumpUntil(
        [&] {
            if (TimeShown() != "00:00") lastBeforeStop = TimeShown();
            return window->Session().State() != RecorderState::Recording;
        },
        65000));
    EXPECT_EQ(lastBeforeStop, "00:01");
    ASSERT_TRUE(wine_support::PumpUntil([&] { return IsIdle(); }, 5000));
    std::string wav;
    ASSERT_TRUE(wine_support::ReadFileBytes(target, wav));
    const wine_support::Tone tone = wine_support::MeasureTone(wav);
    std::printf("WAV %.2f s, %.1f Hz\n", tone.seconds, tone.hz);
    // Within one buffer, and the quarter second more that the bench's sound
    // server holds back: its first samples reach the device about a second
    // after it opens, so the file ends about a second short of the minute.
    EXPECT_NEAR(tone.seconds, 60.0, 1.25) << "one minute, within one buffer";
    EXPECT_NEAR(tone.hz, 1000.0, 5.0);
}

// The real save dialog: title, filter, first name, and the type change's rewrite.
std::string NameBox(HWND dialog) {
    char text[MAX_PATH] = {};
    ::SendMessageA(dialog, CDM_GETSPEC, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}
void PickType(HWND dialog, int index) {
    HWND types = ::GetDlgItem(dialog, cmb1);
    ::SendMessageA(types, CB_SETCURSEL, index, 0);
    // What a user's pick sends; Wine's dialog acts on the second.
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
}

struct DialogSeen {
    std::vector<std::string> names;
    std::string filterText;
};

// The save dialog of this thread, answered with the button once look has read
// it (and acted on it).
struct SaveDialogScript {
    DialogSeen seen;
    wine_support::BoxScript dialogs;
    SaveDialogScript(int button, void (*look)(HWND, DialogSeen&))
        : dialogs{wine_support::BoxOwner::ThisThread(), kSaveDialogTitle, button,
                  [this, look](const wine_support::Box& box) {
                      look(box.window, seen);
                      return true;
                  }} {}
    bool Shown() const { return !dialogs.Boxes().empty(); }
};

// Reads the filter and the names the type changes give, then types "Essai"
// and picks WAV.
void DriveDialog(HWND dialog, DialogSeen& script) {
    char filter[128] = {};
    ::SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
    script.filterText = filter;
    script.names.push_back(NameBox(dialog));
    PickType(dialog, 1);
    script.names.push_back(NameBox(dialog));
    PickType(dialog, 0);
    script.names.push_back(NameBox(dialog));
    ::SendMessageA(dialog, CDM_SETCONTROLTEXT, kFileNameComboId, reinterpret_cast<LPARAM>("Essai"));
    PickType(dialog, 1);
    script.names.push_back(NameBox(dialog));
}

TEST(SaveTargetDialogTest, TypeChangeRewritesTheNameAndTheChoiceIsReturned) {
    wine_support::ScratchFolder folder{"save_dialog_"};
    ASSERT_FALSE(folder.Path().empty());
    SaveTargetDialog dialog(nullptr);
    SaveDialogScript script(IDOK, DriveDialog);
    const std::optional<std::string> chosen = dialog.AskTarget(folder.Path());
    ASSERT_TRUE(script.Shown()) << "the dialog never appeared";
    EXPECT_EQ(script.seen.filterText, "Fichiers MP3 (*.mp3)");
    EXPECT_EQ(script.seen.names, (std::vector<std::string>{"Flumen", "Flumen.wav", "Flumen.mp3", "Essai.wav"}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder.Path() + "Essai.wav");
}

// The dialog moves the current folder to the one the user chooses in; the
// program must not keep holding it afterwards. Every file dialog shares the
// guard that puts it back.
TEST(SaveTargetDialogTest, AChoiceInAnotherFolderLeavesTheCurrentFolderAsItWas) {
    wine_support::ScratchFolder folder{"save_dialog_"};
    ASSERT_FALSE(folder.Path().empty());
    char before[MAX_PATH] = {}, after[MAX_PATH] = {};
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, before), 0u);
    SaveTargetDialog dialog(nullptr);
    SaveDialogScript script(IDOK, DriveDialog);
    ASSERT_EQ(dialog.AskTarget(folder.Path()), folder.Path() + "Essai.wav");
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, after), 0u);
    EXPECT_STREQ(after, before) << "chosen in " << folder.Path();
}

// Reads the name proposed and the folder shown.
void ReadName(HWND dialog, DialogSeen& script) {
    char folder[MAX_PATH] = {};
    ::SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    script.names = {NameBox(dialog), folder};
}

TEST(SaveTargetDialogTest, ProposesTheSongThatPlaysInTheFolderOfTheLastChoice) {
    wine_support::ScratchFolder folder{"save_song_"};
    ASSERT_FALSE(folder.Path().empty());
    std::string song = "AC/DC - Back in Black";
    SaveTargetDialog dialog(nullptr, [&] { return song; });
    {
        SaveDialogScript script(IDCANCEL, ReadName);
        EXPECT_FALSE(dialog.AskTarget(folder.Path()).has_value());
        ASSERT_TRUE(script.Shown()) << "the dialog never appeared";
        EXPECT_EQ(script.seen.names[0], "AC_DC - Back in Black.mp3");
        EXPECT_EQ(script.seen.names[1] + "\\", folder.Path()) << "no choice yet: the recordings folder";
    }
    song.clear();
    SaveDialogScript script(IDCANCEL, ReadName);
    dialog.AskTarget(folder.Path());
    ASSERT_TRUE(script.Shown());
    EXPECT_EQ(script.seen.names[0], "Flumen") << "no song: what it proposed before";
}
}  // namespace
