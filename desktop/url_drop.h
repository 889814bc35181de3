// What a dragged address is made of, independent of OLE: the seven formats a
// browser or the desktop may offer, the rule that reads an address and a title
// from each, the fetch that walks them in priority order, and the choice of
// the drop effect from the keys held and the effects the source offers.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The address and title found in the dragged data; empty when none.
struct TURLDataFormat {
    std::string URL;
    std::string Title;

    void Clear() {
        URL.clear();
        Title.clear();
    }
};

// The formats read, in priority order.
enum class UrlDropFormat {
    NetscapeBookmark,
    NetscapeImage,
    UniformResourceLocator,
    FileGroupDescriptor,
    FileContents,
    Text,
    Files,
};

inline constexpr std::array<UrlDropFormat, 7> kUrlDropFormats{
    UrlDropFormat::NetscapeBookmark, UrlDropFormat::NetscapeImage, UrlDropFormat::UniformResourceLocator,
    UrlDropFormat::FileGroupDescriptor, UrlDropFormat::FileContents, UrlDropFormat::Text, UrlDropFormat::Files};

// What the drop target needs from the platform for dropped files: reading an
// internet shortcut file, and the ANSI form of a name the shell gave in UTF-16.
class ShortcutFileReader {
public:
    virtual ~ShortcutFileReader() = default;
    // The file's bytes, or nothing when it cannot be read.
    virtual std::optional<std::string> ReadAll(const std::string& path) const = 0;
    // The name in the ANSI code page; nothing when a character has no ANSI
    // form (such a file cannot be opened by an ANSI name anyway).
    virtual std::optional<std::string> AnsiName(std::u16string_view wideName) const = 0;
};

// A dropped file's name as the shell gave it: ANSI or UTF-16.
struct DroppedFileName {
    bool wide = false;
    std::string ansi;
    std::u16string utf16;
};

// The first name of a dropped file list (the shell's DROPFILES block: a
// 20-byte header whose first 32 bits give the offset of the names and whose
// last 32 bits say whether they are UTF-16, then names each ended by a zero,
// the list ended by one more zero). Nothing when the offset lies outside the
// block, the list has no final zero inside it, or it names no file. Reads
// nothing outside the block.
std::optional<DroppedFileName> FirstDroppedFileName(std::string_view block);

// The address of an internet shortcut file's text: the rest of the first
// "URL=" line of its "[InternetShortcut]" section, or nothing.
std::optional<std::string> InternetShortcutUrl(std::string_view text);

// Lets the format's rule take what it can from the delivered bytes (for Files:
// the file list block). URL and Title are filled only while empty.
// Returns whether the rule accepted the data.
bool ApplyUrlDropRule(UrlDropFormat format, std::string_view data, const ShortcutFileReader& files,
                      TURLDataFormat& result);

// The dragged data as the fetch sees it.
class UrlDropSource {
public:
    virtual ~UrlDropSource() = default;
    // Whether at least one of the seven formats is offered and can be delivered.
    virtual bool OffersAnyFormat() = 0;
    // The format's bytes; nothing when the format is not delivered.
    virtual std::optional<std::string> Get(UrlDropFormat format) = 0;
};

enum class UrlFetchResult { NothingOffered, Refused, Fetched };

// Clears result, then walks the formats in priority order while URL or Title
// is still empty. Fetched when at least one rule accepted its data.
UrlFetchResult FetchUrlData(UrlDropSource& source, const ShortcutFileReader& files, TURLDataFormat& result);

// Drop effects, with the platform's values.
inline constexpr std::uint32_t kDropEffectNone = 0;
inline constexpr std::uint32_t kDropEffectCopy = 1;
inline constexpr std::uint32_t kDropEffectMove = 2;
inline constexpr std::uint32_t kDropEffectLink = 4;

// Ctrl+Shift wants a link, Ctrl a copy, anything else a move; when the wanted
// effect is not among the offered ones masked with dragTypes, the first
// allowed of copy, move and link is taken, or none.
std::uint32_t ChooseDropEffect(bool control, bool shift, std::uint32_t offered, std::uint32_t dragTypes);
