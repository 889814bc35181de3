// The recorder window (TForm4): created hidden at start-up, shown by
// "Enregistrer..."; closing it only hides it, and a recording goes on. It owns
// the capture component, the MP3 coder and the one-second countdown timer,
// draws its panel, texts and pictures, and hands every event to the
// RecorderSession, whose display it renders.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "audio/capture_to_file_win32.h"
#include "audio/mp3_coder.h"
#include "list/program_folder.h"
#include "recorder/recorder_controls_win32.h"
#include "recorder/recorder_session.h"
#include "recorder/recorder_window_layout.h"
#include "ui/bmp_animator_win32.h"
#include "ui/clickable_picture_win32.h"
#include "win/handles_win32.h"
#include "win/simple_timer_win32.h"
#include "win/window_win32.h"

inline constexpr const char* kRecorderWindowClass = "SonorafluxRecorderWindow";
inline constexpr const char* kRecorderCaption = "Sonoraflux - 1 minute MAX d'enregistrement...  :-s";
inline constexpr const char* kRecordingsFolderName = "Enregistrements";

// What the recorder window asks of the rest of the program: its folder, the
// song that plays and the help balloons; the save dialog, the encoder and the
// capture file are the real ones unless a test gives others.
class RecorderWindowServices {
public:
    virtual ~RecorderWindowServices() = default;
    virtual const ProgramFolder& Folder() = 0;
    // The song that plays (empty when none is known): the save dialog's proposed name.
    virtual std::string SongTitle() = 0;
    // Registers the element's help balloon (title, picture, hint).
    virtual void AddHelpBalloon(const RecorderElement& element) = 0;
    // The pointer moved over the element's control (screen coordinates).
    virtual void PointerMoved(HWND control, const RecorderElement& element, POINT screenPoint) = 0;
    // The program's help-balloon switch: one click changes the balloons of
    // every window.
    virtual void SwitchHelpBalloons() = 0;

    // The save dialog, owned by the window: the standard one proposing the song.
    virtual std::unique_ptr<TargetDialog> TargetDialogFor(HWND window);
    // LAME_ENC.DLL.
    virtual MP3EncoderLibrary& Encoder();
    // Creates (or empties) the capture file on disk; raises EStreamError when it cannot.
    virtual std::unique_ptr<ByteStream> OpenCaptureFile(const std::string& path);
};

class RecorderWindow : public Window, private RecorderView {
public:
    static constexpr int kClientWidth = 359;
    static constexpr int kClientHeight = 98;

    // owner: the main window, so the recorder has no taskbar button of its own.
    // The services must outlive the window.
    RecorderWindow(HINSTANCE instance, HWND owner, RecorderWindowServices& services);
    ~RecorderWindow() override;

    // The program is ending: a capture still open is finalised as it is and
    // no encoding starts; an encoding in progress stops.
    void Quit() { session_->Quit(); }

    const RecorderSession& Session() const { return *session_; }
    HWND Button() const { return button_.get(); }
    HWND ProgressBar() const { return progress_.get(); }
    int IndicatorFrame() const { return animator_.Frame(); }
    HWND Control(RecorderElementId id) const { return ::GetDlgItem(Handle(), static_cast<int>(id)); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class CaptureAdapter;
    class EncoderAdapter;
    class SystemAdapter;

    void FormCreate(HINSTANCE instance);
    void CreateControls();
    void Render(const RecorderDisplay& display) override;
    void AddHelpBalloons();
    void Paint(HDC dc);
    void PaintPanel(HDC dc, bool encoding);
    void OpenRecordingsFolder();
    void SwitchHelpBalloons();

    RecorderWindowServices& services_;
    std::unique_ptr<TargetDialog> dialog_;
    UniqueFont font_;
    UniqueFont boldFont_;
    HCURSOR handCursor_ = nullptr;
    UniqueWindow button_;
    UniqueWindow progress_;
    PanelPicture image14_;
    TimeFrame shape4_;
    TimeDigits label19_;
    TimeDigits label20_;
    PanelPicture image12_;
    BmpAnimator animator_;
    PanelPicture image13_;
    ClickablePicture image30_;

    std::unique_ptr<TWaveRecorder> recorder_;
    std::unique_ptr<TMP3Coder> coder_;
    TSimpleTimer timer_;

    std::unique_ptr<CaptureAdapter> capture_;
    std::unique_ptr<EncoderAdapter> encoderAdapter_;
    std::unique_ptr<SystemAdapter> system_;
    std::unique_ptr<RecorderSession> session_;
    RecorderDisplay shown_;
};
