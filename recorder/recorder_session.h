// What the recorder window does, apart from drawing it: the target choice,
// the start, the one-minute countdown, the stop, the device's open and close,
// and the MP3 encoding of an MP3 target, with what the window shows in each
// state (no target → ready → recording → closing → encoding → no target).
// The window renders RecorderDisplay and forwards its events here; the
// capture device, the encoder, the save dialog and the system's services come
// in through the small interfaces below.
#pragma once
#include <optional>
#include <stdexcept>
#include <string>

#include "recorder/recording_rules.h"

inline constexpr const char* kStartCaption = "Démarrer";
inline constexpr const char* kStopCaption = "Arrêter";
inline constexpr const char* kRecordingTitle = "Enregistrement";
inline constexpr const char* kEncodingTitle = "Compression au format MP3";

// Everything of the window that changes.
struct RecorderDisplay {
    std::string buttonCaption = kStartCaption;
    bool buttonEnabled = false;
    // The button and the help-balloon switch hide while an MP3 is written.
    bool buttonVisible = true;
    bool switchVisible = true;
    std::string minutes = "00";
    std::string seconds = "00";
    bool countdownRunning = false;
    bool indicatorRunning = false;
    // The dark panel comes to the front and covers the top row; the progress
    // bar shows over it.
    bool encodingShown = false;
    int progress = 0;
    std::string panelTitle = kRecordingTitle;

    bool operator==(const RecorderDisplay&) const = default;
};

enum class RecorderState { NoTarget, Ready, Recording, Closing, Encoding };

class RecorderView {
public:
    virtual ~RecorderView() = default;
    virtual void Render(const RecorderDisplay& display) = 0;
};

// The capture component: records into a WAV file until told to stop; the
// device's open and close come back as DeviceOpened / DeviceClosed.
class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    virtual bool IsActive() = 0;
    // Creates (or empties) the file and opens the device; throws when either fails.
    virtual void RecordToFile(const std::string& path) = 0;
    // Asks the device to close; the close comes later.
    virtual void Stop() = 0;
    // Why the file of the capture that has just closed could not be completed
    // (its header unfinished), empty when it was. The caller shows it.
    virtual std::string TakeFileError() = 0;
};

// The program is ending: the encoding stops where it is.
class EncodingCancelled : public std::runtime_error {
public:
    EncodingCancelled() : std::runtime_error("encoding cancelled") {}
};

// Encodes a WAV file into an MP3 file before returning, reporting through
// EncodingBegun / EncodingProgress / EncodingEnded; throws on failure, and
// EncodingCancelled when the program is ending.
class Mp3Encoder {
public:
    virtual ~Mp3Encoder() = default;
    virtual void Encode(const std::string& wavPath, const std::string& mp3Path) = 0;
};

// The save dialog: the chosen path, or none when the user cancels.
class TargetDialog {
public:
    virtual ~TargetDialog() = default;
    virtual std::optional<std::string> AskTarget(const std::string& initialFolder) = 0;
};

class RecorderSystem {
public:
    virtual ~RecorderSystem() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // False when the file could not be deleted.
    virtual bool DeleteFile(const std::string& path) = 0;
    // TEMP, or none when it is not set.
    virtual std::optional<std::string> TempVariable() = 0;
    // The system's temporary folder, empty when unknown.
    virtual std::string SystemTempFolder() = 0;
    // The information beep of every stop.
    virtual void InformationBeep() = 0;
    // The application's error box.
    virtual void ShowError(const std::string& message) = 0;
};

struct RecorderParts {
    RecorderView& view;
    CaptureDevice& device;
    Mp3Encoder& encoder;
    TargetDialog& dialog;
    RecorderSystem& system;
};

class RecorderSession {
public:
    // recordingsFolder: where the save dialog opens, with its trailing backslash.
    RecorderSession(const RecorderParts& parts, std::string recordingsFolder);

    RecorderState State() const { return state_; }
    const RecorderDisplay& Display() const { return display_; }
    const std::string& WaveFile() const { return waveFile_; }

    // The file-choice image.
    void ChooseTarget();
    // "Démarrer" / "Arrêter", by the caption.
    void PressButton();
    // Every second while the countdown runs.
    void Tick();
    void DeviceOpened();
    // The capture has ended: a complete WAV target is done, a complete MP3
    // capture is encoded; a file that could not be completed is reported.
    void DeviceClosed();
    void EncodingBegun();
    void EncodingProgress(int percent);
    void EncodingEnded();
    // The program is ending: a capture still closing starts no encoding.
    void Quit() { quitting_ = true; }

private:
    void Start();
    void Stop();
    void BackToReady();
    void EncodeCapture();
    void ReportUnfinishedFile(const std::string& why);
    void RestoreAfterEncoding();
    void Show();

    RecorderParts parts_;
    std::string recordingsFolder_;
    RecorderState state_ = RecorderState::NoTarget;
    RecorderDisplay display_;
    std::string waveFile_;
    // What the capture in progress writes, and what it becomes.
    TargetKind captureKind_ = TargetKind::Wav;
    std::string capturePath_;
    bool quitting_ = false;
};
