// The keyboard's media keys while an entry of "Ma liste" plays: Play/Pause and
// Stop do what "Arrêter" does, Next Track plays the next entry shown in the
// menu. A key the program holds is taken from every other program of the
// desktop, and Sonoraflux runs from logon on: the keys are held only while an
// entry plays, so a silent Sonoraflux never takes them from another player.
#pragma once
#include <vector>

#include "tray/list_menu.h"

enum class MediaKey { PlayPause, Stop, NextTrack };
inline constexpr MediaKey kMediaKeys[] = {MediaKey::PlayPause, MediaKey::Stop, MediaKey::NextTrack};

// The keys to hold for these items of "Ma liste": all of them while one is
// marked playing, none otherwise.
std::vector<MediaKey> HeldMediaKeys(const std::vector<ListMenuItem>& items);

struct MediaKeyAction {
    enum Kind { kNothing, kStop, kPlay };
    Kind kind = kNothing;
    int item = -1;  // kPlay: the item to play

    bool operator==(const MediaKeyAction&) const = default;
};

// What a key does to these items. Next Track plays the first item after the
// playing one that the menu shows, going round to the first (the playing
// entry itself when the menu shows no other); a key that comes when nothing
// plays (it was queued before a stop) does nothing.
MediaKeyAction MediaKeyActionFor(MediaKey key, const std::vector<ListMenuItem>& items);
