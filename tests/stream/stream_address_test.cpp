#include "stream/stream_address.h"

#include <gtest/gtest.h>

namespace {
TEST(ClassifyEntryAddress, AsksAboutStreamsAndPlaylistsAndLeavesPagesAndPathsAlone) {
    using K = EntryAddressKind;
    struct Row {
        const char* address;
        K kind;
    } rows[] = {
        {"http://flux.radio.fr/fip-midfi.mp3", K::kStream},
        {"https://stream.radio.fr/live", K::kStream},
        {"http://radio.fr:8000/", K::kStream},
        {"http://radio.fr/listen.pls", K::kPlaylist},
        {"https://radio.fr/a/b.M3U?session=1", K::kPlaylist},
        {"https://radio.fr/live/master.m3u8", K::kLeftAlone},
        {"https://www.radio.fr/index.html", K::kLeftAlone},
        {"http://radio.fr/player.php?id=3", K::kLeftAlone},
        {"http://radio.fr/x.m3u/stream", K::kStream},
        {"HTTP://radio.fr/x.mp3", K::kLeftAlone},  // no web address to the list
        {"\\\\serveur\\partage\\p.htm", K::kLeftAlone},
        {"www.radio.fr", K::kLeftAlone},
        {"ftp://site/f.mp3", K::kLeftAlone},
        {"about:blank", K::kLeftAlone},
        {"", K::kLeftAlone},
        {"Tonalite.htm", K::kPage},
        {"file:///C:\\Sonoraflux\\Pages\\a.htm", K::kPage},
        {"C:\\Pages\\a.htm", K::kPage},
    };
    for (const Row& row : rows)
        EXPECT_EQ(static_cast<int>(ClassifyEntryAddress(row.address)), static_cast<int>(row.kind)) << row.address;
}

TEST(ClassifyContentType, TellsWhatTheBrowserCanPlay) {
    using C = ContentKind;
    struct Row {
        const char* type;
        C kind;
    } rows[] = {
        {"audio/mpeg", C::kPlayableAudio},     {"Audio/AACP; x=1", C::kPlayableAudio},
        {"audio/ogg", C::kUnplayableAudio},    {"application/ogg", C::kUnplayableAudio},
        {"audio/flac", C::kUnplayableAudio},   {"audio/x-mpegurl", C::kPlaylist},
        {"audio/x-scpls", C::kPlaylist},       {"application/vnd.apple.mpegurl", C::kOther},
        {"text/html; charset=utf-8", C::kOther}, {"", C::kOther},
    };
    for (const Row& row : rows)
        EXPECT_EQ(static_cast<int>(ClassifyContentType(row.type)), static_cast<int>(row.kind)) << row.type;
    EXPECT_TRUE(HasAudioExtension("http://r.fr/live.aac?x=1"));
    EXPECT_FALSE(HasAudioExtension("http://r.fr/live"));
    EXPECT_FALSE(HasAudioExtension("http://mp3.r.fr/"));
}

TEST(FirstPlaylistAddress, TakesTheFirstWebAddressOfEitherFormat) {
    struct Row {
        const char* playlist;
        const char* first;
    } rows[] = {
        {"#EXTM3U\r\n#EXTINF:-1,Radio\r\nhttp://a.fr/1.mp3\r\nhttp://a.fr/2.mp3\r\n", "http://a.fr/1.mp3"},
        {"\xEF\xBB\xBFhttps://a.fr/live\n", "https://a.fr/live"},
        {"local/file.mp3\nC:\\x.mp3\n  http://a.fr/ok  \n", "http://a.fr/ok"},
        {"[playlist]\r\nNumberOfEntries=2\r\nFile1=http://a.fr/s1\r\nTitle1=R\r\nFile2=http://a.fr/s2\r\n",
         "http://a.fr/s1"},
        {"[Playlist]\nfile1 = https://a.fr/s\n", ""},  // "file1 " is no FileN key
        {"[playlist]\nFile1=\nFileX=http://a.fr/x\nFile2=https://a.fr/s2\n", "https://a.fr/s2"},
        {"#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nhttp://a.fr/hls.m3u8\n", ""},
        {"", ""},
        {"http://", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(FirstPlaylistAddress(row.playlist), row.first) << row.playlist;
}

TEST(FirstPageAudioAddress, TakesTheFirstSourceOfAnAudioElement) {
    struct Row {
        const char* page;
        const char* first;
    } rows[] = {
        {"<!DOCTYPE html><audio autoplay src=\"tone.mp3\"></audio>", "tone.mp3"},
        {"<AUDIO controls><SOURCE type='audio/mpeg' SRC='http://a.fr/s?x=1&amp;y=2'></AUDIO>",
         "http://a.fr/s?x=1&y=2"},
        {"<embed src=http://a.fr/live autostart=true>", "http://a.fr/live"},
        {"<img src=\"p.png\"><audio data-src=\"no\"><source srcset=\"no\" src = \"yes.mp3\">", "yes.mp3"},
        {"<audiox src=\"no\"><script src=\"no.js\"></script>", ""},
        {"<audio src=\"unended", "unended"},
        {"<audio src=", ""},
        {"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(FirstPageAudioAddress(row.page), row.first) << row.page;
}
}  // namespace
