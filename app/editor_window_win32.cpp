#include "app/editor_window_win32.h"

#include <shellapi.h>

#include "app/startup_win32.h"
#include "win/error_box_win32.h"

namespace {
constexpr UINT kCycleInterval = 600;
constexpr std::uint8_t kBalloonSeconds = 10;

UniqueImageList LoadTraySet(HINSTANCE instance, const char* prefix) {
    UniqueImageList list(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0));
    for (int i = 0; i < 4; ++i) {
        const std::string name = prefix + std::to_string(i);
        UniqueIcon icon(static_cast<HICON>(::LoadImageA(instance, name.c_str(), IMAGE_ICON, 16, 16, 0)));
        if (!icon) throw std::runtime_error("Image introuvable dans le programme : " + name);
        ::ImageList_AddIcon(list.get(), icon.get());
    }
    return list;
}

// Sends the mute to the controller (the controller exists once the window's
// creation step has made it).
class VolumeMuteSwitch : public MuteSwitch {
public:
    explicit VolumeMuteSwitch(TVolumeController& volume) : volume_(volume) {}
    void SetMute(bool mute) override { volume_.SetMute(mute); }

private:
    TVolumeController& volume_;
};
}  // namespace

EditorWindow::EditorWindow(HINSTANCE instance)
    : instance_(instance),
      folder_(ExecutableFolder()),
      listFile_(folder_.ListFile(), files_, collation_, notices_) {
    CreateParams params{kMainWindowClass, "Sonoraflux"};
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    params.width = 420;
    params.height = 320;
    params.icon = ::LoadIconA(instance, "MAINICON");
    Create(params);
    autostartFeedback_ = std::make_unique<Win32AutostartFeedback>(Handle());
    autostart_ = std::make_unique<Autostart>(runKey_, *autostartFeedback_, ExecutablePath());
    CreateTrayIcon();
    RunCreationStep();
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::CreateTrayIcon() {
    normalIcons_ = LoadTraySet(instance_, "TRAY_NORMAL_");
    mutedIcons_ = LoadTraySet(instance_, "TRAY_MUTED_");
    trayMenu_ = std::make_unique<TrayMenu>(instance_);
    trayIcon_ = std::make_unique<TTrayIcon>(Handle());
    trayIcon_->SetHint(kIdleHint);
    trayIcon_->SetIconList(normalIcons_.get());
    trayIcon_->SetIconIndex(0);
    trayIcon_->SetCycleInterval(kCycleInterval);
    trayIcon_->SetPopupMenu(trayMenu_->Handle());
    trayIcon_->SetMinimizeToTray(true);
    trayIcon_->SetIconVisible(true);
    trayIcon_->OnClick = [this] {
        if (mute_) mute_->Toggle();
    };
}

void EditorWindow::RunCreationStep() {
    browserHost_ = std::make_unique<BrowserHost>();
    trayIcon_->SetEnabled(false);
    mixer_ = std::make_unique<WinmmMixer>();
    volume_ = std::make_unique<TVolumeController>(*mixer_);
    muteSwitch_ = std::make_unique<VolumeMuteSwitch>(*volume_);
    mute_ = std::make_unique<MuteToggle>(*muteSwitch_, static_cast<TrayImageSets&>(*this));
    playback_ = std::make_unique<Playback>(folder_, files_, static_cast<BrowserWindow&>(*this),
                                           static_cast<PlaybackIndicator&>(*this), static_cast<PlaybackMenu&>(*this));
    // Marks the notification area as a drop target for files; nothing of the
    // program receives what is dropped there.
    ::DragAcceptFiles(FindTrayToolbarWindow(), TRUE);

    // The ready notice comes whatever the list does; an error of the list is
    // shown after it, and the rest of the step is skipped.
    try {
        LoadListAndMenu();
    } catch (...) {
        AnnounceReady();
        ShowCurrentException();
        return;
    }
    AnnounceReady();

    autostart_->ReadAtStartup();
    trayMenu_->SetAutostartLook(autostart_->State(), autostart_->Caption());
}

void EditorWindow::AnnounceReady() {
    trayIcon_->ShowBalloon("Sonoraflux", "Le logiciel est prêt !", BalloonIconKind::Info, kBalloonSeconds);
    trayIcon_->SetEnabled(true);
}

void EditorWindow::LoadListAndMenu() {
    listFile_.LoadStreamList(list_);
    RebuildListMenu();
}

LRESULT EditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == 0) {
                OnCommand(LOWORD(wp));
                return 0;
            }
            break;
        case WM_MEASUREITEM:
            if (menuLook_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (menuLook_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_SHOWWINDOW:
            if (!wp) OnEditorHidden();
            break;
        case kReopenMenuMessage:
            trayIcon_->PopupAt(trayIcon_->LastPopupPoint());
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void EditorWindow::OnCommand(UINT id) {
    if (TrayMenu::IsEntryCommand(id)) {
        const int entry = TrayMenu::EntryOfCommand(id);
        if (entry >= 0 && entry < static_cast<int>(trayMenu_->Items().size())) {
            const ListMenuItem item = trayMenu_->Items()[static_cast<size_t>(entry)];
            playback_->PlayEntry(entry, item.caption, item.storedAddress);
        }
        return;
    }
    switch (id) {
        case kCommandEdit: OpenEditor(); break;
        case kCommandStop: playback_->StopPlayback(); break;
        case kCommandAutostart: ToggleAutostart(); break;
        case kCommandTutorial: OpenWebPage(folder_.Root() + kTutorialPage); break;
        case kCommandQuit: Quit(); break;
        default: break;  // "Permuter..." and "Enregistrer..." open windows of their own
    }
}

void EditorWindow::OpenEditor() {
    // Hiding an open editor reloads the list from the file, dropping unsaved
    // changes; showing brings the editor to the front.
    ::ShowWindow(Handle(), SW_HIDE);
    ::ShowWindow(Handle(), SW_SHOW);
}

void EditorWindow::OnEditorHidden() {
    listFile_.LoadStreamList(list_);
    RebuildListMenu();
}

void EditorWindow::ToggleAutostart() {
    autostart_->Toggle();
    trayMenu_->SetAutostartLook(autostart_->State(), autostart_->Caption());
    // Reopened once the current menu has fully closed.
    ::PostMessageA(Handle(), kReopenMenuMessage, 0, 0);
}

void EditorWindow::OpenWebPage(const std::string& address) {
    ::ShellExecuteA(Handle(), "Open", address.c_str(), "", "", SW_SHOWNORMAL);
}

void EditorWindow::Quit() {
    browserHost_.reset();
    ::DestroyWindow(Handle());
}

void EditorWindow::OnDestroy() {
    // The icon leaves the notification area with the window, and the mute
    // controller is freed without touching the mixer.
    trayIcon_.reset();
    mute_.reset();
    muteSwitch_.reset();
    volume_.reset();
    ::PostQuitMessage(0);
}

void EditorWindow::SetHint(const std::string& hint) { trayIcon_->SetHint(hint); }
void EditorWindow::SetCycleIcons(bool cycle) { trayIcon_->SetCycleIcons(cycle); }
void EditorWindow::SetIconIndex(int index) { trayIcon_->SetIconIndex(index); }

void EditorWindow::ShowWarningBalloon(const std::string& title, const std::string& text) {
    trayIcon_->ShowBalloon(title, text, BalloonIconKind::Warning, kBalloonSeconds);
}

void EditorWindow::MakeDefault(int item) { trayMenu_->MakeDefault(item); }
void EditorWindow::ClearDefault() { trayMenu_->ClearDefault(); }

void EditorWindow::RebuildListMenu() {
    const std::string unreadable = trayMenu_->RebuildListMenu(list_, folder_, files_);
    menuLook_.Apply(trayMenu_->Handle());
    if (!unreadable.empty())
        ShowApplicationError("Ooops ! L'icône \"" + unreadable + "\" n'est pas une image bitmap lisible");
}

void EditorWindow::Show() { browserHost_->Show(); }
void EditorWindow::Hide() { browserHost_->Hide(); }
Browser& EditorWindow::FirstBrowser() { return browserHost_->FirstBrowser(); }

void EditorWindow::UseMutedSet(bool muted) { trayIcon_->SetIconList(muted ? mutedIcons_.get() : normalIcons_.get()); }
