// The tray menu: the fixed commands and the submenu "Ma liste", one item per
// row of the list. Items of hidden entries are kept in the model but not put in
// the system menu (a system menu has no invisible items); they can still be
// played by position. Captions stay the items' strings, so they can be read
// back whatever look draws them.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/platform.h"
#include "list/program_folder.h"
#include "list/stream_list.h"
#include "tray/list_menu.h"
#include "win/handles_win32.h"

enum TrayCommand : UINT {
    kCommandEdit = 100,
    kCommandStop,
    kCommandRotate,
    kCommandRecord,
    kCommandAutostart,
    kCommandTutorial,
    kCommandQuit,
    kCommandReopenMenu,  // posted by the program, never an item: opens the menu again where it was
    kCommandFirstEntry = kFirstEntryCommandId,  // + row index: item of "Ma liste" (see EntryCommandId)
};

// Top-level positions that other parts of the program reach.
inline constexpr int kListMenuPosition = 1;
inline constexpr int kAutostartPosition = 5;

class TrayMenu {
public:
    // Builds the fixed items with their pictures (resources of the module).
    explicit TrayMenu(HINSTANCE resources);

    HMENU Handle() const { return menu_.get(); }
    HMENU ListMenu() const { return listMenu_; }

    // Rebuilds "Ma liste" from the list, keeping the playing mark by position.
    // An icon file that cannot be read gets the default icon; every such file
    // is returned, once, so the caller can report it after the menu is complete.
    // A long list reaches the menu in steps: the first one here, the rest by
    // InsertPendingItems (from an idle moment) or CompleteListMenu (before the
    // menu opens); marks and positions hold for the items not yet inserted.
    std::vector<std::string> RebuildListMenu(const StreamList& list, const ProgramFolder& folder, FileSystem& files);
    bool HasPendingItems() const { return nextRow_ < items_.size(); }
    void InsertPendingItems(size_t most);
    void CompleteListMenu();
    // Wine copies the item array at every insertion: a step of this many
    // items into a menu of 10,000 stays near 50 ms.
    static constexpr size_t kItemsInsertedPerStep = 500;

    // The items of "Ma liste", one per row.
    const std::vector<ListMenuItem>& Items() const { return items_; }
    static bool IsEntryCommand(UINT id) { return EntryRowOfCommand(id) >= 0; }
    static int EntryOfCommand(UINT id) { return EntryRowOfCommand(id); }

    // Makes item i the only default item (bold, check-marked).
    void MakeDefault(int item);
    void ClearDefault();

    // Picture and caption of the autostart item.
    void SetAutostartLook(bool on, const char* caption);

private:
    void AppendFixedItem(UINT id, const char* caption, const char* picture);
    HBITMAP LoadResourcePicture(const char* name);
    struct EntryPictureFile {
        UniqueBitmap bitmap;  // none for an unreadable file
        FILETIME written{};
        DWORD size = 0;
    };
    HBITMAP EntryPicture(const std::string& path, std::map<std::string, EntryPictureFile>& previous);
    MENUITEMINFOA EntryItemInfo(size_t row);
    void ApplyMarks();

    HINSTANCE resources_;
    UniqueMenu menu_;
    HMENU listMenu_ = nullptr;  // owned by menu_
    std::vector<UniqueBitmap> fixedPictures_;
    UniqueBitmap autostartOn_, autostartOff_;
    UniqueBitmap defaultEntryPicture_;
    std::map<std::string, EntryPictureFile> entryPictures_;  // by file
    std::vector<ListMenuItem> items_;
    std::vector<int> menuPositions_;  // by row: the item's position in "Ma liste", -1 when not in it
    std::vector<HBITMAP> pictures_;   // by row: the picture its item shows
    size_t nextRow_ = 0;              // the first row whose item is not in the menu yet
};
