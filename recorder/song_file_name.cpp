#include "recorder/song_file_name.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {
bool Unusable(char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

// The system drops trailing dots and spaces, and leading spaces confuse users.
std::string Trimmed(std::string name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    name.erase(0, std::min(name.find_first_not_of(' '), name.size()));
    return name;
}

bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

std::string LowerExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('\\', dot) != std::string::npos) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return extension;
}
}  // namespace

std::string SongFileName(const std::string& song) {
    std::string name = song;
    std::replace_if(name.begin(), name.end(), Unusable, '_');
    name = Trimmed(Trimmed(name).substr(0, kMaxSongFileNameLength));
    if (IsDeviceName(name)) name = "_" + name;
    return name;
}

std::string ProposedSongPath(const std::string& lastPath, const std::string& song) {
    const std::string name = SongFileName(song);
    if (name.empty()) return {};
    const std::size_t slash = lastPath.rfind('\\');
    const std::string folder = slash == std::string::npos ? std::string() : lastPath.substr(0, slash + 1);
    const std::string extension = LowerExtension(lastPath) == ".wav" ? ".wav" : ".mp3";
    return folder + name + extension;
}
