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
    // The old pictures go once no item shows them; a file unchanged since it
    // was read keeps its bitmap (reading ten icons again costs more than the
    // rest of a rebuild of a hundred entries).
    std::map<std::string, EntryPictureFile> previousPictures = std::move(entryPictures_);
    entryPictures_.clear();
    menuPositions_.assign(items_.size(), -1);
    pictures_.assign(items_.size(), nullptr);

    std::vector<std::string> unreadable;
    int position = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        const ListMenuItem& item = items_[i];
        const bool firstUse = !item.picturePath.empty() && !entryPictures_.count(item.picturePath);
        HBITMAP picture = item.picturePath.empty() ? nullptr : EntryPicture(item.picturePath, previousPictures);
        if (firstUse && !picture) unreadable.push_back(item.picturePath);
        pictures_[i] = picture ? picture : defaultEntryPicture_.get();
        if (IsShownInMenu(item, static_cast<int>(i))) menuPositions_[i] = position++;
    }
    // The items already in the menu are given their new content in place and
    // only the difference in count is inserted or removed: the system moves
    // (Wine: copies) the whole item array at every insertion, so the count of
    // a long list is reached in steps (InsertPendingItems), never all at once.
    const int itemsInMenu = ::GetMenuItemCount(listMenu_);
    nextRow_ = 0;
    for (; nextRow_ < items_.size(); ++nextRow_) {
        const int at = menuPositions_[nextRow_];
        if (at < 0) continue;
        if (at >= itemsInMenu) break;
        MENUITEMINFOA info = EntryItemInfo(nextRow_);
        if (!::SetMenuItemInfoA(listMenu_, static_cast<UINT>(at), TRUE, &info))
            throw std::runtime_error("SetMenuItemInfo failed");
    }
    InsertPendingItems(kItemsInsertedPerStep);
    if (!HasPendingItems()) {
        // From the end: removing the first item would move all the others each time.
        for (int n = ::GetMenuItemCount(listMenu_); n > position; --n)
            ::DeleteMenu(listMenu_, static_cast<UINT>(n - 1), MF_BYPOSITION);
    }
    ApplyMarks();
    return unreadable;
}

MENUITEMINFOA TrayMenu::EntryItemInfo(size_t row) {
    MENUITEMINFOA info = ItemInfo(MIIM_ID | MIIM_STRING | MIIM_BITMAP);
    info.wID = EntryCommandId(static_cast<int>(row));
    info.dwTypeData = items_[row].caption.data();
    info.hbmpItem = pictures_[row];
    return info;
}

void TrayMenu::InsertPendingItems(size_t most) {
    for (size_t inserted = 0; nextRow_ < items_.size() && inserted < most; ++nextRow_) {
        const int at = menuPositions_[nextRow_];
        if (at < 0) continue;
        MENUITEMINFOA info = EntryItemInfo(nextRow_);
        if (items_[nextRow_].isDefault) {
            info.fMask |= MIIM_STATE;
            info.fState = MFS_CHECKED | MFS_DEFAULT;
        }
        InsertItem(listMenu_, static_cast<UINT>(at), info);
        ++inserted;
    }
}

void TrayMenu::CompleteListMenu() {
    while (HasPendingItems()) InsertPendingItems(kItemsInsertedPerStep);
}

HBITMAP TrayMenu::EntryPicture(const std::string& path, std::map<std::string, EntryPictureFile>& previous) {
    // Entries often share an icon: one bitmap per file and rebuild keeps a long
    // list far from the system's limit on GDI objects.
    auto found = entryPictures_.find(path);
    if (found != entryPictures_.end()) return found->second.bitmap.get();
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    const bool stamped = ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &stamp) != FALSE;
    auto kept = previous.find(path);
    if (stamped && kept != previous.end() && kept->second.bitmap &&
        ::CompareFileTime(&kept->second.written, &stamp.ftLastWriteTime) == 0 &&
        kept->second.size == stamp.nFileSizeLow) {
        return entryPictures_.emplace(path, std::move(kept->second)).first->second.bitmap.get();
    }
    auto picture = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    entryPictures_.emplace(path, EntryPictureFile{UniqueBitmap(picture), stamp.ftLastWriteTime, stamp.nFileSizeLow});
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
    const int inMenu = ::GetMenuItemCount(listMenu_);
    for (size_t i = 0; i < items_.size() && i < menuPositions_.size(); ++i) {
        const int position = menuPositions_[i];
        if (position < 0 || position >= inMenu) continue;
        ::CheckMenuItem(listMenu_, static_cast<UINT>(position),
                        MF_BYPOSITION | (items_[i].isDefault ? MF_CHECKED : MF_UNCHECKED));
        if (items_[i].isDefault) ::SetMenuDefaultItem(listMenu_, static_cast<UINT>(position), TRUE);
    }
}
