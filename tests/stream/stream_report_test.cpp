#include "stream/stream_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {
// A server's answer: the headers the library parsed, then the body handed out
// a few bytes at a time, then (when endless) audio for ever.
class ScriptedConnection : public StreamConnection {
public:
    ScriptedConnection(std::string headers, std::string body, bool endless = false)
        : headers_(std::move(headers)), body_(std::move(body)), endless_(endless) {}
    std::string HeaderText() override { return headers_; }
    std::size_t Read(char* buffer, std::size_t count) override {
        count = std::min<std::size_t>(count, 7);
        const std::size_t left = position_ < body_.size() ? body_.size() - position_ : 0;
        const std::size_t n = endless_ ? count : std::min(count, left);
        for (std::size_t i = 0; i < n; ++i, ++position_)
            buffer[i] = position_ < body_.size() ? body_[position_] : '\xFF';
        handedOut += n;
        return n;
    }
    std::size_t handedOut = 0;

private:
    std::string headers_, body_;
    std::size_t position_ = 0;
    bool endless_;
};

// Metadata as servers interleave it: the length byte, then the text padded to 16s.
std::string Block(const std::string& text) {
    std::string block = text + std::string((16 - text.size() % 16) % 16, '\0');
    return std::string(1, static_cast<char>(block.size() / 16)) + block;
}

const std::string kAudio16(16, '\xFB');
const std::string kIcyHeaders = "icy-metaint: 16\r\ncontent-type: audio/mpeg\r\n\r\n";
const std::string kTitleBlock = Block("StreamTitle='Nina Simone - Feeling Good';");

TEST(ReadStreamAnswer, FindsTheTitleWhereverTheServerPutsItsHeaders) {
    struct Row {
        const char* what;
        std::string libraryHeaders, body;
    } rows[] = {
        {"parsed by the library", "HTTP/1.0 200 OK\r\n" + kIcyHeaders, kAudio16 + kTitleBlock + kAudio16},
        {"ICY status line in the body", "HTTP/1.0 200 OK\r\n\r\n", "ICY 200 OK\r\n" + kIcyHeaders + kAudio16 + kTitleBlock},
        {"header lines in the body", "HTTP/1.0 200 OK\r\n\r\n", kIcyHeaders + kAudio16 + kTitleBlock},
    };
    for (const Row& row : rows) {
        ScriptedConnection connection(row.libraryHeaders, row.body);
        const StreamReport report = ReadStreamAnswer(connection, false);
        EXPECT_EQ(report.failure, ProbeFailure::kNone) << row.what;
        EXPECT_EQ(report.title, "Nina Simone - Feeling Good") << row.what;
        EXPECT_EQ(report.headers.contentType, "audio/mpeg") << row.what;
        EXPECT_EQ(report.headers.status, 200) << row.what;
    }
}

TEST(ReadStreamAnswer, NeverReadsMoreThanTheIntervalAndOneBlockAfterTheHeaders) {
    struct Row {
        const char* headers;
        std::size_t mostRead;
    } rows[] = {
        {"HTTP/1.0 200 OK\r\nicy-metaint: 16000\r\n\r\n", 16000 + kMaxMetadataBytes},  // length byte 0xFF
        {"HTTP/1.0 200 OK\r\nicy-metaint: 65536\r\n\r\n", 65536 + kMaxMetadataBytes},
        {"HTTP/1.0 200 OK\r\nicy-metaint: 65537\r\n\r\n", 0},
        {"HTTP/1.0 200 OK\r\nicy-metaint: 0\r\ncontent-type: audio/mpeg\r\n\r\n", 0},
        {"HTTP/1.0 200 OK\r\ncontent-type: audio/mpeg\r\n\r\n", 0},
    };
    for (const Row& row : rows) {
        ScriptedConnection connection(row.headers, "", true);
        ReadStreamAnswer(connection, false);
        EXPECT_EQ(connection.handedOut, row.mostRead) << row.headers;
    }
    ScriptedConnection icyInBody("HTTP/1.0 200 OK\r\n\r\n", "ICY 200 OK\r\nicy-metaint: 100\r\n\r\n", true);
    ReadStreamAnswer(icyInBody, false);
    EXPECT_EQ(icyInBody.handedOut, 32 + 100 + kMaxMetadataBytes) << "the headers in the body, then the same bound";
}

TEST(ReadStreamAnswer, TellsFailuresPlaylistsAndStreamsThatEndEarly) {
    ScriptedConnection notFound("HTTP/1.1 404 Not Found\r\n\r\n", "<html>404</html>");
    const StreamReport missing = ReadStreamAnswer(notFound, false);
    EXPECT_EQ(missing.failure, ProbeFailure::kHttpStatus);
    EXPECT_EQ(ProbeFailureText(missing), "La station ne r\xE9pond pas :\rson serveur r\xE9pond par l'erreur 404.");

    ScriptedConnection icy503("HTTP/1.0 200 OK\r\n\r\n", "ICY 503 Service Unavailable\r\n\r\n");
    EXPECT_EQ(ReadStreamAnswer(icy503, false).failure, ProbeFailure::kHttpStatus) << "the body's status counts";

    ScriptedConnection m3u("HTTP/1.0 200 OK\r\nContent-Type: audio/x-mpegurl\r\n\r\n", "#EXTM3U\nhttp://a.fr/live\n");
    EXPECT_EQ(ReadStreamAnswer(m3u, false).playlistAddress, "http://a.fr/live") << "by its content type";
    ScriptedConnection pls("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n", "[playlist]\nFile1=http://a.fr/s\n");
    EXPECT_EQ(ReadStreamAnswer(pls, true).playlistAddress, "http://a.fr/s") << "by its extension";
    ScriptedConnection audioAfterAll("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n", "", true);
    ReadStreamAnswer(audioAfterAll, true);
    EXPECT_EQ(audioAfterAll.handedOut, 0u) << "a .pls address that streams audio is not read as a playlist";

    ScriptedConnection cut("HTTP/1.0 200 OK\r\nicy-metaint: 16\r\n\r\n", kAudio16 + kTitleBlock.substr(0, 9));
    const StreamReport early = ReadStreamAnswer(cut, false);
    EXPECT_EQ(early.failure, ProbeFailure::kNone);
    EXPECT_EQ(early.title, "") << "a block cut short gives no title";
}
}  // namespace
