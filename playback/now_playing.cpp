#include "playback/now_playing.h"

#include "stream/stream_address.h"

std::string PlayingHintWithSong(const std::string& entryTitle, const std::string& song) {
    const std::string first = PlayingHint(entryTitle);
    if (song.empty() || first.size() + 1 >= kTrayTipLength) return first;
    return first + "\n" + song.substr(0, kTrayTipLength - first.size() - 1);
}

std::string UnplayableStreamText(const std::string& contentType) {
    return "Cette station diffuse au format " + contentType + ",\rque le navigateur ne sait pas lire.";
}

NowPlaying::NowPlaying(StreamAsker& asker, PlaybackIndicator& indicator) : asker_(asker), indicator_(indicator) {}

void NowPlaying::PlayStarted(const std::string& entryTitle, const std::string& streamAddress, bool playlist) {
    asker_.Abandon();
    playing_ = true;
    firstAnswered_ = false;
    entryTitle_ = entryTitle;
    address_ = streamAddress;
    playlist_ = playlist;
    song_.clear();
    if (!address_.empty()) asker_.Ask(address_, playlist_);
}

void NowPlaying::PlayStopped() {
    asker_.Abandon();
    playing_ = false;
    address_.clear();
    song_.clear();
}

void NowPlaying::Reask() {
    if (playing_ && !address_.empty()) asker_.Ask(address_, playlist_);
}

void NowPlaying::Answered(const StreamReport& report, std::uint64_t nowMs) {
    if (!playing_) return;
    if (!report.playlistAddress.empty()) {
        // From now on the playlist's stream is the one asked about.
        address_ = report.playlistAddress;
        playlist_ = false;
        asker_.Ask(address_, false);
        return;
    }
    if (!firstAnswered_) AnswerFirst(report);
    if (report.failure == ProbeFailure::kNone) TakeSong(report.title, nowMs);
}

void NowPlaying::AnswerFirst(const StreamReport& report) {
    firstAnswered_ = true;
    const ContentKind kind = ClassifyContentType(report.headers.contentType);
    if (report.failure != ProbeFailure::kNone)
        indicator_.ShowWarningBalloon(entryTitle_, ProbeFailureText(report));
    else if (kind == ContentKind::kUnplayableAudio)
        indicator_.ShowWarningBalloon(entryTitle_, UnplayableStreamText(report.headers.contentType));
    else if (kind == ContentKind::kOther && report.title.empty())
        address_.clear();  // a station's web page: nothing to ask again
}

void NowPlaying::TakeSong(const std::string& song, std::uint64_t nowMs) {
    if (song == song_) return;
    song_ = song;
    indicator_.SetHint(PlayingHintWithSong(entryTitle_, song_));
    if (song_.empty() || (balloonShown_ && nowMs - lastBalloonMs_ < kSongBalloonGapMs)) return;
    indicator_.ShowInfoBalloon(entryTitle_, song_);
    balloonShown_ = true;
    lastBalloonMs_ = nowMs;
}
