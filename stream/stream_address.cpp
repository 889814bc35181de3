#include "stream/stream_address.h"

#include <algorithm>

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The lower-case extension of an address's path, without query or fragment.
std::string ExtensionOf(std::string_view address) {
    const std::size_t scheme = address.find("://");
    std::string_view path = address.substr(scheme == std::string_view::npos ? 0 : scheme + 3);
    path = path.substr(0, path.find_first_of("?#"));
    const std::size_t slash = path.find('/');
    if (slash == std::string_view::npos) return {};
    path.remove_prefix(slash);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return {};
    return LowerCase(path.substr(dot + 1));
}

bool IsOneOf(const std::string& value, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

bool IsLocalPath(std::string_view address) {
    const bool drive = address.size() >= 3 && address[1] == ':' && (address[2] == '\\' || address[2] == '/');
    return drive || StartsWith(LowerCase(address.substr(0, 8)), "file:///");
}

std::string DecodedAmpersands(std::string_view value) {
    std::string decoded;
    for (std::size_t i = 0; i < value.size(); ++i) {
        decoded += value[i];
        if (value.substr(i, 5) == "&amp;") i += 4;
    }
    return decoded;
}

// The src attribute's value inside one tag (the text between its name and '>').
std::string SourceOf(std::string_view tag, std::string_view lowerTag) {
    for (std::size_t at = lowerTag.find("src"); at != std::string_view::npos; at = lowerTag.find("src", at + 1)) {
        if (at == 0 || !IsSpace(lowerTag[at - 1])) continue;
        std::size_t i = at + 3;
        while (i < tag.size() && IsSpace(tag[i])) ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && IsSpace(tag[i])) ++i;
        if (i >= tag.size()) return {};
        std::string_view value = tag.substr(i);
        if (value.front() == '"' || value.front() == '\'') {
            const char quote = value.front();
            value.remove_prefix(1);
            value = value.substr(0, value.find(quote));
        } else {
            value = value.substr(0, static_cast<std::size_t>(
                                        std::find_if(value.begin(), value.end(), IsSpace) - value.begin()));
        }
        return DecodedAmpersands(Trimmed(value));
    }
    return {};
}
}  // namespace

bool IsHttpAddress(std::string_view address) {
    const std::string start = LowerCase(address.substr(0, 8));
    return (StartsWith(start, "http://") && address.size() > 7) || (start == "https://" && address.size() > 8);
}

EntryAddressKind ClassifyEntryAddress(std::string_view address) {
    if (StartsWith(address, "http://") || StartsWith(address, "https://")) {
        const std::string extension = ExtensionOf(address);
        if (IsOneOf(extension, {"m3u", "pls"})) return EntryAddressKind::kPlaylist;
        if (IsOneOf(extension, {"m3u8", "htm", "html", "shtml", "php", "asp", "aspx", "jsp"}))
            return EntryAddressKind::kLeftAlone;
        return EntryAddressKind::kStream;
    }
    if (IsLocalPath(address)) return EntryAddressKind::kPage;
    const bool otherScheme = address.find(':') != std::string_view::npos;
    if (address.empty() || StartsWith(address, "\\\\") || StartsWith(address, "www.") || StartsWith(address, "ftp") ||
        otherScheme)
        return EntryAddressKind::kLeftAlone;
    return EntryAddressKind::kPage;
}

ContentKind ClassifyContentType(std::string_view contentType) {
    const std::string type = LowerCase(Trimmed(contentType.substr(0, contentType.find(';'))));
    if (IsOneOf(type, {"audio/mpeg", "audio/mp3", "audio/mpeg3", "audio/x-mpeg", "audio/aac", "audio/aacp",
                       "audio/x-aac", "audio/mp4", "audio/x-m4a"}))
        return ContentKind::kPlayableAudio;
    if (IsOneOf(type, {"audio/x-mpegurl", "audio/mpegurl", "audio/x-scpls", "audio/scpls", "application/pls+xml"}))
        return ContentKind::kPlaylist;
    if (StartsWith(type, "audio/") || type == "application/ogg") return ContentKind::kUnplayableAudio;
    return ContentKind::kOther;
}

bool HasAudioExtension(std::string_view address) {
    return IsOneOf(ExtensionOf(address), {"mp3", "aac", "aacp", "m4a", "mp4a", "ogg", "oga", "opus", "flac"});
}

std::string FirstPlaylistAddress(std::string_view playlist) {
    playlist = playlist.substr(0, kMaxPlaylistBytes);
    if (playlist.find("#EXT-X-") != std::string_view::npos) return {};
    if (StartsWith(playlist, "\xEF\xBB\xBF")) playlist.remove_prefix(3);
    while (!playlist.empty()) {
        const std::size_t end = playlist.find('\n');
        std::string_view line = Trimmed(playlist.substr(0, end));
        playlist.remove_prefix(end == std::string_view::npos ? playlist.size() : end + 1);
        // .pls: FileN=address
        const std::string lower = LowerCase(line.substr(0, 16));
        if (StartsWith(lower, "file") && line.find('=') != std::string_view::npos &&
            std::all_of(line.begin() + 4, line.begin() + static_cast<std::ptrdiff_t>(line.find('=')),
                        [](char c) { return c >= '0' && c <= '9'; }))
            line = Trimmed(line.substr(line.find('=') + 1));
        if (IsHttpAddress(line)) return std::string(line);
    }
    return {};
}

std::string FirstPageAudioAddress(std::string_view page) {
    page = page.substr(0, kMaxPageBytes);
    const std::string lower = LowerCase(page);
    for (std::size_t open = lower.find('<'); open != std::string::npos; open = lower.find('<', open + 1)) {
        std::size_t nameEnd = open + 1;
        while (nameEnd < lower.size() && lower[nameEnd] >= 'a' && lower[nameEnd] <= 'z') ++nameEnd;
        if (!IsOneOf(lower.substr(open + 1, nameEnd - open - 1), {"audio", "source", "embed"})) continue;
        const std::size_t close = std::min(lower.find('>', nameEnd), lower.size());
        const std::string source = SourceOf(page.substr(nameEnd, close - nameEnd),
                                            std::string_view(lower).substr(nameEnd, close - nameEnd));
        if (!source.empty()) return source;
    }
    return {};
}
