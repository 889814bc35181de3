#include "recorder/recording_rules.h"

#include <algorithm>

namespace {

// The extension with its dot, or empty; dots in folder names do not count.
std::string ExtensionOf(const std::string& path) {
    const std::size_t last = path.find_last_of(".\\/:");
    if (last == std::string::npos || path[last] != '.') return {};
    return path.substr(last);
}

// Only ASCII letters matter here: the extensions compared are "mp3" and "wav".
bool SameAsciiTextIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string WithoutExtension(const std::string& path) {
    return path.substr(0, path.size() - ExtensionOf(path).size());
}

// The labels always hold digits; anything else reads as 0.
int TwoDigitValue(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string TwoDigitText(int value) {
    const std::string digits = std::to_string(value);
    return value < 10 ? "0" + digits : digits;
}

std::string JoinCaptureName(std::string folder) {
    if (folder.back() != '\\') folder += '\\';
    return folder + kTemporaryCaptureName;
}

}  // namespace

TargetKind KindOfTarget(const std::string& path) {
    return SameAsciiTextIgnoringCase(ExtensionOf(path), ".mp3") ? TargetKind::Mp3 : TargetKind::Wav;
}

std::string NameForFileType(const std::string& name, int fileType) {
    switch (fileType) {
        case kMp3FileType: return WithoutExtension(name) + ".mp3";
        case kWaveFileType: return WithoutExtension(name) + ".wav";
        default: return name;
    }
}

CountdownStep NextCountdownStep(const std::string& minutes, const std::string& seconds) {
    int m = TwoDigitValue(minutes);
    int s = TwoDigitValue(seconds);
    // 00:00 can only be seen by a late tick; it must not roll over to "0-1".
    if (m == 0 && s <= 1) return {true, minutes, seconds};
    CountdownStep step{false, minutes, seconds};
    if (s > 0) {
        --s;
        step.seconds = TwoDigitText(s);
    }
    // From 01:00 only the minute rolls over: the display reads 00:59.
    if (s == 0) {
        step.seconds = "59";
        step.minutes = TwoDigitText(m - 1);
    }
    return step;
}

std::optional<std::string> TemporaryCapturePath(const std::optional<std::string>& tempVariable,
                                                const std::string& systemTempFolder) {
    if (tempVariable && !tempVariable->empty() && tempVariable->size() <= kMaxTempVariableLength)
        return JoinCaptureName(*tempVariable);
    if (!systemTempFolder.empty()) return JoinCaptureName(systemTempFolder);
    return std::nullopt;
}
