// The probe against a stream server on the loopback (tests/stream/stream_server.py):
// the request the real library sends, what it reads back, and how an ask that
// hangs is let go.
#include "stream/stream_probe_win32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/stream/stream_server_win32.h"
#include "tests/support/message_pump_win32.h"

namespace {
class StreamProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.Up()) GTEST_SKIP() << "the stream server did not start (python3)";
    }
    // Asks and pumps until the answer comes.
    std::optional<StreamReport> AskAndWait(const std::string& address, bool playlist = false) {
        answers.clear();
        probe.Ask(address, playlist);
        wine_support::PumpUntil([&] { return !answers.empty(); }, StreamProbe::kAskLimitMs + 2000);
        if (answers.empty()) return std::nullopt;
        return answers.back();
    }

    StreamServer server;
    std::vector<StreamReport> answers;
    StreamProbe probe{[this](const StreamReport& report) { answers.push_back(report); }};
};

TEST_F(StreamProbeTest, AsksForMetadataAndReadsTheTitleBehindEitherStatusLine) {
    const auto first = AskAndWait(server.Address("/icy"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->failure, ProbeFailure::kNone);
    EXPECT_EQ(first->title, "Beyonc\xE9 - D\xE9j\xE0 vu 1") << "UTF-8 in the ANSI code page";
    EXPECT_EQ(first->headers.name, "Radio d'essai");
    EXPECT_LE(first->bodyBytesRead, 16u + kMaxMetadataBytes);
    EXPECT_NE(server.Log().find("> Icy-MetaData: 1\n"), std::string::npos) << server.Log();

    const auto old = AskAndWait(server.Address("/icy-old"));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->title, "Beyonc\xE9 - D\xE9j\xE0 vu 2") << "the next ask sees the next song";
    EXPECT_EQ(old->headers.contentType, "audio/mpeg");

    const auto playlist = AskAndWait(server.Address("/list.m3u"), true);
    ASSERT_TRUE(playlist);
    EXPECT_EQ(playlist->playlistAddress, server.Address("/icy"));
}

TEST_F(StreamProbeTest, AMissingStreamAndARefusedConnectionAreFailures) {
    const auto missing = AskAndWait(server.Address("/nothing-here"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->failure, ProbeFailure::kHttpStatus);
    EXPECT_EQ(missing->headers.status, 404);
    const auto refused = AskAndWait("http://127.0.0.1:1/");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->failure, ProbeFailure::kRefused);
}

TEST_F(StreamProbeTest, SessionsHaveTheTimeLimitsAndRequestsTheFlagsAndNothingIsCached) {
    const UniqueInternetHandle session = StreamProbe::OpenSession();
    ASSERT_TRUE(session);
    // Wine keeps the send and receive limits of a session without answering
    // for them; Windows answers for all three.
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
        DWORD value = 0x55555555, size = sizeof value;
        if (::InternetQueryOptionA(session.get(), option, &value, &size))
            EXPECT_EQ(value, StreamProbe::kTimeLimitMs) << "option " << option;
        else
            EXPECT_TRUE(option != INTERNET_OPTION_CONNECT_TIMEOUT &&
                        ::GetLastError() == ERROR_INTERNET_INCORRECT_HANDLE_TYPE)
                << "option " << option << ", error " << ::GetLastError();
    }
    const DWORD flags = StreamProbe::RequestFlags();
    for (DWORD flag : std::initializer_list<DWORD>{INTERNET_FLAG_NO_CACHE_WRITE, INTERNET_FLAG_RELOAD, INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP,
                       INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS})
        EXPECT_EQ(flags & flag, flag) << std::hex << flag;

    ASSERT_TRUE(AskAndWait(server.Address("/icy")));
    char entry[4096];
    DWORD size = sizeof entry;
    EXPECT_FALSE(::GetUrlCacheEntryInfoA(server.Address("/icy").c_str(),
                                         reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(entry), &size))
        << "a stream never goes to the cache";
}

// Windows ends it after the read limit, Wine only at the probe's own limit.
TEST_F(StreamProbeTest, ASilentServerIsATimeOut) {
    const DWORD start = ::GetTickCount();
    const auto silent = AskAndWait(server.Address("/silent"));
    const DWORD took = ::GetTickCount() - start;
    ASSERT_TRUE(silent) << "no answer after " << took << " ms";
    EXPECT_EQ(silent->failure, ProbeFailure::kTimeOut);
    EXPECT_GE(took, StreamProbe::kTimeLimitMs - 500);
    EXPECT_LE(took, StreamProbe::kAskLimitMs + 500);
}

TEST_F(StreamProbeTest, ASilentServerIsLetGoAtOnceAndItsAnswerNeverComes) {
    probe.Ask(server.Address("/silent"), false);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return server.Log().find("GET /silent") != std::string::npos; }, 10000));
    probe.Abandon();
    EXPECT_FALSE(probe.Asking());
    wine_support::PumpFor(500);
    EXPECT_TRUE(answers.empty()) << "an abandoned ask never answers";

    std::optional<StreamProbe> ending;
    ending.emplace([](const StreamReport&) {});
    ending->Ask(server.Address("/silent"), false);
    wine_support::PumpFor(300);
    const DWORD start = ::GetTickCount();
    ending.reset();
    EXPECT_LT(::GetTickCount() - start, 1000u) << "the probe's end waits less than a second";
}
}  // namespace
