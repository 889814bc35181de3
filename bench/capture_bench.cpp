// Captures from the default input into a WAV file the way the recorder window
// does (44.1 kHz 16-bit stereo, two one-second buffers, window mode) and prints
// the process's CPU time over the capture and how many writes reached the file.
//   capture_bench.exe [seconds] [file]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "audio/wave_file_stream_win32.h"
#include "audio/capture_to_file_win32.h"

namespace {

// Counts what goes to the file.
class CountingFileStream : public ByteStream {
public:
    explicit CountingFileStream(const std::string& name) : file_(name) {}
    int64_t Seek(int64_t offset, SeekOrigin origin) override { return file_.Seek(offset, origin); }
    int32_t Read(void* buffer, int32_t count) override { return file_.Read(buffer, count); }
    int32_t Write(const void* buffer, int32_t count) override {
        ++writes;
        bytes += count;
        return file_.Write(buffer, count);
    }
    void SetSize(int64_t size) override { file_.SetSize(size); }

    long writes = 0;
    long long bytes = 0;

private:
    FileByteStream file_;
};

// Counts the buffers handed over by the device and the stream writes each one causes.
class CountingRecorder : public TWaveRecorder {
public:
    CountingFileStream* stream = nullptr;  // valid until the close notification
    long buffers = 0;
    long sampleWrites = 0;
    long long sampleBytes = 0;

protected:
    void ProcessData(void* buffer, uint32_t size, bool& freeIt) override {
        ++buffers;
        const long writesBefore = stream->writes;
        TWaveRecorder::ProcessData(buffer, size, freeIt);
        sampleWrites += stream->writes - writesBefore;
        sampleBytes += size;
    }
};

ULONGLONG ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (value(kernel) + value(user)) / 10000;
}

// This thread runs every notification, ProcessData and the file writes; the
// rest of the process's time goes to the system's own audio threads.
ULONGLONG ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (value(kernel) + value(user)) / 10000;
}

std::string DefaultTarget() {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "capture_bench.wav";
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const std::string target = argc > 2 ? argv[2] : DefaultTarget();
    if (::waveInGetNumDevs() == 0) {
        std::printf("no capture device\n");
        return 1;
    }

    CountingRecorder recorder;
    recorder.SetPCMFormat(TPCMFormat::Stereo16bit44100Hz);
    bool closed = false;
    DWORD openedAt = 0;
    recorder.OnActivate = [&](TWaveAudioIO&) { openedAt = ::GetTickCount(); };
    recorder.OnDeactivate = [&](TWaveAudioIO&) { closed = true; };

    auto stream = std::make_unique<CountingFileStream>(target);
    recorder.stream = stream.get();
    const ULONGLONG cpuBefore = ProcessCpuMs();
    const ULONGLONG threadBefore = ThreadCpuMs();
    const DWORD start = ::GetTickCount();
    try {
        recorder.RecordToStream(stream.release(), true);
    } catch (const std::exception& e) {
        std::printf("cannot record: %s\n", e.what());
        return 1;
    }
    const long headerWrites = recorder.stream->writes;

    // The message loop of the recorder's thread, as in the program; the stop
    // comes from a timer, like the window's countdown.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
    bool stopping = false;
    MSG msg;
    while (!closed && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == timer && !stopping) {
            ::KillTimer(nullptr, timer);
            stopping = true;
            recorder.SetActive(false);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    const DWORD elapsed = ::GetTickCount() - start;
    const ULONGLONG cpu = ProcessCpuMs() - cpuBefore;
    const ULONGLONG threadCpu = ThreadCpuMs() - threadBefore;

    std::printf("capture: %d s requested, %.1f s wall clock (device open after %lu ms)\n", seconds, elapsed / 1000.0,
                openedAt ? openedAt - start : 0ul);
    std::printf("buffers processed: %ld (%lld sample bytes)\n", recorder.buffers, recorder.sampleBytes);
    std::printf("stream writes for the samples: %ld (%.2f per buffer); for the header: %ld\n", recorder.sampleWrites,
                recorder.buffers ? static_cast<double>(recorder.sampleWrites) / recorder.buffers : 0.0, headerWrites);
    std::printf("process CPU (user + sys): %llu ms = %.3f %% of one core\n", cpu, 100.0 * cpu / elapsed);
    std::printf("  of which the capturing thread (engine, writes): %llu ms = %.3f %% of one core\n", threadCpu,
                100.0 * threadCpu / elapsed);
    std::printf("file: %s\n", target.c_str());
    return 0;
}
