// The items of "Ma liste", one per row of the list, in row order (hidden
// entries included, only not visible). The playing mark is carried over by
// position: after a reload in another order it lands on whatever entry now
// holds that position.
#pragma once
#include <string>
#include <vector>

#include "base/platform.h"
#include "list/program_folder.h"
#include "list/stream_list.h"

struct ListMenuItem {
    std::string caption;
    std::string storedAddress;  // the address played when the item is chosen
    std::string picturePath;    // "Images\" + iconFile when that file exists; empty: the default icon
    bool visible = false;
    int shownMark = 0;          // 1 when the item was made visible
    bool isDefault = false;     // the playing entry: bold and check-marked

    bool operator==(const ListMenuItem&) const = default;
};

// Command IDs of the items of "Ma liste": the first one plus the row. A menu
// command reaches the window in 16 bits, so rows whose ID would pass 0xFFFF
// are left out of the menu (they stay in the list, the file and the items) and
// no entry's command can wrap onto a fixed command.
inline constexpr unsigned kFirstEntryCommandId = 1000;
inline constexpr unsigned kLastCommandId = 0xFFFF;
// The row's command ID; 0 when the row gets no item in the menu.
unsigned EntryCommandId(int row);
// The row a command ID stands for; -1 when it is no entry's command.
int EntryRowOfCommand(unsigned id);
// Whether the item of that row has a place in the menu: visible, with a command ID.
bool IsShownInMenu(const ListMenuItem& item, int row);

// Icon files that exist but are no readable bitmap: each is reported to the
// user once per run, not at every rebuild of the menu.
class UnreadableIconReports {
public:
    // The files of this rebuild that were not reported before, now counted as reported.
    std::vector<std::string> NotYetReported(const std::vector<std::string>& unreadable);

private:
    std::vector<std::string> reported_;
};

// The error text for those files, one line each.
std::string UnreadableIconMessage(const std::vector<std::string>& files);

// Position of the default item, the last one when several are; -1 for none.
int DefaultItemPosition(const std::vector<ListMenuItem>& items);

// The items for the list's rows, the item at playingPosition marked as playing.
std::vector<ListMenuItem> BuildListMenuItems(const StreamList& list, const ProgramFolder& folder, FileSystem& files,
                                             int playingPosition);
