// The rotation window (TForm3): created hidden at start-up, shown by
// "Permuter..." without being modal; closing it only hides it. It holds its
// controls and the three one-shot timers; what it does lives in Rotation.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "list/program_folder.h"
#include "rotation/rotation.h"
#include "rotation/rotation_keys.h"
#include "ui/clickable_picture_win32.h"
#include "win/handles_win32.h"
#include "win/simple_timer_win32.h"
#include "win/window_win32.h"

inline constexpr const char* kRotationWindowClass = "SonorafluxRotationWindow";
inline constexpr const char* kRotationNotice =
    "Ce module est censé activer la lecture successive de chaque  Flumen pendant la durée choisie (avec Jingle "
    "de transition). Le développement de Sonoraflux étant en StandBy cette fonction n'a pas encore été "
    "finalisée...";
inline constexpr const char* kJingleDialogTitle = "Sélectionnez une page jouant un Jingle de transition";
inline constexpr const char* kBalloonSwitchHint = "Active / désactive les bulles d'aide";

// The standard open dialog, asking for a jingle page.
class OpenDialogJinglePicker : public JinglePicker {
public:
    explicit OpenDialogJinglePicker(HWND owner) : owner_(owner) {}
    std::optional<std::string> PickJinglePage(const std::string& startFolder) override;

private:
    HWND owner_;
};

// What the rotation window asks of the rest of the program: the browser host
// and "Ma liste" as the sequence drives them, the program folder and its
// files, and the help balloon of its switch.
class RotationWindowServices : public RotationServices {
public:
    virtual const ProgramFolder& Folder() = 0;
    virtual FileSystem& Files() = 0;
    // Shows the control's balloon under its key (unique in the program) with
    // that hint, whatever the state of the balloon switch: this window's
    // switch explains itself and switches nothing.
    virtual void AttachAlwaysOn(HWND control, int key, const std::string& hint) = 0;
    // What asks for a jingle page, owned by the window: the standard open
    // dialog (tests give others).
    virtual std::unique_ptr<JinglePicker> JinglePickerFor(HWND window);
};

class RotationWindow : public Window {
public:
    static constexpr int kClientWidth = 303;
    static constexpr int kClientHeight = 181;

    // The controls, by the ids they carry (see rotation/rotation_keys.h).
    using ControlId = rotation_controls::ControlId;

    // owner: the main window, so the rotation window has no taskbar button of
    // its own. The services must outlive the window.
    RotationWindow(HINSTANCE instance, HWND owner, RotationWindowServices& services);
    ~RotationWindow() override;

    HWND Control(ControlId id) const { return ::GetDlgItem(Handle(), id); }
    // The sequence's steps still to come are dropped.
    void StopSequence() { rotation_->StopSequence(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // A program timer as the rotation sees it.
    class Timer : public RotationTimer {
    public:
        void SetInterval(unsigned milliseconds) override { timer_.SetInterval(milliseconds); }
        void SetOnTimer(std::function<void()> onTimer) override { timer_.SetOnTimer(std::move(onTimer)); }
        void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
        bool Enabled() const override { return timer_.Enabled(); }

    private:
        TSimpleTimer timer_;
    };

    void CreateControls(HINSTANCE instance);
    HWND AddControl(const char* className, const char* text, DWORD style, int id, int x, int y, int width,
                    int height);
    HWND AddTrackBar(int id, const char* name, int x, int y);
    void AddPicture(ClickablePicture& control, const char* picture, ControlId id, const ControlPlace& place,
                    const char* name, std::function<void()> onClick);

    void OnCommand(int id, int code);
    LRESULT DefaultControl();
    void OnBarMoved(HWND bar);
    void DrawChosenJingle(const DRAWITEMSTRUCT& item);
    void DrawSeparator(const DRAWITEMSTRUCT& item);
    void Image1Click();
    void Image11Click();
    void Button1Click();
    void Button2Click();

    HCURSOR handCursor_ = nullptr;
    UniqueFont font_;
    ClickablePicture clock_, balloonSwitch_, jingleChooser_, listenImage_;
    std::unique_ptr<JinglePicker> picker_;
    Timer timer1_, timer2_, timer3_;
    std::unique_ptr<Rotation> rotation_;
};
