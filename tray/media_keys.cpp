#include "tray/media_keys.h"

namespace {
int NextShownItem(const std::vector<ListMenuItem>& items, int playing) {
    const int count = static_cast<int>(items.size());
    for (int step = 1; step <= count; ++step) {
        const int row = (playing + step) % count;
        if (IsShownInMenu(items[static_cast<size_t>(row)], row)) return row;
    }
    return -1;
}
}  // namespace

std::vector<MediaKey> HeldMediaKeys(const std::vector<ListMenuItem>& items) {
    if (DefaultItemPosition(items) < 0) return {};
    return {std::begin(kMediaKeys), std::end(kMediaKeys)};
}

MediaKeyAction MediaKeyActionFor(MediaKey key, const std::vector<ListMenuItem>& items) {
    const int playing = DefaultItemPosition(items);
    if (playing < 0) return {};
    if (key != MediaKey::NextTrack) return {MediaKeyAction::kStop};
    const int next = NextShownItem(items, playing);
    if (next < 0) return {};
    return {MediaKeyAction::kPlay, next};
}
