// Which addresses have a stream the program can ask about: an entry's address,
// a content type, the first stream of a playlist, the first audio address of
// a page. Anything the probe cannot follow (a station's web page, HLS, a
// network path) is left alone.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

enum class EntryAddressKind {
    kStream,     // http or https: asked about, the content type tells the rest
    kPlaylist,   // http or https ending in .m3u or .pls
    kPage,       // a page of our own (a name in Pages\) or a local page
    kLeftAlone,  // a web page, HLS, a network path, another scheme
};

// The list has always read its web addresses by case-sensitive prefix.
EntryAddressKind ClassifyEntryAddress(std::string_view address);

// "http://" or "https://" in any case, with something after it.
bool IsHttpAddress(std::string_view address);

enum class ContentKind {
    kPlayableAudio,    // MP3 and AAC: what the browser's <audio> plays
    kUnplayableAudio,  // Ogg, Opus, FLAC, WAV... : no sound from the browser
    kPlaylist,
    kOther,            // a web page, HLS, anything else
};
ContentKind ClassifyContentType(std::string_view contentType);

// An address ending in a known audio extension (for when the server does not say).
bool HasAudioExtension(std::string_view address);

// Bytes of a playlist or page that are looked at; the rest is ignored.
inline constexpr std::size_t kMaxPlaylistBytes = 64 * 1024;
inline constexpr std::size_t kMaxPageBytes = 256 * 1024;

// The first http or https address of an .m3u or .pls playlist; empty when it
// has none or is an HLS playlist.
std::string FirstPlaylistAddress(std::string_view playlist);

// The src of the first <audio>, <source> or <embed> element that has one
// (&amp; decoded); empty when there is none.
std::string FirstPageAudioAddress(std::string_view page);
