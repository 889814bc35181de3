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
    std::vector<std::string> RebuildListMenu(const StreamList& list, const ProgramFolder& folder, FileSystem& files);

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
    HBITMAP EntryPicture(const std::string& path);
    void ApplyMarks();

    HINSTANCE resources_;
    UniqueMenu menu_;
    HMENU listMenu_ = nullptr;  // owned by menu_
    std::vector<UniqueBitmap> fixedPictures_;
    UniqueBitmap autostartOn_, autostartOff_;
    UniqueBitmap defaultEntryPicture_;
    std::map<std::string, UniqueBitmap> entryPictures_;  // by file; none for an unreadable file
    std::vector<ListMenuItem> items_;
    std::vector<int> menuPositions_;  // by row: the item's position in "Ma liste", -1 when not in it
};
