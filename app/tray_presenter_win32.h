// The tray side of the program as playback and the mute see it: the tray icon
// with its two image sets, the tray menu with its flat look, "Ma liste"
// rebuilt from the list, and the media keys, held while its playing mark is set.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "desktop/tray_icon_win32.h"
#include "list/program_folder.h"
#include "list/stream_list.h"
#include "playback/playback.h"
#include "tray/media_keys_win32.h"
#include "tray/mute_toggle.h"
#include "tray/tray_menu_win32.h"
#include "ui/flat_menu_win32.h"
#include "win/handles_win32.h"
#include "win/simple_timer_win32.h"

class TrayPresenter : public PlaybackIndicator, public PlaybackMenu, public TrayImageSets {
public:
    // owner: the main window, which gets the menu's messages and passes the
    // tray icon its own (TTrayIcon::OnOwnerMessage).
    TrayPresenter(HINSTANCE instance, HWND owner, const StreamList& list, const ProgramFolder& folder,
                  FileSystem& files);

    TTrayIcon& Icon() { return *trayIcon_; }
    TrayMenu& Menu() { return *trayMenu_; }
    FlatMenuLook& Look() { return *menuLook_; }
    // The icon leaves the notification area (the main window is going).
    void RemoveIcon() { trayIcon_.reset(); }
    bool HasIcon() const { return trayIcon_ != nullptr; }
    // The media keys' hot keys, to read a WM_HOTKEY; let go with LetGoOfMediaKeys.
    const MediaKeyHotKeys& MediaKeys() const { return mediaKeys_; }
    void LetGoOfMediaKeys() { mediaKeys_.Hold({}); }

    // Info balloon, 10 seconds.
    void ShowInfoBalloon(const std::string& title, const std::string& text) override;

    void SetHint(const std::string& hint) override;
    void SetCycleIcons(bool cycle) override;
    void SetIconIndex(int index) override;
    void ShowWarningBalloon(const std::string& title, const std::string& text) override;
    void MakeDefault(int item) override;
    void ClearDefault() override;
    void RebuildListMenu() override;
    void UseMutedSet(bool muted) override;

private:
    void HoldMediaKeysForPlayback();
    void ApplyLook();

    const StreamList& list_;
    const ProgramFolder& folder_;
    FileSystem& files_;
    UniqueImageList normalIcons_;
    UniqueImageList mutedIcons_;
    std::unique_ptr<TrayMenu> trayMenu_;
    std::unique_ptr<FlatMenuLook> menuLook_;
    std::unique_ptr<TTrayIcon> trayIcon_;
    UnreadableIconReports iconReports_;
    MediaKeyHotKeys mediaKeys_;
    TSimpleTimer fillMenu_;  // the rest of a long "Ma liste", a step per tick
};
