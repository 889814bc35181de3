#include "desktop/url_drop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "tests/desktop/latin1_names.h"

using namespace std::string_literals;

namespace {
class FakeFiles : public ShortcutFileReader {
public:
    std::map<std::string, std::string> files;
    mutable std::vector<std::string> reads;
    std::optional<std::string> ReadAll(const std::string& path) const override {
        reads.push_back(path);
        auto found = files.find(path);
        if (found == files.end()) return std::nullopt;
        return found->second;
    }
    std::optional<std::string> AnsiName(std::u16string_view wide) const override { return Latin1Name(wide); }
};

void PutUInt32(std::string& data, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Descriptor(std::uint32_t count, const std::vector<std::string>& names) {
    std::string data(4 + 332 * names.size(), '\0');
    PutUInt32(data, 0, count);
    for (std::size_t i = 0; i < names.size(); ++i) data.replace(4 + 332 * i + 72, names[i].size(), names[i]);
    return data;
}

// An image record of `size` bytes with texts placed at the given offsets.
std::string ImageRecord(std::size_t size, std::uint32_t titleAt, std::uint32_t urlAt,
                        const std::map<std::size_t, std::string>& texts) {
    std::string data(size, '\0');
    PutUInt32(data, 32, titleAt);
    PutUInt32(data, 36, urlAt);
    for (const auto& [at, text] : texts) data.replace(at, text.size(), text);
    return data;
}

std::string Bookmark(const std::string& url, const std::string& title) {
    std::string data(1024 + title.size() + 1, '\0');
    data.replace(0, url.size(), url);
    data.replace(1024, title.size(), title);
    return data;
}

// A file list block: the 20-byte header, then the names as given (each with
// its zero and the list's final zero already in `names`).
std::string DropFiles(const std::string& names, bool wide = false, std::uint32_t namesAt = 20) {
    std::string data(20, '\0');
    PutUInt32(data, 0, namesAt);
    PutUInt32(data, 16, wide ? 1 : 0);
    return data + names;
}

std::string Ansi(const std::string& path) { return DropFiles(path + std::string(2, '\0')); }

std::string Utf16(const std::u16string& names) {
    std::string bytes;
    for (char16_t unit : names) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const char kShortcut[] = "[InternetShortcut]\r\nURL=http://radio.example/live\r\n";

struct RuleCase {
    const char* name;
    UrlDropFormat format;
    std::string data;
    bool accepted;
    std::string url;
    std::string title;
};

void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }

class UrlDropRule : public testing::TestWithParam<RuleCase> {};

TEST_P(UrlDropRule, TakesAddressAndTitle) {
    const RuleCase& c = GetParam();
    FakeFiles files;
    files.files["C:\\Bureau\\Radio Jazz.URL"] = kShortcut;
    files.files["C:\\Bureau\\vide.url"] = "[InternetShortcut]\r\nIconIndex=0\r\n[Autre]\r\nURL=http://x/\r\n";
    TURLDataFormat result;
    EXPECT_EQ(ApplyUrlDropRule(c.format, c.data, files, result), c.accepted);
    EXPECT_EQ(result.URL, c.url);
    EXPECT_EQ(result.Title, c.title);
}

// An address without its zero inside the record: reading it must stop at the end of the data.
std::string UnterminatedImageRecord() {
    std::string data = ImageRecord(60, 0, 50, {});
    data.replace(50, 10, "http://abc");
    return data;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, UrlDropRule,
    testing::Values(
        RuleCase{"BookmarkWithTitle", UrlDropFormat::NetscapeBookmark, Bookmark("http://a/", "Page A"), true,
                 "http://a/", "Page A"},
        RuleCase{"ShortBookmarkHasNoTitle", UrlDropFormat::NetscapeBookmark, "http://a/\0xx"s, true,
                 "http://a/", ""},
        RuleCase{"ImageRecord", UrlDropFormat::NetscapeImage,
                 ImageRecord(100, 60, 45, {{45, "http://img/"}, {60, "Image"}}), true, "http://img/", "Image"},
        RuleCase{"ImageRecordOfFortyFourBytesRejected", UrlDropFormat::NetscapeImage, ImageRecord(44, 0, 0, {}), false,
                 "", ""},
        RuleCase{"ImageRecordZeroOffsetsAreAbsent", UrlDropFormat::NetscapeImage, ImageRecord(45, 0, 0, {}), true, "",
                 ""},
        RuleCase{"ImageOffsetPastTheEnd", UrlDropFormat::NetscapeImage, ImageRecord(60, 0xFFFFFFF0u, 60, {}), true, "",
                 ""},
        RuleCase{"ImageTextWithoutZero", UrlDropFormat::NetscapeImage, UnterminatedImageRecord(), true, "", ""},
        RuleCase{"UrlCutAtZero", UrlDropFormat::UniformResourceLocator, "http://b/\0junk"s, true,
                 "http://b/", ""},
        RuleCase{"DescriptorOfShortcut", UrlDropFormat::FileGroupDescriptor, Descriptor(1, {"Radio Jazz.URL"}), true,
                 "", "Radio Jazz"},
        RuleCase{"DescriptorCountMismatch", UrlDropFormat::FileGroupDescriptor, Descriptor(2, {"Radio.url"}), false,
                 "", ""},
        RuleCase{"DescriptorEmpty", UrlDropFormat::FileGroupDescriptor, Descriptor(0, {}), false, "", ""},
        RuleCase{"DescriptorTooShort", UrlDropFormat::FileGroupDescriptor, "\1\0"s, false, "", ""},
        RuleCase{"DescriptorNotShortcut", UrlDropFormat::FileGroupDescriptor, Descriptor(1, {"photo.jpg"}), false, "",
                 ""},
        RuleCase{"FileContents", UrlDropFormat::FileContents, kShortcut, true, "http://radio.example/live", ""},
        RuleCase{"FileContentsWithoutUrl", UrlDropFormat::FileContents, "[InternetShortcut]\r\n", false, "", ""},
        RuleCase{"TextWithScheme", UrlDropFormat::Text, "https://radio.example/", true, "https://radio.example/", ""},
        RuleCase{"TextWithoutScheme", UrlDropFormat::Text, "radio.example", false, "", ""},
        RuleCase{"TextStartingWithSeparator", UrlDropFormat::Text, "://radio", false, "", ""},
        RuleCase{"ShortcutFile", UrlDropFormat::Files, Ansi("C:\\Bureau\\Radio Jazz.URL"), true,
                 "http://radio.example/live", "Radio Jazz"},
        RuleCase{"ShortcutFileNamedInUtf16", UrlDropFormat::Files,
                 DropFiles(Utf16(u"C:\\Bureau\\Radio Jazz.URL\0autre.txt\0\0"s), true), true,
                 "http://radio.example/live", "Radio Jazz"},
        RuleCase{"Utf16NameWithoutAnsiForm", UrlDropFormat::Files,
                 DropFiles(Utf16(u"C:\\Bureau\\\u0420\u0430\u0434\u0438\u043e.url\0\0"s), true), false, "", ""},
        RuleCase{"ShortcutFileWithoutUrlLine", UrlDropFormat::Files, Ansi("C:\\Bureau\\vide.url"), false, "", ""},
        RuleCase{"UnreadableShortcutFile", UrlDropFormat::Files, Ansi("C:\\Bureau\\absent.url"), false, "", ""},
        RuleCase{"OtherFile", UrlDropFormat::Files, Ansi("C:\\Bureau\\Radio Jazz.txt"), false, "", ""},
        RuleCase{"FileListWithoutFinalZero", UrlDropFormat::Files,
                 DropFiles("C:\\Bureau\\Radio Jazz.URL\0"s), false, "", ""}),
    [](const testing::TestParamInfo<RuleCase>& row) { return std::string(row.param.name); });

TEST(UrlDropRule, NeverReplacesWhatIsAlreadyFound) {
    FakeFiles files;
    TURLDataFormat result{"http://first/", "First"};
    EXPECT_TRUE(ApplyUrlDropRule(UrlDropFormat::NetscapeBookmark, Bookmark("http://a/", "A"), files, result));
    EXPECT_TRUE(ApplyUrlDropRule(UrlDropFormat::FileGroupDescriptor, Descriptor(1, {"B.url"}), files, result));
    EXPECT_FALSE(ApplyUrlDropRule(UrlDropFormat::Text, "http://c/", files, result))
        << "plain text is accepted only while no address is known";
    EXPECT_EQ(result.URL, "http://first/");
    EXPECT_EQ(result.Title, "First");
}

TEST(FirstDroppedFileName, RefusesMalformedListsAndReadsOnlyInsideTheBlock) {
    struct Case {
        const char* name;
        std::string block;
        std::optional<std::string> ansi;
        std::optional<std::u16string> utf16;
    };
    const Case cases[] = {
        {"two ANSI names", DropFiles("C:\\a.url\0C:\\b.txt\0\0"s), "C:\\a.url", {}},
        {"UTF-16 names", DropFiles(Utf16(u"C:\\\u00e9t\u00e9.url\0\0"s), true), {}, u"C:\\\u00e9t\u00e9.url"},
        {"names after a larger header", DropFiles(std::string(4, 'x') + "a.url\0\0"s, false, 24),
         "a.url", {}},
        {"zero size", "", {}, {}},
        {"header cut short", DropFiles("").substr(0, 19), {}, {}},
        {"header only", DropFiles(""), {}, {}},
        {"offset past the end", DropFiles("a.url\0\0"s, false, 0xFFFFFFF0u), {}, {}},
        {"offset at the end", DropFiles("a.url\0\0"s, false, 27), {}, {}},
        {"offset inside the header", DropFiles("a.url\0\0"s, false, 4), {}, {}},
        {"no zero at all", DropFiles("C:\\a.url"), {}, {}},
        {"one zero only", DropFiles("C:\\a.url\0"s), {}, {}},
        {"second name unended", DropFiles("a.url\0b.txt"s), {}, {}},
        {"empty list", DropFiles("\0\0"s), {}, {}},
        {"UTF-16 without final zero", DropFiles(Utf16(u"a.url\0"s), true), {}, {}},
        {"UTF-16 ended by a single zero byte", DropFiles(Utf16(u"a.url\0"s) + std::string(1, '\0'), true), {}, {}},
        {"UTF-16 at an odd offset", DropFiles("x" + Utf16(u"a.url\0\0"s), true, 21), {}, u"a.url"},
    };
    for (const Case& c : cases) {
        // A copy on the heap of exactly the block's size: a read past it is caught.
        std::unique_ptr<char[]> exact(new char[c.block.size() + 1]);
        std::memcpy(exact.get(), c.block.data(), c.block.size());
        const auto name = FirstDroppedFileName(std::string_view(exact.get(), c.block.size()));
        const bool expected = c.ansi || c.utf16;
        ASSERT_EQ(name.has_value(), expected) << c.name;
        if (!name) continue;
        EXPECT_EQ(name->wide, c.utf16.has_value()) << c.name;
        if (c.ansi) {
            EXPECT_EQ(name->ansi, *c.ansi) << c.name;
        }
        if (c.utf16) {
            EXPECT_TRUE(name->utf16 == *c.utf16) << c.name << ": " << name->utf16.size() << " units";
        }
    }
}

struct ShortcutCase {
    const char* text;
    std::optional<std::string> url;
};

TEST(InternetShortcutUrl, ReadsTheUrlLineOfItsSection) {
    const ShortcutCase cases[] = {
        {"[InternetShortcut]\r\nURL=http://a/", "http://a/"},
        {"[internetshortcut]\nurl=http://b/ \n", "http://b/ "},
        {"[InternetShortcut]\rIconFile=x\rURL=http://c/\r", "http://c/"},
        {"[Other]\r\nURL=http://x/\r\n[InternetShortcut]\r\nURL=http://d/\r\n", "http://d/"},
        {"[InternetShortcut]\r\n\r\nURL=http://e/", "http://e/"},
        {"[InternetShortcut]\r\n[Next]\r\nURL=http://x/", std::nullopt},
        {"[InternetShortcut]", std::nullopt},
        {"[InternetShortcut]\r\nIconIndex=1\r\n", std::nullopt},
        {"URL=http://x/\r\n", std::nullopt},
        {" [InternetShortcut]\r\nURL=http://x/", std::nullopt},
        {"[InternetShortcut]\r\nURL=", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(InternetShortcutUrl(c.text), c.url) << "text: " << c.text;
}

class FakeSource : public UrlDropSource {
public:
    bool offers = true;
    std::map<UrlDropFormat, std::string> data;
    std::vector<UrlDropFormat> asked;
    bool OffersAnyFormat() override { return offers; }
    std::optional<std::string> Get(UrlDropFormat format) override {
        asked.push_back(format);
        auto found = data.find(format);
        if (found == data.end()) return std::nullopt;
        return found->second;
    }
};

TEST(FetchUrlData, LinkFromBrowserGivesAddressAndPageTitle) {
    FakeSource source;
    source.data[UrlDropFormat::UniformResourceLocator] = "http://radio.example/\0"s;
    source.data[UrlDropFormat::FileGroupDescriptor] = Descriptor(1, {"Radio Example.url"});
    source.data[UrlDropFormat::Text] = "http://other/";
    FakeFiles files;
    TURLDataFormat result{"old", "old"};
    EXPECT_EQ(FetchUrlData(source, files, result), UrlFetchResult::Fetched);
    EXPECT_EQ(result.URL, "http://radio.example/");
    EXPECT_EQ(result.Title, "Radio Example");
    EXPECT_EQ(source.asked.size(), 4u) << "the walk stops once address and title are known";
}

TEST(FetchUrlData, OutcomeOfEachKindOfDrag) {
    struct Case {
        const char* name;
        bool offers;
        std::map<UrlDropFormat, std::string> data;
        UrlFetchResult outcome;
        std::string url;
    };
    const Case cases[] = {
        {"nothing offered", false, {}, UrlFetchResult::NothingOffered, ""},
        {"bare host name", true, {{UrlDropFormat::Text, "radio.example"}}, UrlFetchResult::Refused, ""},
        {"empty data skipped", true, {{UrlDropFormat::UniformResourceLocator, ""}}, UrlFetchResult::Refused, ""},
        {"text with scheme", true, {{UrlDropFormat::Text, "ftp://x/"}}, UrlFetchResult::Fetched, "ftp://x/"},
        {"bad descriptor then text",
         true,
         {{UrlDropFormat::FileGroupDescriptor, Descriptor(3, {"a.url"})}, {UrlDropFormat::Text, "http://t/"}},
         UrlFetchResult::Fetched,
         "http://t/"},
    };
    FakeFiles files;
    for (const auto& c : cases) {
        FakeSource source;
        source.offers = c.offers;
        source.data = c.data;
        TURLDataFormat result{"old", "old"};
        EXPECT_EQ(FetchUrlData(source, files, result), c.outcome) << c.name;
        EXPECT_EQ(result.URL, c.url) << c.name;
    }
}

TEST(ChooseDropEffect, FollowsKeysAndAllowedEffects) {
    struct Case {
        bool control, shift;
        std::uint32_t offered, dragTypes, effect;
    };
    const std::uint32_t all = kDropEffectCopy | kDropEffectMove | kDropEffectLink;
    const std::uint32_t copyLink = kDropEffectCopy | kDropEffectLink;
    const Case cases[] = {
        {false, false, all, copyLink, kDropEffectCopy},
        {false, false, kDropEffectMove | kDropEffectLink, copyLink, kDropEffectLink},
        {true, true, all, copyLink, kDropEffectLink},
        {true, false, all, copyLink, kDropEffectCopy},
        {true, false, kDropEffectLink, copyLink, kDropEffectLink},
        {false, true, all, copyLink, kDropEffectCopy},
        {false, false, all, all, kDropEffectMove},
        {false, false, kDropEffectMove, copyLink, kDropEffectNone},
        {true, true, 0, copyLink, kDropEffectNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseDropEffect(c.control, c.shift, c.offered, c.dragTypes), c.effect)
            << "ctrl " << c.control << " shift " << c.shift << " offered " << c.offered << " types " << c.dragTypes;
}
}  // namespace
