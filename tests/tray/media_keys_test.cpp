#include "tray/media_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// One letter an item of "Ma liste": s shown, h hidden; upper case plays.
std::vector<ListMenuItem> Items(const std::string& letters) {
    std::vector<ListMenuItem> items;
    for (char letter : letters) {
        ListMenuItem item;
        item.visible = letter == 's' || letter == 'S';
        item.isDefault = letter == 'S' || letter == 'H';
        items.push_back(item);
    }
    return items;
}

using Action = MediaKeyAction;
constexpr auto kAll = {MediaKey::PlayPause, MediaKey::Stop, MediaKey::NextTrack};

TEST(MediaKeys, HeldOnlyWhileAnEntryPlaysAndEachKeyActsOnTheMenu) {
    struct Case {
        const char* items;
        MediaKey key;
        Action action;
    };
    const Case cases[] = {
        {"sSs", MediaKey::PlayPause, {Action::kStop}},
        {"sSs", MediaKey::Stop, {Action::kStop}},
        {"sSs", MediaKey::NextTrack, {Action::kPlay, 2}},
        {"ssS", MediaKey::NextTrack, {Action::kPlay, 0}},  // round to the first
        {"hsShs", MediaKey::NextTrack, {Action::kPlay, 4}},  // a hidden entry is skipped
        {"shhS", MediaKey::NextTrack, {Action::kPlay, 0}},  // also on the way round
        {"hSh", MediaKey::NextTrack, {Action::kPlay, 1}},  // the only shown one plays again
        {"sHs", MediaKey::NextTrack, {Action::kPlay, 2}},  // a hidden one played from the editor
        {"hHh", MediaKey::NextTrack, {}},  // nothing shown: it goes on
        {"hHh", MediaKey::Stop, {Action::kStop}},
        {"S", MediaKey::PlayPause, {Action::kStop}},
        {"sss", MediaKey::PlayPause, {}},  // queued before a stop
        {"sss", MediaKey::Stop, {}},
        {"sss", MediaKey::NextTrack, {}},
        {"", MediaKey::NextTrack, {}},
    };
    for (const Case& c : cases) {
        const std::vector<ListMenuItem> items = Items(c.items);
        const Action action = MediaKeyActionFor(c.key, items);
        EXPECT_EQ(action, c.action) << "items " << c.items << ", key " << static_cast<int>(c.key) << ": got kind "
                                    << action.kind << " item " << action.item;
        const bool playing = std::string(c.items).find_first_of("SH") != std::string::npos;
        EXPECT_EQ(HeldMediaKeys(items), playing ? std::vector<MediaKey>(kAll) : std::vector<MediaKey>{})
            << "items " << c.items;
    }
}

// Rows past the last command ID have no item in the menu: the next track
// after the last row that has one is the first.
TEST(MediaKeys, NextTrackSkipsRowsTheMenuLeavesOut) {
    const int lastInMenu = static_cast<int>(kLastCommandId - kFirstEntryCommandId);
    std::vector<ListMenuItem> items = Items(std::string(static_cast<size_t>(lastInMenu) + 3, 's'));
    items[static_cast<size_t>(lastInMenu)].isDefault = true;
    EXPECT_EQ(MediaKeyActionFor(MediaKey::NextTrack, items), (Action{Action::kPlay, 0}));
}
}  // namespace
