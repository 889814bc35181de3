#include "tray/list_menu.h"

#include <algorithm>
#include <map>

unsigned EntryCommandId(int row) {
    if (row < 0 || static_cast<unsigned>(row) > kLastCommandId - kFirstEntryCommandId) return 0;
    return kFirstEntryCommandId + static_cast<unsigned>(row);
}

int EntryRowOfCommand(unsigned id) {
    if (id < kFirstEntryCommandId || id > kLastCommandId) return -1;
    return static_cast<int>(id - kFirstEntryCommandId);
}

bool IsShownInMenu(const ListMenuItem& item, int row) { return item.visible && EntryCommandId(row) != 0; }

std::vector<std::string> UnreadableIconReports::NotYetReported(const std::vector<std::string>& unreadable) {
    std::vector<std::string> fresh;
    for (const std::string& file : unreadable) {
        if (std::find(reported_.begin(), reported_.end(), file) != reported_.end()) continue;
        reported_.push_back(file);
        fresh.push_back(file);
    }
    return fresh;
}

std::string UnreadableIconMessage(const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files) {
        if (!text.empty()) text += "\r\n";
        text += "Ooops ! L'icône \"" + file + "\" n'est pas une image bitmap lisible";
    }
    return text;
}

int DefaultItemPosition(const std::vector<ListMenuItem>& items) {
    int position = -1;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].isDefault) position = static_cast<int>(i);
    return position;
}

std::vector<ListMenuItem> BuildListMenuItems(const StreamList& list, const ProgramFolder& folder, FileSystem& files,
                                             int playingPosition) {
    std::vector<ListMenuItem> items;
    items.reserve(static_cast<size_t>(list.RowCount()));
    // Entries share a few icons: each file is looked for once per build.
    std::map<std::string, bool> exists;
    for (int i = 0; i < list.RowCount(); ++i) {
        const StreamEntry& row = list.Row(i);
        ListMenuItem item;
        item.caption = row.title;
        item.storedAddress = row.address;
        // An empty iconFile names the "Images" folder itself, which is no file.
        const std::string picture = folder.Image(row.iconFile);
        auto known = exists.find(picture);
        if (known == exists.end()) known = exists.emplace(picture, files.FileExists(picture)).first;
        if (known->second) item.picturePath = picture;
        item.visible = row.shownInMenu == "1";
        item.shownMark = item.visible ? 1 : 0;
        item.isDefault = i == playingPosition;
        items.push_back(std::move(item));
    }
    return items;
}
