#include "app/program_win32.h"

#include <shellapi.h>

#include <stdexcept>

#include "app/browser_mode_win32.h"
#include "app/startup_win32.h"
#include "app/stream_services_win32.h"
#include "win/error_box_win32.h"

namespace {
// Sends the mute to the controller (the controller exists once the creation
// step has made it).
class VolumeMuteSwitch : public MuteSwitch {
public:
    explicit VolumeMuteSwitch(TVolumeController& volume) : volume_(volume) {}
    void SetMute(bool mute) override { volume_.SetMute(mute); }

private:
    TVolumeController& volume_;
};
}  // namespace

Program::Program(HINSTANCE instance) : Program(instance, ExecutableFolder()) {}

Program::Program(HINSTANCE instance, std::string folder, StepProbe afterStep)
    : instance_(instance),
      afterStep_(std::move(afterStep)),
      folder_(std::move(folder)),
      listFile_(folder_.ListFile(), files_, collation_, notices_) {
    // The destructor does not run for a construction that fails: what was
    // built goes down here, in the order of a normal end.
    try {
        Build();
    } catch (...) {
        ShutDown();
        // The main window's end asked the message loop to stop; left in the
        // queue, that request would close the error box before the user saw it.
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        throw;
    }
}

void Program::Build() {
    const auto step = [this](std::string_view name) {
        if (afterStep_) afterStep_(name);
    };
    editor_ = std::make_unique<EditorWindow>(instance_, nullptr, static_cast<EditorWindowServices&>(*this));
    step("editor");
    autostartFeedback_ = std::make_unique<Win32AutostartFeedback>(editor_->Handle());
    autostart_ = std::make_unique<Autostart>(runKey_, *autostartFeedback_, ExecutablePath());
    step("autostart");
    tray_ = std::make_unique<TrayPresenter>(instance_, editor_->Handle(), list_, folder_, files_);
    step("tray");
    ole_.emplace();
    // What the user sees only later goes after the icon: the balloons' title
    // pictures and the editor's controls with their fonts.
    balloonHints_ = std::make_unique<HelpBalloonHints>(balloons_);
    editor_->CreateContents();
    step("editor contents");
    WireChoosers();
    step("choosers");
    RunCreationStep();
    step("creation");
    rotation_ = std::make_unique<RotationWindow>(instance_, editor_->Handle(),
                                                 static_cast<RotationWindowServices&>(*this));
    step("rotation");
    recorder_ = std::make_unique<RecorderWindow>(instance_, editor_->Handle(),
                                                 static_cast<RecorderWindowServices&>(*this));
    step("recorder");
}

Program::~Program() { ShutDown(); }

// The rotation first, so that none of its steps can fire in a message loop
// of what follows (an error box of the recorder's end); then the windows go
// before the services they use.
void Program::ShutDown() {
    StopRotation();
    recorder_.reset();
    rotation_.reset();
    editor_.reset();
}

void Program::StopRotation() {
    if (rotation_) rotation_->StopSequence();
}

void Program::RunCreationStep() {
    AskForTheModernBrowserMode(ExecutableName());
    browserHost_ = std::make_unique<BrowserHost>();
    tray_->Icon().SetEnabled(false);
    mixer_ = std::make_unique<WinmmMixer>();
    volume_ = std::make_unique<TVolumeController>(*mixer_);
    muteSwitch_ = std::make_unique<VolumeMuteSwitch>(*volume_);
    mute_ = std::make_unique<MuteToggle>(*muteSwitch_, *tray_);
    tray_->Icon().OnClick = [this] {
        if (mute_) mute_->Toggle();
    };
    playback_ = std::make_unique<Playback>(folder_, files_, *browserHost_, *tray_, *tray_);
    WireNowPlaying();
    CreateDropTarget();
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

    editor_->SetInitialLook();
    autostart_->ReadAtStartup();
    tray_->Menu().SetAutostartLook(autostart_->State(), autostart_->Caption());
}

void Program::WireNowPlaying() {
    // The navigation waiting for its first answer goes first: the marks and
    // the tooltip it sets are then completed with the song.
    probe_ = std::make_unique<StreamProbe>([this](const StreamReport& report) {
        if (playback_) playback_->FirstAnswer(&report);
        if (nowPlaying_) nowPlaying_->Answered(report, ::GetTickCount64());
    });
    asker_ = std::make_unique<ProbeAsker>(*probe_, [this] {
        if (nowPlaying_) nowPlaying_->Reask();
    });
    nowPlaying_ = std::make_unique<NowPlaying>(*asker_, *tray_);
    answerWait_ = std::make_unique<TimerAnswerWait>([this] {
        if (playback_) playback_->FirstAnswer(nullptr);
    });
    playback_->SetListener(nowPlaying_.get());
    playback_->SetPlayerPage(PlayerPagePath(), *answerWait_);
}

void Program::WireChoosers() {
    fileDialogs_ = std::make_unique<Win32FileDialogs>(editor_->Handle());
    chooserServices_ = std::make_unique<Win32ChooserServices>(editor_->Handle());
    choosers_ = std::make_unique<EditorChoosers>(folder_, *fileDialogs_, *chooserServices_, editor_->Editor());
}

// The editor's controls exist before the choosers: a click in between does nothing.
void Program::ChoosePage() {
    if (choosers_) choosers_->SpeedButton3Click();
}

void Program::ChooseIcon() {
    if (choosers_) choosers_->Image4Click();
}

void Program::ImportList() {
    if (choosers_) choosers_->PngSpeedButton6Click();
}

void Program::ExportList() {
    if (choosers_) choosers_->PngSpeedButton5Click();
}

// Addresses dragged from a browser onto the editor start a new entry.
void Program::CreateDropTarget() {
    dropTarget_ = std::make_unique<TUrlDropTarget>();
    dropTarget_->OnDrop = [this](TUrlDropTarget& sender, TShiftState, POINT, DWORD&) {
        editor_->Editor().UrlDropTarget1Drop(sender.URL(), sender.Title());
    };
    dropTarget_->Register(editor_->Handle());
}

void Program::AnnounceReady() {
    tray_->ShowInfoBalloon("Sonoraflux", "Le logiciel est prêt !");
    tray_->Icon().SetEnabled(true);
}

void Program::LoadListAndMenu() {
    listFile_.LoadStreamList(list_);
    tray_->RebuildListMenu();
}

void Program::OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (tray_ && tray_->HasIcon()) tray_->Icon().OnOwnerMessage(msg, wp, lp);
    if (msg == WM_HOTKEY && tray_ && playback_) OnMediaKey(wp);
}

// The keys are held only while an entry plays (TrayPresenter); each does what its menu command does.
void Program::OnMediaKey(WPARAM hotKey) {
    const std::optional<MediaKey> key = tray_->MediaKeys().KeyOfHotKey(hotKey);
    if (!key) return;
    const MediaKeyAction action = MediaKeyActionFor(*key, tray_->Menu().Items());
    if (action.kind == MediaKeyAction::kStop) OnMenuCommand(kCommandStop);
    if (action.kind == MediaKeyAction::kPlay) OnMenuCommand(EntryCommandId(action.item));
}

bool Program::OnMeasureItem(MEASUREITEMSTRUCT& item) { return tray_ && tray_->Look().OnMeasureItem(item); }

bool Program::OnDrawItem(const DRAWITEMSTRUCT& item) { return tray_ && tray_->Look().OnDrawItem(item); }

void Program::OnMenuCommand(UINT id) {
    if (TrayMenu::IsEntryCommand(id)) {
        PlayMenuItem(TrayMenu::EntryOfCommand(id));
        return;
    }
    switch (id) {
        case kCommandEdit: OpenEditor(); break;
        case kCommandStop: playback_->StopPlayback(); break;
        case kCommandRotate: rotation_->ShowCentredInFront(); break;
        case kCommandRecord: recorder_->ShowCentredInFront(); break;
        case kCommandAutostart: ToggleAutostart(); break;
        case kCommandTutorial: OpenWebPage(folder_.Root() + kTutorialPage); break;
        case kCommandQuit: Quit(); break;
        case kCommandReopenMenu: tray_->Icon().PopupAt(tray_->Icon().LastPopupPoint()); break;
        default: break;
    }
}

// A list that failed to load is loaded again first: the editor never works on
// a list that is not the file's, so its save cannot write over the file. When
// the load fails again, its error reaches the error box and the editor stays
// closed.
void Program::OpenEditor() {
    if (!listFile_.MatchesFile()) {
        listFile_.LoadStreamList(list_);
        editor_->Editor().RefreshEditor();
    }
    editor_->OpenEditor();
}

void Program::PlayMenuItem(int item) {
    const auto& items = tray_->Menu().Items();
    if (item < 0 || item >= static_cast<int>(items.size())) return;
    const ListMenuItem chosen = items[static_cast<size_t>(item)];
    playback_->PlayEntry(item, chosen.caption, chosen.storedAddress);
}

void Program::LoadStreamList() { listFile_.LoadStreamList(list_); }

void Program::SaveStreamList() { listFile_.SaveStreamList(list_); }

void Program::RebuildListMenu() { tray_->RebuildListMenu(); }

int Program::ListMenuItemCount() { return static_cast<int>(tray_->Menu().Items().size()); }

std::string Program::ExistingIconPath(const std::string& iconFile) {
    const std::string path = folder_.Image(iconFile);
    return files_.FileExists(path) ? path : std::string();
}

void Program::InformationBeep() { ::MessageBeep(MB_ICONASTERISK); }

void Program::ExclamationBeep() { ::MessageBeep(MB_ICONEXCLAMATION); }

void Program::ShowWarning(const std::string& text) {
    ::MessageBoxA(editor_->Handle(), text.c_str(), "Warning", MB_ICONWARNING | MB_OK);
}

// The rotation's timers may still tick after "Quitter" has closed the host.
void Program::ShowBrowserHost() {
    if (browserHost_) browserHost_->Show();
}

void Program::HideBrowserHost() {
    if (browserHost_) browserHost_->Hide();
}

Browser& Program::FirstBrowser() {
    if (!browserHost_) throw std::runtime_error("Le navigateur intégré est fermé");
    return browserHost_->FirstBrowser();
}

Browser& Program::SecondBrowser() {
    if (!browserHost_) throw std::runtime_error("Le navigateur intégré est fermé");
    return browserHost_->SecondBrowser();
}

// No title of its own: the balloon keeps the title and picture set last.
void Program::AttachAlwaysOn(HWND control, int key, const std::string& hint) {
    balloons_.Register({key, "", balloon_pictures::kInfo, hint, false});
    balloonHints_->Attach(control, key);
}

std::string Program::SongTitle() { return nowPlaying_ ? nowPlaying_->Song() : std::string(); }

void Program::AddHelpBalloon(const RecorderElement& element) {
    balloons_.Register({static_cast<int>(element.id), element.balloonTitle, element.balloonPicture, element.hint,
                        !element.balloonAlwaysOn});
}

void Program::PointerMoved(HWND control, const RecorderElement& element, POINT screenPoint) {
    balloonHints_->PointerMoved(control, static_cast<int>(element.id), screenPoint);
}

// The recorder's switch runs the editor's, so both windows change together.
void Program::SwitchHelpBalloons() { editor_->Editor().BalloonSwitchClick(); }

void Program::ToggleAutostart() {
    autostart_->Toggle();
    tray_->Menu().SetAutostartLook(autostart_->State(), autostart_->Caption());
    // Reopened once the current menu has fully closed.
    ::PostMessageA(editor_->Handle(), WM_COMMAND, MAKEWPARAM(kCommandReopenMenu, 0), 0);
}

void Program::OpenWebPage(const std::string& address) {
    ::ShellExecuteA(editor_->Handle(), "Open", address.c_str(), "", "", SW_SHOWNORMAL);
}

void Program::Quit() {
    StopRotation();
    // No answer, nor the end of a choice's wait, may navigate the host that goes next.
    if (asker_) asker_->Abandon();
    if (answerWait_) answerWait_->Cancel();
    recorder_->Quit();
    browserHost_.reset();
    ::DestroyWindow(editor_->Handle());
}

void Program::OnSessionEnding() { StopRotation(); }

void Program::OnMainWindowDestroyed() {
    StopRotation();
    // The icon leaves the notification area with the window, the media keys
    // and the drop target let go of it, and the mute controller is freed
    // without touching the mixer. A construction that failed may end the
    // window before the tray exists.
    if (tray_) {
        tray_->RemoveIcon();
        tray_->LetGoOfMediaKeys();
    }
    // Revoked while the window still exists.
    if (dropTarget_) dropTarget_->Unregister();
    dropTarget_.reset();
    mute_.reset();
    muteSwitch_.reset();
    volume_.reset();
    ::PostQuitMessage(0);
}
