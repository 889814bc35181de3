// The seven rules that read an address and a title from dragged data, over
// any bytes a source may deliver. Input: one selector byte, then the delivered
// block. A selector below 7 names the one format whose rule reads the block;
// any other is a set of formats (bits 0..6) that all deliver the block, which
// the fetch walks in priority order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/url_drop.h"
#include "fuzz/fuzz_support.h"
#include "tests/desktop/latin1_names.h"

namespace {
// Any dropped ".url" file holds a shortcut; names come down to Latin-1.
class ShortcutEverywhere : public ShortcutFileReader {
public:
    std::optional<std::string> ReadAll(const std::string&) const override {
        return std::string("[InternetShortcut]\r\nURL=http://radio.example/\r\n");
    }
    std::optional<std::string> AnsiName(std::u16string_view wide) const override { return Latin1Name(wide); }
};

// Delivers the same block for each format of a set.
class SameBlockSource : public UrlDropSource {
public:
    SameBlockSource(std::uint8_t formats, std::string_view block) : formats_(formats), block_(block) {}
    bool OffersAnyFormat() override { return true; }
    std::optional<std::string> Get(UrlDropFormat format) override {
        if (!(formats_ & (1u << static_cast<int>(format)))) return std::nullopt;
        return std::string(block_);
    }

private:
    std::uint8_t formats_;
    std::string_view block_;
};

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

void CheckRule(UrlDropFormat format, std::string_view block, bool accepted, const TURLDataFormat& result) {
    switch (format) {
        case UrlDropFormat::NetscapeBookmark:
        case UrlDropFormat::UniformResourceLocator:
            FUZZ_CHECK(accepted && result.URL == UpToZero(block), "the address is the text up to its zero");
            break;
        case UrlDropFormat::Text:
            if (accepted) {
                const std::size_t scheme = result.URL.find("://");
                FUZZ_CHECK(result.URL == UpToZero(block) && scheme != std::string::npos && scheme > 0,
                           "text is taken only whole and with a scheme");
            }
            break;
        case UrlDropFormat::Files:
            if (accepted) {
                FUZZ_CHECK(FirstDroppedFileName(block).has_value(), "a file is read only from a well-formed file list");
                FUZZ_CHECK(result.Title.find('\\') == std::string::npos, "the title has no folder");
            }
            break;
        default:
            break;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // An exact copy on the heap: a read past the block's end is caught.
    const std::vector<char> copy(data + 1, data + size);
    const std::string_view block(copy.data(), copy.size());
    const ShortcutEverywhere files;
    if (data[0] >= kUrlDropFormats.size()) {
        SameBlockSource source(data[0], block);
        TURLDataFormat result{"old", "old"};
        const UrlFetchResult outcome = FetchUrlData(source, files, result);
        FUZZ_CHECK(outcome != UrlFetchResult::NothingOffered, "formats are offered");
        if (outcome == UrlFetchResult::Refused)
            FUZZ_CHECK(result.URL.empty() && result.Title.empty(), "a refused drag leaves nothing found");
        return 0;
    }
    const UrlDropFormat format = kUrlDropFormats[data[0]];

    TURLDataFormat result;
    CheckRule(format, block, ApplyUrlDropRule(format, block, files, result), result);

    TURLDataFormat found{"http://found/", "Found"};
    ApplyUrlDropRule(format, block, files, found);
    FUZZ_CHECK(found.URL == "http://found/" && found.Title == "Found", "a value found is never replaced");

    if (auto name = FirstDroppedFileName(block)) {
        FUZZ_CHECK(name->wide ? !name->utf16.empty() : !name->ansi.empty(), "a named file has a name");
        FUZZ_CHECK(name->ansi.find('\0') == std::string::npos, "a name ends at its zero");
    }
    return 0;
}
