#include "desktop/url_drop.h"

#include <cstring>
#include <vector>

#include "base/text_lines.h"
#include "base/little_endian.h"

namespace {
constexpr std::size_t kBookmarkTitleOffset = 1024;
constexpr std::size_t kImageRecordMinimum = 44;
constexpr std::size_t kImageTitleOffsetAt = 32;
constexpr std::size_t kImageUrlOffsetAt = 36;
constexpr std::size_t kDescriptorCountSize = 4;
constexpr std::size_t kDescriptorSize = 332;
constexpr std::size_t kDescriptorNameAt = 72;
constexpr std::size_t kDescriptorNameSize = 260;
constexpr std::size_t kDropFilesHeaderSize = 20;
constexpr std::size_t kDropFilesWideAt = 16;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The text up to its first zero, or up to the end of the data without one.
std::string_view CutAtZero(std::string_view data) { return data.substr(0, data.find('\0')); }

// The zero-terminated text at the offset held at byte `at`: absent when the
// offset is 0, outside the data, or the text has no zero before the end.
std::optional<std::string_view> TextAtHeldOffset(std::string_view record, std::size_t at) {
    const std::uint32_t offset = ReadLe32(record, at);
    if (offset == 0 || offset >= record.size()) return std::nullopt;
    std::string_view rest = record.substr(offset);
    const std::size_t zero = rest.find('\0');
    if (zero == std::string_view::npos) return std::nullopt;
    return rest.substr(0, zero);
}

std::string_view Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string_view WithoutExtension(std::string_view name) { return name.substr(0, name.rfind('.')); }

std::string_view WithoutFolder(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsShortcutName(std::string_view name) { return EqualsIgnoringCase(Extension(WithoutFolder(name)), ".url"); }

void FillIfEmpty(std::string& field, std::string_view value) {
    if (field.empty()) field.assign(value);
}

bool TakeBookmark(std::string_view data, TURLDataFormat& result) {
    FillIfEmpty(result.URL, CutAtZero(data));
    if (data.size() > kBookmarkTitleOffset) FillIfEmpty(result.Title, CutAtZero(data.substr(kBookmarkTitleOffset)));
    return true;
}

bool TakeImageRecord(std::string_view data, TURLDataFormat& result) {
    if (data.size() <= kImageRecordMinimum) return false;
    if (auto url = TextAtHeldOffset(data, kImageUrlOffsetAt)) FillIfEmpty(result.URL, *url);
    if (auto title = TextAtHeldOffset(data, kImageTitleOffsetAt)) FillIfEmpty(result.Title, *title);
    return true;
}

bool TakeFileGroupTitle(std::string_view data, TURLDataFormat& result) {
    if (data.size() < kDescriptorCountSize) return false;
    const std::uint32_t count = ReadLe32(data, 0);
    if ((data.size() - kDescriptorCountSize) / kDescriptorSize != count || count == 0) return false;
    const std::string_view name =
        CutAtZero(data.substr(kDescriptorCountSize + kDescriptorNameAt, kDescriptorNameSize));
    if (!IsShortcutName(name)) return false;
    FillIfEmpty(result.Title, WithoutExtension(name));
    return true;
}

bool TakeShortcutText(std::string_view data, TURLDataFormat& result) {
    auto url = InternetShortcutUrl(CutAtZero(data));
    if (!url) return false;
    FillIfEmpty(result.URL, *url);
    return true;
}

bool TakeText(std::string_view data, TURLDataFormat& result) {
    const std::string_view text = CutAtZero(data);
    const std::size_t scheme = text.find("://");
    if (!result.URL.empty() || scheme == std::string_view::npos || scheme == 0) return false;
    result.URL.assign(text);
    return true;
}

// The names of a file list, ANSI or UTF-16, from the byte at `start`: the
// first name when the list's final zero lies inside the block.
template <typename Char>
std::optional<std::basic_string<Char>> FirstListedName(std::string_view block, std::size_t start) {
    const std::size_t count = (block.size() - start) / sizeof(Char);
    const auto unitAt = [&](std::size_t i) {
        Char unit{};
        std::memcpy(&unit, block.data() + start + i * sizeof(Char), sizeof(Char));
        return unit;
    };
    std::optional<std::basic_string<Char>> first;
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (unitAt(i) != Char{}) continue;
        if (i == nameStart) return first;  // an empty name ends the list
        if (!first) {
            first.emplace();
            for (std::size_t k = nameStart; k < i; ++k) first->push_back(unitAt(k));
        }
        nameStart = i + 1;
    }
    return std::nullopt;
}

bool TakeShortcutFile(std::string_view block, const ShortcutFileReader& files, TURLDataFormat& result) {
    auto dropped = FirstDroppedFileName(block);
    if (!dropped) return false;
    std::optional<std::string> path = dropped->wide ? files.AnsiName(dropped->utf16) : dropped->ansi;
    if (!path || !IsShortcutName(*path)) return false;
    auto text = files.ReadAll(*path);
    if (!text) return false;
    auto url = InternetShortcutUrl(CutAtZero(*text));
    if (!url) return false;
    FillIfEmpty(result.URL, *url);
    FillIfEmpty(result.Title, WithoutExtension(WithoutFolder(*path)));
    return true;
}
}  // namespace

std::optional<DroppedFileName> FirstDroppedFileName(std::string_view block) {
    if (block.size() < kDropFilesHeaderSize) return std::nullopt;
    const std::uint32_t namesAt = ReadLe32(block, 0);
    if (namesAt < kDropFilesHeaderSize || namesAt >= block.size()) return std::nullopt;
    DroppedFileName name;
    name.wide = ReadLe32(block, kDropFilesWideAt) != 0;
    if (name.wide) {
        auto first = FirstListedName<char16_t>(block, namesAt);
        if (!first) return std::nullopt;
        name.utf16 = std::move(*first);
    } else {
        auto first = FirstListedName<char>(block, namesAt);
        if (!first) return std::nullopt;
        name.ansi = std::move(*first);
    }
    return name;
}

std::optional<std::string> InternetShortcutUrl(std::string_view text) {
    const std::vector<std::string> lines = SplitTextLines(text);
    std::size_t i = 0;
    // The section header cannot be the last line: a section needs a line after it.
    while (i + 1 < lines.size() && !EqualsIgnoringCase(lines[i], "[InternetShortcut]")) ++i;
    if (i + 1 >= lines.size()) return std::nullopt;
    for (++i; i < lines.size(); ++i) {
        if (StartsWithIgnoringCase(lines[i], "URL=")) {
            std::string url = lines[i].substr(4);
            if (url.empty()) return std::nullopt;
            return url;
        }
        if (lines[i].starts_with('[')) return std::nullopt;
    }
    return std::nullopt;
}

bool ApplyUrlDropRule(UrlDropFormat format, std::string_view data, const ShortcutFileReader& files,
                      TURLDataFormat& result) {
    switch (format) {
        case UrlDropFormat::NetscapeBookmark: return TakeBookmark(data, result);
        case UrlDropFormat::NetscapeImage: return TakeImageRecord(data, result);
        case UrlDropFormat::UniformResourceLocator: FillIfEmpty(result.URL, CutAtZero(data)); return true;
        case UrlDropFormat::FileGroupDescriptor: return TakeFileGroupTitle(data, result);
        case UrlDropFormat::FileContents: return TakeShortcutText(data, result);
        case UrlDropFormat::Text: return TakeText(data, result);
        case UrlDropFormat::Files: return TakeShortcutFile(data, files, result);
    }
    return false;
}

UrlFetchResult FetchUrlData(UrlDropSource& source, const ShortcutFileReader& files, TURLDataFormat& result) {
    result.Clear();
    if (!source.OffersAnyFormat()) return UrlFetchResult::NothingOffered;
    bool accepted = false;
    for (UrlDropFormat format : kUrlDropFormats) {
        if (!result.URL.empty() && !result.Title.empty()) break;
        auto data = source.Get(format);
        if (data && !data->empty() && ApplyUrlDropRule(format, *data, files, result)) accepted = true;
    }
    return accepted ? UrlFetchResult::Fetched : UrlFetchResult::Refused;
}

std::uint32_t ChooseDropEffect(bool control, bool shift, std::uint32_t offered, std::uint32_t dragTypes) {
    const std::uint32_t allowed = offered & dragTypes;
    const std::uint32_t wanted = control && shift ? kDropEffectLink : control ? kDropEffectCopy : kDropEffectMove;
    if (allowed & wanted) return wanted;
    for (std::uint32_t effect : {kDropEffectCopy, kDropEffectMove, kDropEffectLink})
        if (allowed & effect) return effect;
    return kDropEffectNone;
}
