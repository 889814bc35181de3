// What a stream server answers, read from text that the server controls: the
// response headers (parsed by the system, or at the start of the body for old
// servers) and the song title in the interleaved metadata. Every size is
// capped; nothing here trusts a length it was given.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct StreamHeaders {
    int status = 0;              // 0 when there was no status line
    std::string contentType;     // lower case, without its parameters
    std::string name;            // icy-name, as a title (see StreamTitleText)
    std::size_t metaInterval = 0;  // icy-metaint; 0 when absent or not a number
};

// Header blocks longer than this are not headers: the start of a body that
// holds none must not be read without end.
inline constexpr std::size_t kMaxHeaderBytes = 8192;
// An interval beyond this is not read: the probe reads at most the interval
// and one metadata block after the headers.
inline constexpr std::size_t kMaxMetaInterval = 64 * 1024;
// The length byte counts 16-byte units.
inline constexpr std::size_t kMaxMetadataBytes = 1 + 255 * 16;
// Titles longer than this are cut; the tray shows far less anyway.
inline constexpr std::size_t kMaxTitleLength = 200;

// Header lines ("Name: value", CR LF or LF), an optional status line first
// ("HTTP/1.0 200 OK", "ICY 200 OK"), up to the first blank line.
StreamHeaders ParseHeaderLines(std::string_view text);

// Headers that a server sent as the start of the body (the system's library
// takes "ICY 200 OK" for a response with none): the headers and the count of
// bytes they take up to and including the blank line, or nothing when the
// body does not start with header lines ended by a blank line within
// kMaxHeaderBytes.
struct BodyHeaders {
    StreamHeaders headers;
    std::size_t length = 0;
};
std::optional<BodyHeaders> HeadersAtBodyStart(std::string_view body);

// The song title of one metadata block ("StreamTitle='...';", padded with
// zeros), as StreamTitleText gives it; empty when the block has none.
std::string StreamTitleOf(std::string_view block);

// A title as the tray shows it: the text of a tag-wrapped title
// (text="Artist - Song" id="...") without its tags, UTF-8 in the ANSI code
// page 1252 with '?' for what it lacks (bytes that are not UTF-8 are taken as
// 1252 already), control characters removed, spaces trimmed, cut to
// kMaxTitleLength.
std::string StreamTitleText(std::string_view raw);
