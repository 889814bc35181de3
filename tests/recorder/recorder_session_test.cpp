#include "recorder/recorder_session.h"
#include "recorder/recorder_keys.h"
#include "recorder/recorder_window_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kFolder = "C:\\Sonoraflux\\Enregistrements\\";

struct FakeParts : RecorderView, CaptureDevice, Mp3Encoder, TargetDialog, RecorderSystem {
    // View
    void Render(const RecorderDisplay& display) override { rendered = display; ++renders; }
    RecorderDisplay rendered;
    int renders = 0;
    // Device
    bool IsActive() override { return active; }
    void RecordToFile(const std::string& path) override {
        if (refuseRecording) throw std::runtime_error("Cannot create file");
        recordedTo.push_back(path);
        active = true;
    }
    void Stop() override { ++stops; }
    std::string TakeFileError() override { return std::exchange(fileError, {}); }
    bool active = false;
    std::string fileError;  // for the next close
    bool refuseRecording = false;
    std::vector<std::string> recordedTo;
    int stops = 0;
    // Encoder
    void Encode(const std::string& wav, const std::string& mp3) override {
        encoded.push_back(wav + " -> " + mp3);
        if (onEncode) onEncode();
    }
    std::function<void()> onEncode;
    std::vector<std::string> encoded;
    // Dialog
    std::optional<std::string> AskTarget(const std::string& initialFolder) override {
        askedIn.push_back(initialFolder);
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> askedIn;
    // System
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool DeleteFile(const std::string& path) override { deleted.push_back(path); return files.erase(path) != 0; }
    std::optional<std::string> TempVariable() override { return temp; }
    std::string SystemTempFolder() override { return systemTemp; }
    void InformationBeep() override { ++beeps; }
    void ShowError(const std::string& message) override { errors.push_back(message); }
    std::set<std::string> files;
    std::vector<std::string> deleted;
    std::optional<std::string> temp = "C:\\Temp";
    std::string systemTemp = "C:\\Windows\\Temp\\";
    int beeps = 0;
    std::vector<std::string> errors;
};

class Session : public ::testing::Test {
protected:
    FakeParts fake;
    RecorderSession session{RecorderParts{fake, fake, fake, fake, fake}, kFolder};

    void Choose(const std::string& path) {
        fake.answer = path;
        session.ChooseTarget();
    }
    void StartRecording(const std::string& path) {
        Choose(path);
        session.PressButton();
        session.DeviceOpened();
    }
    // The device closes after the stop, as the real one does.
    void StopAndClose() {
        session.PressButton();
        fake.active = false;
        session.DeviceClosed();
    }
    void FinishEncodingWith(std::function<void()> encoding) {
        fake.onEncode = [this, encoding] {
            session.EncodingBegun();
            if (encoding) encoding();
        };
    }
};

// What each state shows: caption, enabled, visible button, switch, countdown,
// timer, indicator, panel in front, panel title.
struct Shown {
    const char* caption;
    bool enabled, buttonVisible, switchVisible;
    const char* time;
    bool countdown, indicator, encoding;
    const char* title;
};

void ExpectShows(const RecorderDisplay& d, const Shown& s, const char* state) {
    EXPECT_EQ(d.buttonCaption, s.caption) << state;
    EXPECT_EQ(d.buttonEnabled, s.enabled) << state;
    EXPECT_EQ(d.buttonVisible, s.buttonVisible) << state;
    EXPECT_EQ(d.switchVisible, s.switchVisible) << state;
    EXPECT_EQ(d.minutes + ":" + d.seconds, s.time) << state;
    EXPECT_EQ(d.countdownRunning, s.countdown) << state;
    EXPECT_EQ(d.indicatorRunning, s.indicator) << state;
    EXPECT_EQ(d.encodingShown, s.encoding) << state;
    EXPECT_EQ(d.panelTitle, s.title) << state;
}

const Shown kNoTarget{"Démarrer", false, true, true, "00:00", false, false, false, "Enregistrement"};
const Shown kReady{"Démarrer", true, true, true, "00:00", false, false, false, "Enregistrement"};
const Shown kRecording{"Arrêter", true, true, true, "01:00", true, true, false, "Enregistrement"};
const Shown kClosing{"Démarrer", false, true, true, "00:00", false, false, false, "Enregistrement"};
const Shown kEncoding{"Démarrer", false, false, false, "00:00", false, false, true, "Compression au format MP3"};

TEST_F(Session, Mp3RecordingGoesThroughEveryStateWithItsDisplay) {
    ExpectShows(session.Display(), kNoTarget, "at start");
    session.PressButton();
    EXPECT_TRUE(fake.recordedTo.empty()) << "a disabled button starts nothing";

    Choose("C:\\R\\Flumen.mp3");
    EXPECT_EQ(fake.askedIn, std::vector<std::string>{kFolder});
    EXPECT_EQ(session.State(), RecorderState::Ready);
    ExpectShows(fake.rendered, kReady, "ready");

    session.PressButton();
    session.DeviceOpened();
    EXPECT_EQ(session.State(), RecorderState::Recording);
    ExpectShows(fake.rendered, kRecording, "recording");
    EXPECT_EQ(fake.recordedTo, std::vector<std::string>{"C:\\Temp\\TempFlumen.wav"});

    session.PressButton();
    EXPECT_EQ(session.State(), RecorderState::Closing);
    ExpectShows(fake.rendered, kClosing, "closing");
    EXPECT_EQ(fake.stops, 1);
    EXPECT_EQ(fake.beeps, 1);

    fake.files.insert("C:\\Temp\\TempFlumen.wav");
    FinishEncodingWith([this] {
        EXPECT_EQ(session.State(), RecorderState::Encoding);
        ExpectShows(fake.rendered, kEncoding, "encoding");
        session.EncodingProgress(42);
        EXPECT_EQ(fake.rendered.progress, 42);
        session.EncodingEnded();
    });
    fake.active = false;
    session.DeviceClosed();
    EXPECT_EQ(fake.encoded, std::vector<std::string>{"C:\\Temp\\TempFlumen.wav -> C:\\R\\Flumen.mp3"});
    EXPECT_EQ(session.State(), RecorderState::NoTarget);
    ExpectShows(fake.rendered, kNoTarget, "after the encoding");
    EXPECT_EQ(fake.files.count("C:\\Temp\\TempFlumen.wav"), 0u) << "the temporary capture is deleted";
    EXPECT_TRUE(fake.errors.empty());
}

TEST_F(Session, WavTargetIsRecordedInPlaceReplacingAnOldFileAndNeedsANewChoice) {
    fake.files.insert("C:\\R\\x.WAV");
    StartRecording("C:\\R\\x.WAV");
    EXPECT_EQ(fake.deleted, std::vector<std::string>{"C:\\R\\x.WAV"}) << "the old file goes before recording";
    EXPECT_EQ(fake.recordedTo, std::vector<std::string>{"C:\\R\\x.WAV"});
    StopAndClose();
    EXPECT_TRUE(fake.encoded.empty()) << "a WAV target is never encoded";
    EXPECT_EQ(session.State(), RecorderState::NoTarget);
    EXPECT_EQ(session.WaveFile(), "C:\\R\\x.WAV") << "the target is kept until the next choice";
    session.PressButton();
    EXPECT_EQ(fake.recordedTo.size(), 1u) << "the button stays disabled until a new choice";
}

TEST_F(Session, CountdownStopsByItselfOnTheSixtiethTick) {
    StartRecording("C:\\R\\a.wav");
    for (int i = 0; i < 59; ++i) session.Tick();
    EXPECT_EQ(fake.rendered.minutes + ":" + fake.rendered.seconds, "00:01");
    EXPECT_EQ(fake.stops, 0);
    session.Tick();
    EXPECT_EQ(fake.stops, 1);
    EXPECT_EQ(fake.beeps, 1);
    ExpectShows(fake.rendered, kClosing, "after the last tick");
    session.Tick();
    EXPECT_EQ(fake.stops, 1) << "a late tick does nothing";
}

TEST_F(Session, TheFileChoiceDoesNothingWhileTheDeviceIsActive) {
    StartRecording("C:\\R\\a.wav");
    session.ChooseTarget();
    session.PressButton();  // closing: the device is still active
    session.ChooseTarget();
    EXPECT_EQ(fake.askedIn.size(), 1u);
    fake.active = false;
    session.DeviceClosed();
    Choose("C:\\R\\b.wav");
    EXPECT_EQ(fake.askedIn.size(), 2u);
    EXPECT_EQ(session.State(), RecorderState::Ready);
}

TEST_F(Session, ACancelledDialogKeepsTheState) {
    Choose("C:\\R\\a.wav");
    fake.answer.reset();
    session.ChooseTarget();
    EXPECT_EQ(session.State(), RecorderState::Ready);
    EXPECT_EQ(session.WaveFile(), "C:\\R\\a.wav");
}

TEST_F(Session, ATargetThatCannotBeWrittenLeavesTheWindowUsable) {
    Choose("Z:\\read-only\\a.wav");
    fake.refuseRecording = true;
    EXPECT_THROW(session.PressButton(), std::runtime_error);
    EXPECT_EQ(session.State(), RecorderState::Ready);
    ExpectShows(fake.rendered, kReady, "after a refused start");
    fake.refuseRecording = false;
    session.PressButton();
    EXPECT_EQ(fake.recordedTo.size(), 1u) << "a second try can start";
}

TEST_F(Session, WithoutATemporaryFolderAnMp3RecordingIsRefusedAndNothingChanges) {
    fake.temp.reset();
    fake.systemTemp.clear();
    fake.files.insert("C:\\R\\a.mp3");
    Choose("C:\\R\\a.mp3");
    const int rendersBefore = fake.renders;
    session.PressButton();
    ASSERT_EQ(fake.errors.size(), 1u);
    EXPECT_NE(fake.errors[0].find("TEMP"), std::string::npos) << fake.errors[0];
    EXPECT_TRUE(fake.recordedTo.empty());
    EXPECT_TRUE(fake.deleted.empty()) << "the old target is left alone";
    EXPECT_EQ(fake.renders, rendersBefore);
    EXPECT_EQ(session.State(), RecorderState::Ready);
}

// What fails once the capture has closed: the window comes back as at the
// start, the error names the reason and the file kept, nothing is encoded
// from a file that could not be completed, and no partial MP3 is left.
TEST_F(Session, FailuresAfterTheCaptureRestoreTheWindowAndKeepTheCapture) {
    struct Row {
        const char* name;
        const char* target;
        const char* fileError;  // the capture file's header could not be completed
        bool encoderFails;
        bool quitting;
        size_t encodings;
        std::vector<const char*> errorParts;
    };
    const char* const kUnfinished = "L'en-tête du fichier WAV n'a pas pu être complété (écriture impossible).";
    const Row rows[] = {
        {"encoder fails half way", "C:\\R\\a.mp3", "", true, false, 1,
         {"beEncodeChunk failed 3", "C:\\Temp\\TempFlumen.wav"}},
        {"MP3 capture not completed", "C:\\R\\a.mp3", kUnfinished, false, false, 0,
         {kUnfinished, "C:\\Temp\\TempFlumen.wav", "MP3"}},
        {"WAV target not completed", "C:\\R\\a.wav", kUnfinished, false, false, 0, {kUnfinished, "C:\\R\\a.wav"}},
        {"not completed while quitting", "C:\\R\\a.wav", kUnfinished, false, true, 0, {kUnfinished}},
    };
    for (const Row& row : rows) {
        FakeParts local;
        RecorderSession s{RecorderParts{local, local, local, local, local}, kFolder};
        local.answer = row.target;
        s.ChooseTarget();
        s.PressButton();
        s.DeviceOpened();
        const std::string capture = local.recordedTo.at(0);
        local.files = {capture};
        local.onEncode = [&] {
            s.EncodingBegun();
            local.files.insert(row.target);  // half written
            if (row.encoderFails) throw std::runtime_error("beEncodeChunk failed 3");
            s.EncodingEnded();
        };
        s.PressButton();
        if (row.quitting) s.Quit();
        local.fileError = row.fileError;
        local.active = false;
        s.DeviceClosed();

        ExpectShows(local.rendered, kNoTarget, row.name);
        EXPECT_EQ(s.State(), RecorderState::NoTarget) << row.name;
        EXPECT_EQ(local.encoded.size(), row.encodings) << row.name;
        EXPECT_EQ(local.files, std::set<std::string>{capture}) << row.name << ": capture kept, no partial MP3";
        EXPECT_EQ(local.errors.size(), 1u) << row.name;
        const std::string shown = local.errors.empty() ? "" : local.errors[0];
        for (const char* part : row.errorParts)
            EXPECT_NE(shown.find(part), std::string::npos) << row.name << ": " << shown;
    }
}

TEST_F(Session, QuittingWhileTheDeviceClosesStartsNoEncoding) {
    StartRecording("C:\\R\\a.mp3");
    session.PressButton();
    session.Quit();
    fake.active = false;
    session.DeviceClosed();
    EXPECT_TRUE(fake.encoded.empty());
    EXPECT_TRUE(fake.deleted.empty()) << "the capture stays in the temporary folder";
}

TEST_F(Session, QuittingDuringAnEncodingDropsTheUnfinishedMp3Silently) {
    StartRecording("C:\\R\\a.mp3");
    fake.files = {"C:\\Temp\\TempFlumen.wav"};
    FinishEncodingWith([this] {
        fake.files.insert("C:\\R\\a.mp3");
        throw EncodingCancelled();
    });
    StopAndClose();
    EXPECT_EQ(fake.files, std::set<std::string>{"C:\\Temp\\TempFlumen.wav"});
    EXPECT_TRUE(fake.errors.empty());
    EXPECT_EQ(session.State(), RecorderState::NoTarget);
}

TEST_F(Session, TwoMp3RecordingsInARowEachEncodeTheirOwnTarget) {
    FinishEncodingWith([this] { session.EncodingEnded(); });
    StartRecording("C:\\R\\one.mp3");
    StopAndClose();
    StartRecording("C:\\R\\two.mp3");
    StopAndClose();
    EXPECT_EQ(fake.encoded, (std::vector<std::string>{"C:\\Temp\\TempFlumen.wav -> C:\\R\\one.mp3",
                                                      "C:\\Temp\\TempFlumen.wav -> C:\\R\\two.mp3"}));
}

// The keys in each state of an MP3 recording: what Tab reaches, what Enter
// on "Démarrer"/"Arrêter" and Esc do, and where the focus goes when it was on
// that button.
TEST_F(Session, KeysInEveryStateAndWhereTheFocusGoes) {
    constexpr int kSwitch = static_cast<int>(RecorderElementId::Image30);
    constexpr int kFile = static_cast<int>(RecorderElementId::Image14);
    constexpr int kFolder = static_cast<int>(RecorderElementId::Image13);
    constexpr int kButton = kRecorderButtonId;
    struct Seen {
        RecorderState state;
        RecorderDisplay display;
    };
    std::vector<Seen> seen;
    auto see = [&] { seen.push_back({session.State(), session.Display()}); };
    see();
    Choose("C:\\R\\Flumen.mp3");
    see();
    session.PressButton();
    session.DeviceOpened();
    see();
    session.PressButton();
    see();
    FinishEncodingWith([&] {
        see();
        session.EncodingEnded();
    });
    fake.active = false;
    session.DeviceClosed();
    see();

    struct Row {
        const char* state;
        std::vector<int> stops;
        int enterOnButton;
        bool escapeHides;
        int focusFromButton;
    };
    const Row rows[] = {
        {"no file chosen", {kSwitch, kFile, kFolder}, 0, true, kFile},
        {"ready", {kSwitch, kFile, kButton, kFolder}, kButton, true, kButton},
        {"recording", {kSwitch, kFile, kButton, kFolder}, kButton, false, kButton},
        {"closing the capture", {kSwitch, kFile, kFolder}, 0, false, kFile},
        {"writing the MP3", {}, 0, true, 0},
        {"done: a new file to choose", {kSwitch, kFile, kFolder}, 0, true, kFile},
    };
    ASSERT_EQ(seen.size(), std::size(rows));
    for (size_t i = 0; i < seen.size(); ++i) {
        const Row& row = rows[i];
        const RecorderDisplay& display = seen[i].display;
        EXPECT_EQ(ReachableStops(RecorderTabStops(display)), row.stops) << row.state;
        EXPECT_EQ(RecorderKeyAction(seen[i].state, display, kButton, RecorderKey::Enter),
                  (RecorderKeyAct{row.enterOnButton, false}))
            << row.state;
        EXPECT_EQ(RecorderKeyAction(seen[i].state, display, kButton, RecorderKey::Escape),
                  (RecorderKeyAct{0, row.escapeHides}))
            << row.state;
        EXPECT_EQ(RecorderFocusAfter(display, kButton), row.focusFromButton) << row.state;
        for (int stop : row.stops) {
            EXPECT_EQ(RecorderKeyAction(seen[i].state, display, stop, RecorderKey::Enter).press, stop) << row.state;
            EXPECT_EQ(RecorderFocusAfter(display, stop), stop) << row.state;
        }
    }
}
}  // namespace
