// What the program root wires between playback and the stream probe: asking
// through the probe (and again every 30 s), the wait of a choice for its first
// answer, and where the player page is written.
#pragma once
#include <functional>
#include <string>

#include "playback/now_playing.h"
#include "playback/playback.h"
#include "stream/stream_probe_win32.h"
#include "win/simple_timer_win32.h"

// Asks through the probe, and again kReaskMs after each ask while the play lasts.
class ProbeAsker : public StreamAsker {
public:
    ProbeAsker(StreamProbe& probe, std::function<void()> reask) : probe_(probe) {
        reask_.SetInterval(static_cast<UINT>(kReaskMs));
        reask_.SetOnTimer(std::move(reask));
    }
    void Ask(const std::string& address, bool playlist) override {
        probe_.Ask(address, playlist);
        reask_.SetEnabled(true);
    }
    void Abandon() override {
        reask_.SetEnabled(false);
        probe_.Abandon();
    }

private:
    StreamProbe& probe_;
    TSimpleTimer reask_;
};

// The one-shot wait of a choice for the first answer about its stream.
class TimerAnswerWait : public AnswerWait {
public:
    explicit TimerAnswerWait(std::function<void()> ended) {
        timer_.SetOnTimer([this, ended = std::move(ended)] {
            timer_.SetEnabled(false);
            ended();
        });
    }
    void Start(unsigned milliseconds) override {
        timer_.SetInterval(milliseconds);
        timer_.SetEnabled(true);
    }
    void Cancel() override { timer_.SetEnabled(false); }

private:
    TSimpleTimer timer_;
};

// The player page lives in the system's temporary folder.
inline std::string PlayerPagePath() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    return std::string(folder, length > MAX_PATH ? 0 : length) + kPlayerPageName;
}
