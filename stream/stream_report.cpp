#include "stream/stream_report.h"

#include <algorithm>

#include "stream/stream_address.h"

namespace {
// Reads until count bytes are there or the body ends.
std::string ReadUpTo(StreamConnection& connection, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        const std::size_t got = connection.Read(bytes.data() + have, count - have);
        if (got == 0) break;
        have += std::min(got, count - have);
    }
    bytes.resize(have);
    return bytes;
}

// Old servers' headers at the start of the body: read in small pieces until
// their blank line shows, so no more of the stream is read than is needed.
// Returns the body bytes read after them (all of them when there are none).
std::string TakeBodyHeaders(StreamConnection& connection, StreamReport& report) {
    constexpr std::size_t kPiece = 512;
    std::string start;
    while (start.size() < kMaxHeaderBytes) {
        const std::string piece = ReadUpTo(connection, kPiece);
        start += piece;
        report.bodyBytesRead += piece.size();
        if (const auto found = HeadersAtBodyStart(start)) {
            report.headers = found->headers;
            return start.substr(found->length);
        }
        const bool mayBeText = !start.empty() && ((start[0] >= 'A' && start[0] <= 'Z') ||
                                                  (start[0] >= 'a' && start[0] <= 'z'));
        if (piece.size() < kPiece || !mayBeText || start.find("\n\n") != std::string::npos ||
            start.find("\r\n\r\n") != std::string::npos)
            break;
    }
    return start;
}

// The interval's audio, the length byte, then the block it counts.
void ReadTitle(StreamConnection& connection, std::string already, StreamReport& report) {
    const std::size_t interval = report.headers.metaInterval;
    const std::size_t wanted = interval + kMaxMetadataBytes;
    if (already.size() < interval + 1) {
        const std::string more = ReadUpTo(connection, interval + 1 - already.size());
        report.bodyBytesRead += more.size();
        already += more;
    }
    if (already.size() < interval + 1) return;
    const std::size_t blockLength = static_cast<unsigned char>(already[interval]) * std::size_t{16};
    const std::size_t end = std::min(interval + 1 + blockLength, wanted);
    if (already.size() < end) {
        const std::string more = ReadUpTo(connection, end - already.size());
        report.bodyBytesRead += more.size();
        already += more;
    }
    report.title = StreamTitleOf(std::string_view(already).substr(interval + 1, blockLength));
}
}  // namespace

StreamReport ReadStreamAnswer(StreamConnection& connection, bool playlist) {
    StreamReport report;
    report.headers = ParseHeaderLines(connection.HeaderText());
    const int libraryStatus = report.headers.status;
    std::string body;
    if (report.headers.contentType.empty() && report.headers.metaInterval == 0) {
        body = TakeBodyHeaders(connection, report);
        if (report.headers.status == 0) report.headers.status = libraryStatus;
    }
    if (report.headers.status >= 400) {
        report.failure = ProbeFailure::kHttpStatus;
        return report;
    }
    const ContentKind kind = ClassifyContentType(report.headers.contentType);
    const bool audio = kind == ContentKind::kPlayableAudio || kind == ContentKind::kUnplayableAudio;
    if (kind == ContentKind::kPlaylist || (playlist && !audio)) {
        if (body.size() < kMaxPlaylistBytes) body += ReadUpTo(connection, kMaxPlaylistBytes - body.size());
        report.playlistAddress = FirstPlaylistAddress(body);
        return report;
    }
    if (report.headers.metaInterval > 0 && report.headers.metaInterval <= kMaxMetaInterval)
        ReadTitle(connection, std::move(body), report);
    return report;
}

std::string ProbeFailureText(const StreamReport& report) {
    std::string why;
    switch (report.failure) {
    case ProbeFailure::kNameNotFound: why = "son adresse est introuvable."; break;
    case ProbeFailure::kRefused: why = "son serveur refuse la connexion."; break;
    case ProbeFailure::kHttpStatus:
        why = "son serveur répond par l'erreur " + std::to_string(report.headers.status) + ".";
        break;
    case ProbeFailure::kTimeOut: why = "son serveur n'a pas répondu à temps."; break;
    case ProbeFailure::kOther: why = "la connexion a échoué."; break;
    case ProbeFailure::kNone: return {};
    }
    return "La station ne répond pas :\r" + why;
}
