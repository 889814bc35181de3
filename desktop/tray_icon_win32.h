// The notification-area icon: shows an image of an image list with a tooltip,
// cycles through the list, turns the shell's mouse reports into OnClick and the
// popup menu, shows balloon notifications, hides the owner window to the tray
// when it is minimised and puts the icon back when the taskbar is re-created.
//
// The owner window (the program's main window) passes every message it gets
// to OnOwnerMessage. The popup menu is tracked with the owner as its window, so
// the owner receives WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM and
// WM_COMMAND of the menu.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "win/simple_timer_win32.h"
#include "desktop/tray_icon.h"
#include "win/handles_win32.h"

class TTrayIconHandler;

// The message the shell sends to the callback window: wParam is the icon id,
// lParam the mouse message.
inline constexpr UINT kTrayCallbackMessage = 0x800;

// The one way into the shell, replaceable so tests can see every record sent.
using ShellNotifyProc = std::function<BOOL(DWORD message, NOTIFYICONDATAA& data)>;

// Installs proc as the way into the shell (an empty one restores the shell's
// own call) and returns the previous one.
ShellNotifyProc ReplaceShellNotify(ShellNotifyProc proc);

// Calls the shell's own Shell_NotifyIconA.
BOOL CallShellNotify(DWORD message, NOTIFYICONDATAA& data);

class TTrayIcon {
public:
    // owner: the window that gets the menu's messages and is hidden to the
    // tray; it must outlive the component, or forward its WM_NCDESTROY.
    explicit TTrayIcon(HWND owner);
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    ~TTrayIcon();

    // While false, every mouse report of the shell is ignored.
    void SetEnabled(bool enabled) noexcept { enabled_ = enabled; }
    bool Enabled() const noexcept { return enabled_; }

    // A copy of the icon is shown; it is replaced by IconList/IconIndex changes.
    void SetIcon(HICON icon);
    HICON Icon() const noexcept { return icon_.get(); }

    // Image list of 16x16 images, not owned; setting it shows its image 0.
    void SetIconList(HIMAGELIST list);
    HIMAGELIST IconList() const noexcept { return iconList_; }

    // Clamped into the list; past the end shows the last image.
    void SetIconIndex(int index);
    int IconIndex() const noexcept { return iconIndex_; }

    // True shows image 0 and advances one image every CycleInterval ms.
    void SetCycleIcons(bool cycle);
    bool CycleIcons() const noexcept { return cycleIcons_; }

    void SetCycleInterval(UINT milliseconds);
    UINT CycleInterval() const noexcept { return cycleInterval_; }

    void SetHint(const std::string& hint);
    const std::string& Hint() const noexcept { return hint_; }

    void SetShowHint(bool show);
    bool ShowHint() const noexcept { return showHint_; }

    // True adds the icon to the notification area, false removes it.
    void SetIconVisible(bool visible);
    bool IconVisible() const noexcept { return iconVisible_; }

    // Not owned; opened when the right button goes down on the icon.
    void SetPopupMenu(HMENU menu) noexcept { popupMenu_ = menu; }
    HMENU PopupMenu() const noexcept { return popupMenu_; }

    // Also open the menu when the left button goes down.
    void SetLeftPopup(bool leftPopup) noexcept { leftPopup_ = leftPopup; }
    bool LeftPopup() const noexcept { return leftPopup_; }

    // Minimising the owner hides it and shows the icon.
    void SetMinimizeToTray(bool minimize) noexcept { minimizeToTray_ = minimize; }
    bool MinimizeToTray() const noexcept { return minimizeToTray_; }

    // A left click on the icon (a double-click gives one).
    std::function<void()> OnClick;
    // Called before the popup menu opens, while it can still be changed.
    std::function<void()> OnBeforePopup;

    bool AddTrayIcon();
    bool RemoveTrayIcon();
    bool UpdateTrayIcon();

    // Text breaks lines with "\r". Returns the shell's answer.
    bool ShowBalloon(const std::string& title, const std::string& text, BalloonIconKind kind,
                     std::uint8_t timeoutSeconds);
    bool HideBalloon();

    // Opens the popup menu at a screen point and returns when it closes; the
    // chosen command reaches the owner as WM_COMMAND afterwards.
    void PopupAt(POINT point);
    // Where the menu was last opened (the program reopens it there).
    POINT LastPopupPoint() const noexcept { return lastPopupPoint_; }

    // The owner's window procedure passes each of its messages here before
    // handling it: the component watches minimising, restoring, showing, the
    // taskbar's re-creation and the owner's end, and consumes none of them.
    void OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The id in the notify record and the shared window the shell reports to.
    UINT IconId() const noexcept { return iconId_; }
    static HWND CallbackWindow() noexcept;

private:
    friend class TTrayIconHandler;

    void OnTrayMessage(UINT mouseMessage);
    void PopupAtCursor();
    void ClickDefaultItem();
    void CycleTick();
    void ShowImage(int index);
    BOOL Notify(DWORD message);

    std::shared_ptr<TTrayIconHandler> handler_;
    UINT iconId_ = 0;
    HWND owner_;

    TrayNotifyRecord record_;
    TrayClickDetector clicks_;
    TSimpleTimer cycleTimer_;

    bool enabled_ = true;
    UniqueIcon icon_;
    HIMAGELIST iconList_ = nullptr;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    UINT cycleInterval_ = 0;
    std::string hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    HMENU popupMenu_ = nullptr;
    bool leftPopup_ = false;
    bool minimizeToTray_ = false;
    POINT lastPopupPoint_{};
};
