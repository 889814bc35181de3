// Sound on the bench: a tone played into its sound card, and the tone a
// recorded WAV file holds.
#pragma once
#include <string>

#include "tests/support/scratch_files_win32.h"

namespace wine_support {

// A tone played into the bench's sound card (the null sink "radio", whose
// monitor is the default capture source) while the object lives.
class PlayingTone {
public:
    PlayingTone(int seconds, int hz);
    PlayingTone(const PlayingTone&) = delete;
    PlayingTone& operator=(const PlayingTone&) = delete;
    ~PlayingTone();
    bool Started() const { return started_; }

private:
    ScratchFolder folder_{"tone_"};
    std::string file_;
    bool started_ = false;
};

// What a 16-bit WAV holds: the data chunk's length, and the left channel's
// tone by its rising zero crossings between the first and last loud samples
// (0 when there is none).
struct Tone {
    double seconds = 0;
    double hz = 0;
};
Tone MeasureTone(const std::string& wav);

}  // namespace wine_support
