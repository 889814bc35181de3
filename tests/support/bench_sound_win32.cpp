#include "tests/support/bench_sound_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/little_endian.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/unix_side_win32.h"

namespace wine_support {

PlayingTone::PlayingTone(int seconds, int hz) {
    if (folder_.Path().empty()) return;
    file_ = UnixPathOf(folder_.Path()) + "tone.wav";
    started_ = RunUnixShell("sox -n -r 44100 -c 2 -b 16 '" + file_ + "' synth " + std::to_string(seconds) + " sine " +
                            std::to_string(hz) + " vol 0.5") == 0 &&
               RunUnixShell("paplay -d radio '" + file_ + "' >/dev/null 2>&1 </dev/null & echo $! > '" + file_ +
                            ".pid'") == 0;
    // The sound server takes a moment to start the stream.
    if (started_) PumpFor(500);
}

PlayingTone::~PlayingTone() {
    // The player's id is checked first, as a player that has ended leaves
    // its id free for any other process.
    if (started_)
        RunUnixShell("p=$(cat '" + file_ + ".pid'); grep -qF '" + file_ + "' /proc/$p/cmdline 2>/dev/null && kill $p; true");
}

Tone MeasureTone(const std::string& wav) {
    Tone tone;
    size_t at = 12, dataStart = 0, dataSize = 0;
    uint32_t rate = 0, blockAlign = 0;
    while (at + 8 <= wav.size()) {
        const std::string id = wav.substr(at, 4);
        const uint32_t size = ReadLe32(wav, at + 4);
        if (id == "fmt " && at + 22 <= wav.size()) {
            rate = ReadLe32(wav, at + 12);
            blockAlign = ReadLe16(wav, at + 20);
        } else if (id == "data") {
            dataStart = at + 8;
            dataSize = std::min<size_t>(size, wav.size() - dataStart);
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (!rate || !blockAlign || !dataStart) return tone;
    const size_t frames = dataSize / blockAlign;
    tone.seconds = static_cast<double>(frames) / rate;
    std::vector<int> left(frames);
    for (size_t f = 0; f < frames; ++f) left[f] = static_cast<int16_t>(ReadLe16(wav, dataStart + f * blockAlign));
    size_t first = 0, last = frames;
    while (first < frames && std::abs(left[first]) < 2000) ++first;
    while (last > first && std::abs(left[last - 1]) < 2000) --last;
    size_t firstCrossing = 0, lastCrossing = 0, crossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
        if (left[i - 1] < 0 && left[i] >= 0) {
            if (crossings++ == 0) firstCrossing = i;
            lastCrossing = i;
        }
    }
    if (crossings > 1) tone.hz = (crossings - 1) * static_cast<double>(rate) / (lastCrossing - firstCrossing);
    return tone;
}

}  // namespace wine_support
