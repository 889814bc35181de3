#include "tray/tray_menu_win32.h"

#include <stdexcept>

namespace {
constexpr const char* kDefaultEntryPicture = "DEFAULT_ENTRY";

MENUITEMINFOA ItemInfo(UINT mask) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

void InsertItem(HMENU menu, UINT position, MENUITEMINFOA& info) {
    if (!::InsertMenuItemA(menu, position, TRUE, &info)) throw std::runtime_error("InsertMenuItem failed");
}
}  // namespace

TrayMenu::TrayMenu(HINSTANCE resources) : resources_(resources), menu_(::CreatePopupMenu()) {
    if (!menu_) throw std::runtime_error("CreatePopupMenu failed");
    defaultEntryPicture_.reset(LoadResourcePicture(kDefaultEntryPicture));
    autostartOn_.reset(LoadResourcePicture("AUTOSTART_ON"));
    autostartOff_.reset(LoadResourcePicture("AUTOSTART_OFF"));

    AppendFixedItem(kCommandEdit, "Editer...", "MENU_EDIT");
    listMenu_ = ::CreatePopupMenu();
    MENUITEMINFOA list = ItemInfo(MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP);
    list.dwTypeData = const_cast<char*>("Ma liste");
    list.hSubMenu = listMenu_;
    fixedPictures_.emplace_back(LoadResourcePicture("MENU_LIST"));
    list.hbmpItem = fixedPictures_.back().get();
    InsertItem(menu_.get(), static_cast<UINT>(kListMenuPosition), list);
    AppendFixedItem(kCommandStop, "Arrêter", "MENU_STOP");
    AppendFixedItem(kCommandRotate, "Permuter...", "MENU_ROTATE");
    AppendFixedItem(kCommandRecord, "Enregistrer...", "MENU_RECORD");
    AppendFixedItem(kCommandAutostart, "Activé", nullptr);
    AppendFixedItem(kCommandTutorial, "Tutoriel", "MENU_TUTORIAL");
    ::AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendFixedItem(kCommandQuit, "Quitter", "MENU_QUIT");
    SetAutostartLook(false, "Activé");
}

HBITMAP TrayMenu::LoadResourcePicture(const char* name) {
    auto bitmap = static_cast<HBITMAP>(::LoadImageA(resources_, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) throw std::runtime_error(std::string("Image introuvable dans le programme : ") + name);
    return bitmap;
}

void TrayMenu::AppendFixedItem(UINT id, const char* caption, const char* picture) {
    MENUITEMINFOA info = ItemInfo(MIIM_ID | MIIM_STRING | MIIM_BITMAP);
    info.wID = id;
    info.dwTypeData = const_cast<char*>(caption);
    if (picture) {
        fixedPictures_.emplace_back(LoadResourcePicture(picture));
        info.hbmpItem = fixedPictures_.back().get();
    }
    InsertItem(menu_.get(), static_cast<UINT>(::GetMenuItemCount(menu_.get())), info);
}

void TrayMenu::SetAutostartLook(bool on, const char* caption) {
    MENUITEMINFOA info = ItemInfo(MIIM_STRING | MIIM_BITMAP);
    info.dwTypeData = const_cast<char*>(caption);
    info.hbmpItem = on ? autostartOn_.get() : autostartOff_.get();
    ::SetMenuItemInfoA(menu_.get(), kCommandAutostart, FALSE, &info);
}

std::vector<std::string> TrayMenu::RebuildListMenu(const StreamList& list, const ProgramFolder& folder, FileSystem& files) {
    const int playing = DefaultItemPosition(items_);
    items_ = BuildListMenuItems(list, folder, files, playing);
    // The items already in the menu are given their new content in place and
    // only the difference in count is inserted or removed: the system moves the
    // whole item array at every insertion, which makes a list of thousands
    // rebuilt from nothing take a second. The old pictures go once no item shows them.
    std::map<std::string, UniqueBitmap> previousPictures = std::move(entryPictures_);
    entryPictures_.clear();
    menuPositions_.assign(items_.size(), -1);
    const int itemsInMenu = ::GetMenuItemCount(listMenu_);
    int position = 0;

    std::vector<std::string> unreadable;
    for (size_t i = 0; i < items_.size(); ++i) {
        ListMenuItem& item = items_[i];
        const bool firstUse = !item.picturePath.empty() && !entryPictures_.count(item.picturePath);
        HBITMAP picture = item.picturePath.empty() ? nullptr : EntryPicture(item.picturePath);
        if (firstUse && !picture) unreadable.push_back(item.picturePath);
        if (!IsShownInMenu(item, static_cast<int>(i))) continue;
        MENUITEMINFOA info = ItemInfo(MIIM_ID | MIIM_STRING | MIIM_BITMAP);
        info.wID = EntryCommandId(static_cast<int>(i));
        info.dwTypeData = item.caption.data();
        info.hbmpItem = picture ? picture : defaultEntryPicture_.get();
        if (position < itemsInMenu) {
            if (!::SetMenuItemInfoA(listMenu_, static_cast<UINT>(position), TRUE, &info))
                throw std::runtime_error("SetMenuItemInfo failed");
        } else {
            InsertItem(listMenu_, static_cast<UINT>(position), info);
        }
        menuPositions_[i] = position++;
    }
    // From the end: removing the first item would move all the others each time.
    for (int n = ::GetMenuItemCount(listMenu_); n > position; --n)
        ::DeleteMenu(listMenu_, static_cast<UINT>(n - 1), MF_BYPOSITION);
    ApplyMarks();
    return unreadable;
}

HBITMAP TrayMenu::EntryPicture(const std::string& path) {
    // Entries often share an icon: one bitmap per file and rebuild keeps a long
    // list far from the system's limit on GDI objects.
    auto found = entryPictures_.find(path);
    if (found != entryPictures_.end()) return found->second.get();
    auto picture = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    entryPictures_.emplace(path, UniqueBitmap(picture));
    return picture;
}

void TrayMenu::MakeDefault(int item) {
    for (size_t i = 0; i < items_.size(); ++i) items_[i].isDefault = static_cast<int>(i) == item;
    ApplyMarks();
}

void TrayMenu::ClearDefault() { MakeDefault(-1); }

void TrayMenu::ApplyMarks() {
    // By position: a search by command runs through the whole menu each time.
    ::SetMenuDefaultItem(listMenu_, static_cast<UINT>(-1), TRUE);
    for (size_t i = 0; i < items_.size() && i < menuPositions_.size(); ++i) {
        const int position = menuPositions_[i];
        if (position < 0) continue;
        ::CheckMenuItem(listMenu_, static_cast<UINT>(position),
                        MF_BYPOSITION | (items_[i].isDefault ? MF_CHECKED : MF_UNCHECKED));
        if (items_[i].isDefault) ::SetMenuDefaultItem(listMenu_, static_cast<UINT>(position), TRUE);
    }
}
