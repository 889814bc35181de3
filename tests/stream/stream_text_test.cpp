#include "stream/stream_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {
TEST(ParseHeaderLines, ReadsTheFieldsTheProbeNeedsInAnyCaseUpToTheBlankLine) {
    const StreamHeaders h = ParseHeaderLines(
        "ICY 200 OK\r\nicy-name: Jazz du soir\r\nContent-Type: Audio/MPEG; charset=x\r\nICY-METAINT:16000\r\n\r\n"
        "icy-name: after the blank line\r\n");
    EXPECT_EQ(h.status, 200);
    EXPECT_EQ(h.name, "Jazz du soir");
    EXPECT_EQ(h.contentType, "audio/mpeg");
    EXPECT_EQ(h.metaInterval, 16000u);

    struct Row {
        const char* text;
        int status;
        std::size_t interval;
    } rows[] = {
        {"HTTP/1.0 404 Not Found\nicy-metaint: 8192\n", 404, 8192},
        {"HTTP/1.1 200\r\n", 200, 0},
        {"icy-metaint: 12ab\r\n", 0, 0},
        {"icy-metaint: -5\r\n", 0, 0},
        {"icy-metaint: 99999999999999999999999999\r\n", 0, kMaxMetaInterval + 1},
        {"X 200 OK\r\nicy-metaint: 5\r\n", 0, 5},
        {"HTTP/1.0 2x0 OK\r\n", 0, 0},
    };
    for (const Row& row : rows) {
        const StreamHeaders parsed = ParseHeaderLines(row.text);
        EXPECT_EQ(parsed.status, row.status) << row.text;
        EXPECT_EQ(parsed.metaInterval, row.interval) << row.text;
    }
}

TEST(HeadersAtBodyStart, FindsHeaderLinesWithOrWithoutAStatusLineAndOnlyThose) {
    struct Row {
        std::string body;
        bool found;
        std::size_t length;
    } rows[] = {
        {"icy-metaint: 10\r\ncontent-type: audio/mpeg\r\n\r\n\xFF\xFB", true, 45},
        {"ICY 200 OK\r\nicy-metaint: 10\r\n\r\nxyz", true, 31},
        {"ICY 200 OK\nicy-metaint: 10\n\nxyz", true, 28},
        {"\xFF\xFB\x90\x00 audio", false, 0},
        {"ID3\x03\x00 tags", false, 0},
        {"icy-metaint: 10\r\n", false, 0},                           // no blank line
        {"\r\nicy-metaint: 10\r\n\r\n", false, 0},                  // nothing before the blank line
        {"icy-metaint: 10\r\n\xFF\xFB not a header\r\n\r\n", false, 0},
        {"icy-name: a" + std::string(kMaxHeaderBytes, 'a') + "\r\n\r\n", false, 0},  // past the bound
    };
    for (const Row& row : rows) {
        const auto headers = HeadersAtBodyStart(row.body);
        ASSERT_EQ(headers.has_value(), row.found) << row.body.substr(0, 40);
        if (headers) {
            EXPECT_EQ(headers->length, row.length) << row.body;
            EXPECT_EQ(headers->headers.metaInterval, 10u) << row.body;
        }
    }
}

TEST(StreamTitleOf, TakesTheTitleOfTheBlockAsTheListenerWantsIt) {
    struct Row {
        std::string block;
        const char* title;
    } rows[] = {
        {std::string("StreamTitle='Miles Davis - So What';StreamUrl='';\0\0\0", 48), "Miles Davis - So What"},
        {"StreamTitle='Guns N' Roses - Patience';", "Guns N' Roses - Patience"},
        {"StreamTitle='';", ""},
        {"StreamUrl='x';", ""},
        {"StreamTitle='cut off", "cut off"},
        {"StreamTitle='ends with quote'", "ends with quote"},
        {std::string("StreamTitle='a\0b';", 18), "a"},
        {"StreamTitle='text=\"Nina Simone - Feeling Good\" song_spot=\"M\" id=\"4021\"';", "Nina Simone - Feeling Good"},
        {"StreamTitle='title=\"Feeling Good\" artist=\"Nina Simone\"';", "Nina Simone - Feeling Good"},
        {"StreamTitle='title=\"Feeling Good\"';", "Feeling Good"},
        {"StreamTitle='A \"text=\" in the middle';", "A \"text=\" in the middle"},
    };
    for (const Row& row : rows) EXPECT_EQ(StreamTitleOf(row.block), row.title) << row.block;
}

TEST(StreamTitleText, ShowsUtf8InCodePage1252AndKeepsOtherBytesAsThey1252) {
    struct Row {
        std::string raw;
        std::string shown;
    } rows[] = {
        {"Beyonc\xC3\xA9 \xE2\x80\x93 D\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC", "Beyonc\xE9 \x96 D\xE9j\xE0 vu \x80"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8E\xB5", "?? ?"},
        {"Beyonc\xE9", "Beyonc\xE9"},                     // already 1252
        {"\xC3\xA9t\xE9", "\xC3\xA9t\xE9"},               // mixed: not UTF-8, so all 1252
        {"\xC0\xAF overlong", "\xC0\xAF overlong"},      // an overlong form is not UTF-8
        {"\xED\xA0\x80 surrogate", "\xED\xA0\x80 surrogate"},
        {"cut \xC3", "cut \xC3"},                         // a sequence cut at the end
        {"a\tb\r\nc\x7F" "d\x1B[31m", "abcd[31m"},
        {"x\xC2\x85y", "xy"},                             // a C1 control in UTF-8
        {"  spaced  ", "spaced"},
        {std::string(500, 'z'), std::string(kMaxTitleLength, 'z')},
    };
    for (const Row& row : rows) EXPECT_EQ(StreamTitleText(row.raw), row.shown) << row.raw;
}
}  // namespace
