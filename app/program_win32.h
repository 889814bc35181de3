// The program root: owns the services of the main window (the list and its
// file, the tray icon and menu, the browser host, the mute controller,
// autostart, playback) and the program's windows, creates them in the
// start-up order, and wires the tray's commands to them. It lives as long as
// the program; closing the main window ends it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/tray_presenter_win32.h"
#include "audio/mute.h"
#include "audio/mute_win32.h"
#include "desktop/url_drop_target_win32.h"
#include "editor/choosers.h"
#include "editor/choosers_win32.h"
#include "editor/editor_window_win32.h"
#include "editor/help_balloon_hints_win32.h"
#include "editor/help_balloons.h"
#include "editor/list_editor.h"
#include "list/program_folder.h"
#include "list/stream_list.h"
#include "playback/browser_host_win32.h"
#include "playback/now_playing.h"
#include "playback/playback.h"
#include "recorder/recorder_window_win32.h"
#include "rotation/rotation_window_win32.h"
#include "stream/stream_probe_win32.h"
#include "tray/autostart_win32.h"
#include "tray/mute_toggle.h"
#include "win/ole_session_win32.h"
#include "win/platform_win32.h"

inline constexpr const char* kTutorialPage = "Tutoriel.htm";

class Program : private MainWindowHost,
                private EditorWindowServices,
                private RotationWindowServices,
                private RecorderWindowServices {
public:
    // Creates the main window and runs its creation step, then the rotation
    // and recorder windows, all hidden.
    explicit Program(HINSTANCE instance);
    // Called after each step of the construction with the step's name; what
    // it throws fails the construction there (tests).
    using StepProbe = std::function<void(std::string_view step)>;
    // The same with the program folder given (with its trailing backslash).
    Program(HINSTANCE instance, std::string folder, StepProbe afterStep = {});
    ~Program() override;

private:
    void Build();
    void ShutDown();
    void StopRotation();
    void RunCreationStep();
    void WireNowPlaying();
    void WireChoosers();
    void CreateDropTarget();
    void LoadListAndMenu();
    void OpenEditor();
    void AnnounceReady();
    void ToggleAutostart();
    void OpenWebPage(const std::string& address);
    void Quit();
    void OnMediaKey(WPARAM hotKey);

    void OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnMenuCommand(UINT id) override;
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnMainWindowDestroyed() override;
    void OnSessionEnding() override;

    // The editor window's services.
    MainWindowHost& Host() override { return *this; }
    StreamList& List() override { return list_; }
    HelpBalloons& Balloons() override { return balloons_; }
    HelpBalloonHints& BalloonHints() override { return *balloonHints_; }
    void ChoosePage() override;
    void ChooseIcon() override;
    void ImportList() override;
    void ExportList() override;
    void LoadStreamList() override;
    void SaveStreamList() override;
    void RebuildListMenu() override;
    int ListMenuItemCount() override;
    void PlayMenuItem(int item) override;
    std::string ExistingIconPath(const std::string& iconFile) override;
    void InformationBeep() override;
    void ExclamationBeep() override;
    void ShowWarning(const std::string& text) override;

    // The rotation and recorder windows' services.
    const ProgramFolder& Folder() override { return folder_; }
    FileSystem& Files() override { return files_; }
    std::string SongTitle() override;
    void ShowBrowserHost() override;
    void HideBrowserHost() override;
    Browser& FirstBrowser() override;
    Browser& SecondBrowser() override;
    void AttachAlwaysOn(HWND control, int key, const std::string& hint) override;

    // The recorder window's help balloons.
    void AddHelpBalloon(const RecorderElement& element) override;
    void PointerMoved(HWND control, const RecorderElement& element, POINT screenPoint) override;
    void SwitchHelpBalloons() override;

    HINSTANCE instance_;
    // Begun after the tray icon shows, ended after everything that uses it.
    std::optional<OleSession> ole_;
    StepProbe afterStep_;
    ProgramFolder folder_;
    Win32FileSystem files_;
    UserLocaleCollation collation_;
    MessageBoxNotices notices_;
    StreamList list_;
    StreamListFile listFile_;

    // The one balloon-hint component of the program, for every window's help
    // balloons; it outlives the windows whose controls it watches.
    HelpBalloons balloons_;
    std::unique_ptr<HelpBalloonHints> balloonHints_;
    std::unique_ptr<EditorWindow> editor_;
    std::unique_ptr<TrayPresenter> tray_;
    std::unique_ptr<BrowserHost> browserHost_;
    std::unique_ptr<WinmmMixer> mixer_;
    std::unique_ptr<TVolumeController> volume_;
    std::unique_ptr<MuteSwitch> muteSwitch_;
    std::unique_ptr<MuteToggle> mute_;
    Win32RunKey runKey_;
    std::unique_ptr<Win32AutostartFeedback> autostartFeedback_;
    std::unique_ptr<Autostart> autostart_;
    std::unique_ptr<Playback> playback_;
    std::unique_ptr<Win32FileDialogs> fileDialogs_;
    std::unique_ptr<Win32ChooserServices> chooserServices_;
    std::unique_ptr<EditorChoosers> choosers_;
    std::unique_ptr<TUrlDropTarget> dropTarget_;
    std::unique_ptr<RotationWindow> rotation_;
    std::unique_ptr<RecorderWindow> recorder_;
    // What plays: its stream's server, asked on another thread.
    std::unique_ptr<StreamProbe> probe_;
    std::unique_ptr<StreamAsker> asker_;
    std::unique_ptr<NowPlaying> nowPlaying_;
    std::unique_ptr<AnswerWait> answerWait_;
};
