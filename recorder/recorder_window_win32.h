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

// The program's help balloons, as the recorder uses them.
class RecorderHelpBalloons {
public:
    virtual ~RecorderHelpBalloons() = default;
    // Registers the element's balloon (title, picture, hint).
    virtual void AddHelpBalloon(const RecorderElement& element) = 0;
    // The pointer moved over the element's control (screen coordinates).
    virtual void PointerMoved(HWND control, const RecorderElement& element, POINT screenPoint) = 0;
    // The program's help-balloon switch: one click changes the balloons of
    // every window.
    virtual void SwitchHelpBalloons() = 0;
};

// What the window needs from the rest of the program.
struct RecorderWindowServices {
    // The program folder, with its trailing backslash.
    std::string programFolder;
    // None: no help balloons (the window is used alone).
    RecorderHelpBalloons* helpBalloons = nullptr;
    // Seams for the tests; the program leaves them empty: the real save
    // dialog and LAME_ENC.DLL.
    std::unique_ptr<TargetDialog> dialog;
    MP3EncoderLibrary* encoder = nullptr;
    // Creates (or empties) the capture file; raises EStreamError when it
    // cannot. Empty: the file on disk.
    std::function<std::unique_ptr<ByteStream>(const std::string& path)> openCaptureFile;
    // The song that plays (empty when none is known): the save dialog's proposed name.
    std::function<std::string()> songTitle;
};

class RecorderWindow : public Window, private RecorderView {
public:
    static constexpr int kClientWidth = 359;
    static constexpr int kClientHeight = 98;

    // owner: the main window, so the recorder has no taskbar button of its own.
    RecorderWindow(HINSTANCE instance, HWND owner, RecorderWindowServices services);
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

    RecorderWindowServices services_;
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
