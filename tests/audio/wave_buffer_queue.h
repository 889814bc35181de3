// What the system's wave input device does with the buffers it is given,
// shared by the scripted and the threaded device: a buffer must be prepared
// to be queued and out of the queue to be unprepared; it comes back marked
// done, oldest first, when filled or on a reset. Not thread-safe: the
// threaded device holds its own lock around it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "audio/wave_device.h"

class WaveBufferQueue {
public:
    static void Prepare(WaveHeader& header) { header.flags |= kWaveHeaderPrepared; }
    static uint32_t CheckUnprepare(const WaveHeader& header) {
        return (header.flags & kWaveHeaderInQueue) ? kWaveStillPlaying : kMmSysNoError;
    }
    static void Unprepare(WaveHeader& header) { header.flags &= ~kWaveHeaderPrepared; }
    static uint32_t CheckAdd(const WaveHeader& header) {
        return (header.flags & kWaveHeaderPrepared) ? kMmSysNoError : kWaveUnprepared;
    }

    void Add(WaveHeader& header) {
        header.bytesRecorded = 0;
        header.flags = (header.flags & ~kWaveHeaderDone) | kWaveHeaderInQueue;
        queued_.push_back(&header);
    }
    bool empty() const { return queued_.empty(); }
    std::size_t size() const { return queued_.size(); }
    WaveHeader* Oldest() const { return queued_.front(); }

    // Takes the oldest buffer out of the queue, marked done.
    WaveHeader* ReturnOldest() {
        WaveHeader* header = queued_.front();
        queued_.pop_front();
        MarkDone(*header);
        return header;
    }
    // Takes every buffer out, marked done, oldest first (a reset).
    std::vector<WaveHeader*> ReturnAll() {
        std::vector<WaveHeader*> returned;
        while (!queued_.empty()) returned.push_back(ReturnOldest());
        return returned;
    }

private:
    static void MarkDone(WaveHeader& header) {
        header.flags = (header.flags & ~kWaveHeaderInQueue) | kWaveHeaderDone;
    }

    std::deque<WaveHeader*> queued_;
};
