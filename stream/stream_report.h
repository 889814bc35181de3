// What one ask to a stream's server found out, and how the answer is read
// from a connection: the headers, then, when the server interleaves metadata,
// the first metadata block, never more than the interval and one block after
// the headers; a playlist's first stream. The connection is the system's
// internet library on Windows and a script in the tests.
#pragma once
#include <cstddef>
#include <string>

#include "stream/stream_text.h"

class StreamConnection {
public:
    virtual ~StreamConnection() = default;
    // The response headers as the system's library parsed them, status line first.
    virtual std::string HeaderText() = 0;
    // Up to count bytes of the body; 0 at its end, on a failure or a time-out.
    virtual std::size_t Read(char* buffer, std::size_t count) = 0;
};

enum class ProbeFailure { kNone, kNameNotFound, kRefused, kHttpStatus, kTimeOut, kOther };

struct StreamReport {
    ProbeFailure failure = ProbeFailure::kNone;
    StreamHeaders headers;
    std::string title;            // the song; empty when the stream tells none
    std::string playlistAddress;  // a playlist's first stream
    std::size_t bodyBytesRead = 0;
};

// Reads the answer; a playlist (by the caller's guess or the content type) is
// read up to kMaxPlaylistBytes for its first stream.
StreamReport ReadStreamAnswer(StreamConnection& connection, bool playlist);

// The balloon text of a failed first ask: the station does not answer, and why.
std::string ProbeFailureText(const StreamReport& report);
