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

#include "audio/mp3_coder.h"
#include "audio/wave_recorder_win32.h"
#include "recorder/recorder_session.h"
#include "recorder/recorder_window_layout.h"
#include "win/handles_win32.h"
#include "win/simple_timer_win32.h"
#include "win/window_win32.h"

inline constexpr const char* kRecorderWindowClass = "SonorafluxRecorderWindow";
inline constexpr const char* kRecorderCaption = "Sonoraflux - 1 minute MAX d'enregistrement...  :-s";
inline constexpr const char* kRecordingsFolderName = "Enregistrements";

// The window's pictures, from the program's resources; magenta is see-through.
struct RecorderPictureSet {
    UniqueBitmap choose;     // Image14: folder with a red check mark
    UniqueBitmap symbol;     // Image12: the Flumen's symbol
    UniqueBitmap folder;     // Image13: folder with a disc
    UniqueBitmap helpSwitch; // Image30: balloon with the letter i
    UniqueBitmap indicator;  // BmpAnimator1: four 27x7 frames side by side
};
inline constexpr int kIndicatorFrames = 4;
inline constexpr int kIndicatorFrameWidth = 27;
inline constexpr int kIndicatorFrameHeight = 7;
inline constexpr UINT kIndicatorFrameMs = 500;

// What the window needs from the rest of the program.
struct RecorderWindowServices {
    // The program folder, with its trailing backslash.
    std::string programFolder;
    // The help-balloon switch of the program (the editor's operation).
    std::function<void()> toggleHelpBalloons;
    // The mouse rests on one of the window's elements: its balloon title and
    // picture are prepared, and the balloon shows when it is on.
    std::function<void(HWND window, const RecorderElement& element, const RECT& area)> pointerOver;
    // Seams for the tests; the program leaves them empty: the real save
    // dialog and LAME_ENC.DLL.
    std::unique_ptr<TargetDialog> dialog;
    MP3EncoderLibrary* encoder = nullptr;
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
    int IndicatorFrame() const { return indicatorFrame_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class CaptureAdapter;
    class EncoderAdapter;
    class SystemAdapter;

    void FormCreate(HINSTANCE instance);
    void CreateControls();
    void Render(const RecorderDisplay& display) override;
    void Paint(HDC dc);
    void PaintPanel(HDC dc, bool encoding);
    void PaintTopRow(HDC dc);
    void PaintPicture(HDC dc, HBITMAP picture, const RECT& place, int frame = 0, int frameWidth = 0);
    void OnClick(POINT at);
    void OnMouseMove(POINT at);
    bool OnSetCursor();
    void OpenRecordingsFolder();
    void AdvanceIndicator();
    // The element under the point that the user can reach now (the panel
    // covers the top row while an MP3 is written).
    const RecorderElement* ReachableElementAt(POINT at) const;

    RecorderWindowServices services_;
    UniqueFont font_;
    UniqueFont boldFont_;
    HCURSOR handCursor_ = nullptr;
    RecorderPictureSet pictures_;
    UniqueWindow button_;
    UniqueWindow progress_;

    std::unique_ptr<TWaveRecorder> recorder_;
    std::unique_ptr<TMP3Coder> coder_;
    TSimpleTimer timer_;
    TSimpleTimer indicatorTimer_;
    int indicatorFrame_ = 0;

    std::unique_ptr<CaptureAdapter> capture_;
    std::unique_ptr<EncoderAdapter> encoderAdapter_;
    std::unique_ptr<SystemAdapter> system_;
    std::unique_ptr<RecorderSession> session_;
    RecorderDisplay shown_;
};
