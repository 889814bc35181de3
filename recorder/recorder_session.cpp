#include "recorder/recorder_session.h"

#include <exception>

RecorderSession::RecorderSession(const RecorderParts& parts, std::string recordingsFolder)
    : parts_(parts), recordingsFolder_(std::move(recordingsFolder)) {}

void RecorderSession::ChooseTarget() {
    // While the panel covers the top row nothing can be chosen either.
    if (parts_.device.IsActive() || state_ == RecorderState::Encoding) return;
    std::optional<std::string> chosen = parts_.dialog.AskTarget(recordingsFolder_);
    if (!chosen) return;
    waveFile_ = *chosen;
    state_ = RecorderState::Ready;
    display_.buttonEnabled = true;
    Show();
}

void RecorderSession::PressButton() {
    if (display_.buttonCaption == kStartCaption) {
        if (state_ == RecorderState::Ready) Start();
    } else {
        Stop();
    }
}

void RecorderSession::Start() {
    captureKind_ = KindOfTarget(waveFile_);
    capturePath_ = waveFile_;
    if (captureKind_ == TargetKind::Mp3) {
        std::optional<std::string> temporary =
            TemporaryCapturePath(parts_.system.TempVariable(), parts_.system.SystemTempFolder());
        if (!temporary) {
            parts_.system.ShowError(
                "Ooops ! Aucun dossier temporaire n'est disponible pour l'enregistrement au format MP3 : "
                "la variable TEMP n'est pas utilisable et le système n'en indique pas d'autre.");
            return;
        }
        capturePath_ = *temporary;
    }

    display_.minutes = "01";
    display_.buttonCaption = kStopCaption;
    display_.countdownRunning = true;
    state_ = RecorderState::Recording;
    Show();

    try {
        if (parts_.system.FileExists(waveFile_)) parts_.system.DeleteFile(waveFile_);
        parts_.device.RecordToFile(capturePath_);
    } catch (...) {
        // A target that cannot be written: the window is usable again and the
        // device is not left open.
        if (parts_.device.IsActive()) parts_.device.Stop();
        BackToReady();
        throw;
    }
    display_.indicatorRunning = true;
    Show();
}

void RecorderSession::BackToReady() {
    state_ = RecorderState::Ready;
    display_.buttonCaption = kStartCaption;
    display_.buttonEnabled = true;
    display_.countdownRunning = false;
    display_.indicatorRunning = false;
    display_.minutes = "00";
    display_.seconds = "00";
    Show();
}

void RecorderSession::Tick() {
    if (!display_.countdownRunning) return;
    CountdownStep step = NextCountdownStep(display_.minutes, display_.seconds);
    if (step.stop) {
        Stop();
        return;
    }
    display_.minutes = step.minutes;
    display_.seconds = step.seconds;
    Show();
}

void RecorderSession::Stop() {
    // Closing first: the device may report its close before Stop returns.
    state_ = RecorderState::Closing;
    const bool wasActive = parts_.device.IsActive();
    display_.countdownRunning = false;
    display_.indicatorRunning = false;
    display_.buttonCaption = kStartCaption;
    display_.buttonEnabled = false;
    display_.minutes = "00";
    display_.seconds = "00";
    Show();
    parts_.system.InformationBeep();
    if (wasActive)
        parts_.device.Stop();
    else
        state_ = RecorderState::NoTarget;
}

void RecorderSession::DeviceOpened() {
    display_.buttonCaption = kStopCaption;
    Show();
}

void RecorderSession::DeviceClosed() {
    if (state_ != RecorderState::Closing) return;
    state_ = RecorderState::NoTarget;
    // Even while quitting: a file left without its sizes must not pass for a recording.
    if (const std::string why = parts_.device.TakeFileError(); !why.empty()) {
        ReportUnfinishedFile(why);
        return;
    }
    if (quitting_ || captureKind_ != TargetKind::Mp3) return;
    EncodeCapture();
}

void RecorderSession::ReportUnfinishedFile(const std::string& why) {
    // Nothing is encoded from it, and it stays where it is: its samples may
    // still be worth something.
    parts_.system.ShowError("Ooops ! " + why + "\r\nLe fichier " + capturePath_ + " est incomplet" +
                            (captureKind_ == TargetKind::Mp3 ? " et n'a pas été compressé au format MP3." : "."));
}

void RecorderSession::EncodeCapture() {
    state_ = RecorderState::Encoding;
    try {
        parts_.encoder.Encode(capturePath_, waveFile_);
    } catch (const EncodingCancelled&) {
        // The program is ending: a half-written MP3 must not pass for a
        // recording; the capture stays in the temporary folder.
        RestoreAfterEncoding();
        if (parts_.system.FileExists(waveFile_)) parts_.system.DeleteFile(waveFile_);
    } catch (const std::exception& error) {
        RestoreAfterEncoding();
        if (parts_.system.FileExists(waveFile_)) parts_.system.DeleteFile(waveFile_);
        parts_.system.ShowError("Ooops ! La compression au format MP3 a échoué : " + std::string(error.what()) +
                                "\r\nL'enregistrement est conservé au format WAV dans le fichier " + capturePath_ +
                                " (le prochain enregistrement MP3 le remplacera).");
    }
    if (state_ == RecorderState::Encoding) state_ = RecorderState::NoTarget;
}

void RecorderSession::EncodingBegun() {
    display_.encodingShown = true;
    display_.progress = 0;
    display_.buttonVisible = false;
    display_.switchVisible = false;
    display_.panelTitle = kEncodingTitle;
    Show();
}

void RecorderSession::EncodingProgress(int percent) {
    display_.progress = percent;
    Show();
}

void RecorderSession::EncodingEnded() {
    RestoreAfterEncoding();
    parts_.system.DeleteFile(capturePath_);
    state_ = RecorderState::NoTarget;
}

void RecorderSession::RestoreAfterEncoding() {
    display_.panelTitle = kRecordingTitle;
    display_.encodingShown = false;
    display_.progress = 0;
    display_.buttonVisible = true;
    display_.switchVisible = true;
    Show();
}

void RecorderSession::Show() { parts_.view.Render(display_); }
