// The name the save dialog proposes while a song is known: the song's title
// as a file name, in the folder of the last choice.
#pragma once
#include <cstddef>
#include <string>

inline constexpr std::size_t kMaxSongFileNameLength = 100;

// The title with what file names cannot hold replaced by '_' (and device
// names such as "CON" made ordinary), trimmed, cut to kMaxSongFileNameLength;
// empty when nothing is left.
std::string SongFileName(const std::string& song);

// The folder and extension of lastPath ("Flumen" at first: no folder, .mp3)
// around the song's file name; empty when the song gives no name.
std::string ProposedSongPath(const std::string& lastPath, const std::string& song);
