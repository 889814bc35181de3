#include "desktop/tray_icon_win32.h"

#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "win/error_box_win32.h"
#include "win/message_wait_win32.h"
#include "win/window_win32.h"

static_assert(TrayNotifyRecord::kMessageFlag == NIF_MESSAGE && TrayNotifyRecord::kIconFlag == NIF_ICON &&
              TrayNotifyRecord::kTipFlag == NIF_TIP && TrayNotifyRecord::kInfoFlag == NIF_INFO);
static_assert(static_cast<UINT>(TrayMouseMessage::LeftDown) == WM_LBUTTONDOWN &&
              static_cast<UINT>(TrayMouseMessage::LeftDoubleClick) == WM_LBUTTONDBLCLK &&
              static_cast<UINT>(TrayMouseMessage::RightDown) == WM_RBUTTONDOWN &&
              static_cast<UINT>(TrayMouseMessage::MiddleUp) == WM_MBUTTONUP);
static_assert(static_cast<DWORD>(BalloonIconKind::Warning) == NIIF_WARNING &&
              static_cast<DWORD>(BalloonIconKind::Error) == NIIF_ERROR);

namespace {
ShellNotifyProc& CurrentShellNotify() {
    static ShellNotifyProc proc = CallShellNotify;
    return proc;
}

template <std::size_t N, std::size_t M>
void CopyField(CHAR (&target)[N], const std::array<char, M>& source) {
    static_assert(N == M, "the record's fields have the shell's sizes");
    std::copy(source.begin(), source.end(), target);
}

DWORD CommonControlsVersion() {
    UniqueModule comctl(::LoadLibraryA("comctl32.dll"));
    if (!comctl) return 0;
    FARPROC proc = ::GetProcAddress(comctl.get(), "DllGetVersion");
    if (!proc) return 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(proc));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(getVersion(&info))) return 0;
    return MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
}

// The shell broadcasts "TaskbarCreated" to top-level windows when it restarts;
// versions of the common controls before 4.71 come with shells that never do.
UINT TaskbarCreatedMessage() {
    static const UINT message = CommonControlsVersion() >= 0x40047 ? ::RegisterWindowMessageA("TaskbarCreated") : 0;
    return message;
}
}  // namespace

BOOL CallShellNotify(DWORD message, NOTIFYICONDATAA& data) { return ::Shell_NotifyIconA(message, &data); }

ShellNotifyProc ReplaceShellNotify(ShellNotifyProc proc) {
    if (!proc) proc = CallShellNotify;
    std::swap(proc, CurrentShellNotify());
    return proc;
}

// The hidden window every notify record names: the shell reports mouse
// activity to it with the icon id, which leads back to the component.
class TTrayIconHandler : public SharedObjectWindow<TTrayIconHandler, TTrayIcon, UINT> {
public:
    TTrayIconHandler() { CreateMessageOnly("SonorafluxTrayIconHandler"); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case kTrayCallbackMessage:
            if (TTrayIcon* icon = Find(static_cast<UINT>(wp))) icon->OnTrayMessage(static_cast<UINT>(lp));
            return 0;
        // The window lives as long as a component needs it: nobody else closes it.
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_ENDSESSION:
        case WM_NCDESTROY:
            return 1;
        default:
            return MessageWindow::HandleMessage(msg, wp, lp);
        }
    }
};

HWND TTrayIcon::CallbackWindow() noexcept { return TTrayIconHandler::CurrentWindow(); }

TTrayIcon::TTrayIcon(HWND owner) : handler_(TTrayIconHandler::Acquire()), owner_(owner) {
    if (!::IsWindow(owner)) throw std::invalid_argument("TTrayIcon: la fenêtre propriétaire n'existe pas");
    TaskbarCreatedMessage();
    cycleTimer_.SetOnTimer([this] { CycleTick(); });
    iconId_ = handler_->Register(this);
}

TTrayIcon::~TTrayIcon() {
    cycleTimer_.SetEnabled(false);
    handler_->Unregister(iconId_);
    RemoveTrayIcon();
}

void TTrayIcon::SetIcon(HICON icon) {
    icon_.reset(icon ? ::CopyIcon(icon) : nullptr);
    UpdateTrayIcon();
}

void TTrayIcon::SetIconList(HIMAGELIST list) {
    iconList_ = list;
    SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(int index) {
    if (iconList_) {
        iconIndex_ = ClampIconIndex(index, ::ImageList_GetImageCount(iconList_));
        ShowImage(iconIndex_);
    } else {
        iconIndex_ = 0;
    }
    UpdateTrayIcon();
}

void TTrayIcon::ShowImage(int index) {
    // An image that cannot be read leaves no icon rather than an error.
    icon_.reset(::ImageList_GetIcon(iconList_, index, ILD_NORMAL));
}

void TTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    if (cycle) {
        SetIconIndex(0);
        cycleTimer_.SetInterval(cycleInterval_);
        cycleTimer_.SetEnabled(true);
    } else {
        cycleTimer_.SetEnabled(false);
    }
}

void TTrayIcon::SetCycleInterval(UINT milliseconds) {
    cycleInterval_ = milliseconds;
    SetCycleIcons(cycleIcons_);
}

void TTrayIcon::CycleTick() {
    if (!iconList_) return;
    SetIconIndex(NextCycleIndex(iconIndex_, ::ImageList_GetImageCount(iconList_)));
}

void TTrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateTrayIcon();
}

void TTrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    UpdateTrayIcon();
}

void TTrayIcon::SetIconVisible(bool visible) {
    if (visible)
        AddTrayIcon();
    else
        RemoveTrayIcon();
}

bool TTrayIcon::AddTrayIcon() {
    iconVisible_ = true;
    return Notify(NIM_ADD);
}

bool TTrayIcon::RemoveTrayIcon() {
    iconVisible_ = false;
    return Notify(NIM_DELETE);
}

bool TTrayIcon::UpdateTrayIcon() { return Notify(NIM_MODIFY); }

bool TTrayIcon::ShowBalloon(const std::string& title, const std::string& text, BalloonIconKind kind,
                            std::uint8_t timeoutSeconds) {
    HideBalloon();
    record_.SetBalloon(title, text, kind, timeoutSeconds);
    bool shown = UpdateTrayIcon();
    record_.EndBalloon();
    return shown;
}

bool TTrayIcon::HideBalloon() {
    record_.ClearBalloon();
    bool hidden = UpdateTrayIcon();
    record_.EndBalloon();
    return hidden;
}

BOOL TTrayIcon::Notify(DWORD message) {
    record_.SetTip(hint_, showHint_);
    NOTIFYICONDATAA data{};
    // The record as the shell has known it since balloons came; the full
    // structure of newer headers adds fields this component does not use.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = handler_->Handle();
    data.uID = iconId_;
    data.uFlags = record_.flags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon_.get();
    CopyField(data.szTip, record_.tip);
    CopyField(data.szInfo, record_.info);
    CopyField(data.szInfoTitle, record_.infoTitle);
    data.uTimeout = record_.timeoutMs;
    data.dwInfoFlags = record_.infoFlags;
    return CurrentShellNotify()(message, data);
}

void TTrayIcon::OnTrayMessage(UINT mouseMessage) {
    TrayMouseActions actions = clicks_.Handle(mouseMessage, {enabled_, leftPopup_, popupMenu_ != nullptr});
    // One action at most per report; each may end in code that destroys this
    // component, so nothing runs after it.
    if (actions.popup) {
        PopupAtCursor();
    } else if (actions.clickDefaultItem) {
        ClickDefaultItem();
    } else if (actions.click) {
        std::function<void()> onClick = OnClick;
        if (onClick) onClick();
    }
}

void TTrayIcon::PopupAtCursor() {
    POINT cursor;
    if (popupMenu_ && ::GetCursorPos(&cursor)) PopupAt(cursor);
}

void TTrayIcon::PopupAt(POINT point) {
    HMENU menu = popupMenu_;
    HWND owner = owner_;
    if (!menu || !owner) return;
    lastPopupPoint_ = point;
    if (OnBeforePopup) OnBeforePopup();
    // The menu must belong to the foreground window, or it will not close when
    // the user clicks elsewhere.
    ::SetForegroundWindow(owner);
    if (!ProcessPendingMessages()) return;
    // Runs a modal loop: from here on only the locals are safe to use.
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
}

void TTrayIcon::ClickDefaultItem() {
    if (!owner_) return;
    UINT position = ::GetMenuDefaultItem(popupMenu_, TRUE, 0);
    if (position == static_cast<UINT>(-1) || ::GetSubMenu(popupMenu_, static_cast<int>(position))) return;
    UINT command = ::GetMenuItemID(popupMenu_, static_cast<int>(position));
    ::PostMessageA(owner_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void TTrayIcon::OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND owner = owner_;
    if (!owner) return;
    if (msg == WM_NCDESTROY) {
        // The owner goes first: the component must not touch it any more.
        owner_ = nullptr;
    } else if (msg == TaskbarCreatedMessage() && msg != 0) {
        if (iconVisible_) AddTrayIcon();
    } else if (msg == WM_SIZE && wp == SIZE_MINIMIZED) {
        if (minimizeToTray_) {
            ::ShowWindow(owner, SW_HIDE);
            SetIconVisible(true);
        }
    } else if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_RESTORE) {
        ::ShowWindow(owner, SW_SHOW);
    } else if (msg == WM_SHOWWINDOW && wp && lp == 0) {
        ::SetForegroundWindow(owner);
    }
}
