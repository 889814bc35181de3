// What the program knows about the stream of the entry that plays: its server
// is asked when the play starts and again every 30 seconds; the song title
// goes to the tray tooltip's second line and, when it changes, to a balloon;
// a first ask that fails says in a balloon that the station does not answer.
#pragma once
#include <cstdint>
#include <string>

#include "playback/playback.h"
#include "stream/stream_report.h"

// Asks a stream's server on another thread; the answer comes back later,
// on the user-interface thread, to NowPlaying::Answered.
class StreamAsker {
public:
    virtual ~StreamAsker() = default;
    virtual void Ask(const std::string& address, bool playlist) = 0;
    virtual void Abandon() = 0;
};

inline constexpr std::uint64_t kReaskMs = 30'000;
inline constexpr std::uint64_t kSongBalloonGapMs = 60'000;
// The tray cuts its tooltip at this many characters.
inline constexpr std::size_t kTrayTipLength = 127;

// "Sonoraflux - " and the entry's title, then the song on a second line, cut
// so that the whole fits the tray's tooltip.
std::string PlayingHintWithSong(const std::string& entryTitle, const std::string& song);

// The balloon of a stream the browser cannot play (Ogg, FLAC...).
std::string UnplayableStreamText(const std::string& contentType);

class NowPlaying : public PlaybackListener {
public:
    NowPlaying(StreamAsker& asker, PlaybackIndicator& indicator);

    void PlayStarted(const std::string& entryTitle, const std::string& streamAddress, bool playlist) override;
    void PlayStopped() override;
    // Every kReaskMs while an entry plays.
    void Reask();
    void Answered(const StreamReport& report, std::uint64_t nowMs);

    bool Playing() const { return playing_; }
    // The song of the stream that plays; empty when none is known.
    const std::string& Song() const { return song_; }

private:
    void AnswerFirst(const StreamReport& report);
    void TakeSong(const std::string& song, std::uint64_t nowMs);

    StreamAsker& asker_;
    PlaybackIndicator& indicator_;
    bool playing_ = false;
    bool firstAnswered_ = false;
    bool balloonShown_ = false;
    std::string entryTitle_;
    std::string address_;
    bool playlist_ = false;
    std::string song_;
    std::uint64_t lastBalloonMs_ = 0;
};
