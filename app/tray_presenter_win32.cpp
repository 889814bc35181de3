#include "app/tray_presenter_win32.h"

#include <stdexcept>

#include "win/error_box_win32.h"

namespace {
constexpr UINT kCycleInterval = 600;
constexpr std::uint8_t kBalloonSeconds = 10;

constexpr int kImagesPerSet = 4;

// Adds images [from, to) of a set, in order, to its list.
void AddTrayImages(HIMAGELIST list, HINSTANCE instance, const char* prefix, int from, int to) {
    for (int i = from; i < to; ++i) {
        const std::string name = prefix + std::to_string(i);
        UniqueIcon icon(static_cast<HICON>(::LoadImageA(instance, name.c_str(), IMAGE_ICON, 16, 16, 0)));
        if (!icon) throw std::runtime_error("Image introuvable dans le programme : " + name);
        ::ImageList_AddIcon(list, icon.get());
    }
}

// The first `count` images of a set; the first alone is the idle icon.
UniqueImageList LoadTraySet(HINSTANCE instance, const char* prefix, int count = kImagesPerSet) {
    UniqueImageList list(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kImagesPerSet, 0));
    AddTrayImages(list.get(), instance, prefix, 0, count);
    return list;
}
}  // namespace

TrayPresenter::TrayPresenter(HINSTANCE instance, HWND owner, const StreamList& list, const ProgramFolder& folder,
                             FileSystem& files)
    : list_(list),
      folder_(folder),
      files_(files),
      normalIcons_(LoadTraySet(instance, "TRAY_NORMAL_", 1)),
      trayIcon_(std::make_unique<TTrayIcon>(owner)),
      mediaKeys_(owner) {
    trayIcon_->SetHint(kIdleHint);
    trayIcon_->SetIconList(normalIcons_.get());
    trayIcon_->SetIconIndex(0);
    trayIcon_->SetCycleInterval(kCycleInterval);
    trayIcon_->SetMinimizeToTray(true);
    // The icon as early as it can be: nothing below can be seen or used
    // before the program's construction ends and its messages flow.
    trayIcon_->SetIconVisible(true);
    AddTrayImages(normalIcons_.get(), instance, "TRAY_NORMAL_", 1, kImagesPerSet);
    mutedIcons_ = LoadTraySet(instance, "TRAY_MUTED_");
    trayMenu_ = std::make_unique<TrayMenu>(instance);
    menuLook_ = std::make_unique<FlatMenuLook>();
    // The look first: whatever the list does later, the menu is drawn flat.
    menuLook_->Apply(trayMenu_->Handle());
    trayIcon_->SetPopupMenu(trayMenu_->Handle());
    // A long list goes into the menu in steps after the rebuild, between the
    // user's messages; the menu opens complete.
    fillMenu_.SetInterval(1);
    fillMenu_.SetOnTimer([this] {
        trayMenu_->InsertPendingItems(TrayMenu::kItemsInsertedPerStep);
        ApplyLook();
    });
    trayIcon_->OnBeforePopup = [this] {
        if (!trayMenu_->HasPendingItems()) return;
        trayMenu_->CompleteListMenu();
        ApplyLook();
    };
}

void TrayPresenter::ApplyLook() {
    menuLook_->Apply(trayMenu_->Handle());
    fillMenu_.SetEnabled(trayMenu_->HasPendingItems());
}

void TrayPresenter::ShowInfoBalloon(const std::string& title, const std::string& text) {
    trayIcon_->ShowBalloon(title, text, BalloonIconKind::Info, kBalloonSeconds);
}

void TrayPresenter::SetHint(const std::string& hint) { trayIcon_->SetHint(hint); }
void TrayPresenter::SetCycleIcons(bool cycle) { trayIcon_->SetCycleIcons(cycle); }
void TrayPresenter::SetIconIndex(int index) { trayIcon_->SetIconIndex(index); }

void TrayPresenter::ShowWarningBalloon(const std::string& title, const std::string& text) {
    trayIcon_->ShowBalloon(title, text, BalloonIconKind::Warning, kBalloonSeconds);
}

void TrayPresenter::MakeDefault(int item) {
    trayMenu_->MakeDefault(item);
    HoldMediaKeysForPlayback();
}

void TrayPresenter::ClearDefault() {
    trayMenu_->ClearDefault();
    HoldMediaKeysForPlayback();
}

// The playing mark changes here and only here: when an entry starts or stops,
// and when a rebuild carries the mark by position onto a list that may be shorter.
void TrayPresenter::HoldMediaKeysForPlayback() { mediaKeys_.Hold(HeldMediaKeys(trayMenu_->Items())); }

void TrayPresenter::RebuildListMenu() {
    std::vector<std::string> unreadable;
    try {
        unreadable = trayMenu_->RebuildListMenu(list_, folder_, files_);
    } catch (...) {
        // The items made so far are drawn flat too.
        ApplyLook();
        HoldMediaKeysForPlayback();
        throw;
    }
    ApplyLook();
    HoldMediaKeysForPlayback();
    // Reported once per run: the menu is rebuilt at every play and every
    // return from the editor, and the file stays as it is until the user acts.
    const std::vector<std::string> fresh = iconReports_.NotYetReported(unreadable);
    if (!fresh.empty()) ShowApplicationError(UnreadableIconMessage(fresh));
}

void TrayPresenter::UseMutedSet(bool muted) {
    trayIcon_->SetIconList(muted ? mutedIcons_.get() : normalIcons_.get());
}
