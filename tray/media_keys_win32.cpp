#include "tray/media_keys_win32.h"

#include <algorithm>

namespace {
// IDs an application may give its hot keys: 0 to 0xBFFF.
constexpr int kFirstHotKeyId = 0x5346;

constexpr UINT kVirtualKeys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK};
static_assert(std::size(kVirtualKeys) == std::size(kMediaKeys));
}  // namespace

void MediaKeyHotKeys::Hold(const std::vector<MediaKey>& keys) {
    for (size_t i = 0; i < held_.size(); ++i) {
        const bool wanted = std::find(keys.begin(), keys.end(), kMediaKeys[i]) != keys.end();
        if (!wanted) {
            held_[i].reset();
        } else if (!held_[i] || !held_[i]->Held()) {
            held_[i].reset();
            // A held Next Track key must not skip through the list.
            held_[i].emplace(owner_, kFirstHotKeyId + static_cast<int>(i), MOD_NOREPEAT, kVirtualKeys[i]);
        }
    }
}

std::optional<MediaKey> MediaKeyHotKeys::KeyOfHotKey(WPARAM id) const {
    const WPARAM first = kFirstHotKeyId;
    if (id < first || id >= first + held_.size()) return std::nullopt;
    return kMediaKeys[id - first];
}
