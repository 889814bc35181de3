// The main window (the list editor, hidden until "Editer..."). It owns the
// list, the tray icon with its two image sets, the tray menu, the hidden
// browser host and the mute controller, lives as long as the program, and
// closing it ends the program.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "audio/mute.h"
#include "audio/mute_win32.h"
#include "desktop/tray_icon_win32.h"
#include "list/list_platform_win32.h"
#include "list/program_folder.h"
#include "list/stream_list.h"
#include "playback/browser_host_win32.h"
#include "playback/playback.h"
#include "tray/autostart_win32.h"
#include "tray/mute_toggle.h"
#include "tray/tray_menu_win32.h"
#include "ui/flat_menu_win32.h"
#include "win/handles_win32.h"
#include "win/window_win32.h"

inline constexpr const char* kMainWindowClass = "SonorafluxMainWindow";
inline constexpr const char* kAuthorAddress = "https://www.sonoraflux.fr/auteur/";
inline constexpr const char* kTutorialPage = "Tutoriel.htm";

class EditorWindow : public Window,
                     private PlaybackIndicator,
                     private PlaybackMenu,
                     private BrowserWindow,
                     private TrayImageSets {
public:
    // Creates the hidden main window and runs its creation step: browser host,
    // mute controller, list and menu, the ready notice, the autostart state.
    explicit EditorWindow(HINSTANCE instance);
    ~EditorWindow() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr UINT kReopenMenuMessage = WM_APP + 1;

    void CreateTrayIcon();
    void RunCreationStep();
    void LoadListAndMenu();
    void AnnounceReady();
    void OnCommand(UINT id);
    void OpenEditor();
    void ToggleAutostart();
    void OpenWebPage(const std::string& address);
    void Quit();
    void OnDestroy();
    void OnEditorHidden();

    // Playback's view of the tray icon, the menu and the browser host.
    void SetHint(const std::string& hint) override;
    void SetCycleIcons(bool cycle) override;
    void SetIconIndex(int index) override;
    void ShowWarningBalloon(const std::string& title, const std::string& text) override;
    void MakeDefault(int item) override;
    void ClearDefault() override;
    void RebuildListMenu() override;
    void Show() override;
    void Hide() override;
    Browser& FirstBrowser() override;
    // The mute toggle's view of the tray icon.
    void UseMutedSet(bool muted) override;

    HINSTANCE instance_;
    ProgramFolder folder_;
    Win32FileSystem files_;
    UserLocaleCollation collation_;
    MessageBoxNotices notices_;
    StreamList list_;
    StreamListFile listFile_;

    UniqueImageList normalIcons_;
    UniqueImageList mutedIcons_;
    std::unique_ptr<TrayMenu> trayMenu_;
    FlatMenuLook menuLook_;
    std::unique_ptr<TTrayIcon> trayIcon_;
    std::unique_ptr<BrowserHost> browserHost_;
    std::unique_ptr<WinmmMixer> mixer_;
    std::unique_ptr<TVolumeController> volume_;
    std::unique_ptr<MuteSwitch> muteSwitch_;
    std::unique_ptr<MuteToggle> mute_;
    Win32RunKey runKey_;
    std::unique_ptr<Win32AutostartFeedback> autostartFeedback_;
    std::unique_ptr<Autostart> autostart_;
    std::unique_ptr<Playback> playback_;
};
