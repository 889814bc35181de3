// The media keys as hot keys of the main window, held in step with playback
// (see HeldMediaKeys). A key that another program already holds is gone
// without, quietly, and asked for again at the next change of playback.
#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "tray/media_keys.h"
#include "win/hot_key_win32.h"

class MediaKeyHotKeys {
public:
    explicit MediaKeyHotKeys(HWND owner) : owner_(owner) {}

    // Holds these keys, those it can get, and lets go of the others.
    void Hold(const std::vector<MediaKey>& keys);
    // The key a WM_HOTKEY's wParam names; none for any other hot key.
    std::optional<MediaKey> KeyOfHotKey(WPARAM id) const;

private:
    HWND owner_;
    std::array<std::optional<HotKey>, std::size(kMediaKeys)> held_;
};
