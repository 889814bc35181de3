// Prints how long the user-interface thread leaves a message unanswered while
// it encodes a 60-second stereo recording to MP3 the way the recorder does
// (TMP3Coder over LAME_ENC.DLL, this thread's messages processed between
// chunks): a second thread sends a message every 5 ms and times each answer.
// Also the encoding's wall time, with and without the sender (median of 3).
//   encode_response_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/mp3_coder_win32.h"
#include "win/message_wait_win32.h"

namespace {
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A minute of a moving two-note chord, a different one in each channel.
bool WriteRecording(const std::string& path) {
    constexpr std::uint32_t kRate = 44100, kFrames = kRate * 60;
    std::vector<std::int16_t> pcm(2 * kFrames);
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate, root = 220.0 * (1 + std::floor(t / 4) / 8);
        pcm[2 * i] = static_cast<std::int16_t>(8000 * (std::sin(6.2832 * root * t) + std::sin(6.2832 * root * 1.26 * t)));
        pcm[2 * i + 1] = static_cast<std::int16_t>(8000 * (std::sin(6.2832 * root * 1.5 * t) + std::sin(6.2832 * root * 2 * t)));
    }
    const auto bytes = static_cast<std::uint32_t>(pcm.size() * 2);
    struct Header {
        char riff[4] = {'R', 'I', 'F', 'F'};
        std::uint32_t size;
        char wave[8] = {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
        std::uint32_t fmtSize = 18;
        std::uint16_t tag = 1, channels = 2;
        std::uint32_t rate = kRate, byteRate = kRate * 4;
        std::uint16_t align = 4, bits = 16, extra = 0;
        char data[4] = {'d', 'a', 't', 'a'};
        std::uint32_t dataSize;
    } __attribute__((packed)) header;
    header.size = 38 + bytes;
    header.dataSize = bytes;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(&header, sizeof header, 1, file) == 1 && std::fwrite(pcm.data(), 2, pcm.size(), file) == pcm.size();
    return std::fclose(file) == 0 && ok;
}

LRESULT CALLBACK Answer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return msg == WM_APP ? 1 : ::DefWindowProcA(hwnd, msg, wp, lp);
}

struct Figures {
    double encodeMs = 0;
    double worstMs = 0;
    double worstAtPercent = 0;
    double p99Ms = 0;
    size_t answers = 0;
};

Figures EncodeOnce(const std::string& wav, const std::string& mp3, bool probe) {
    WNDCLASSA type{};
    type.lpfnWndProc = Answer;
    type.lpszClassName = "EncodeResponseBench";
    ::RegisterClassA(&type);
    HWND window = ::CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

    std::atomic<bool> done{false}, stopped{false};
    std::atomic<double> progress{0};
    std::vector<std::pair<double, double>> delays;  // (percent done when sent, ms to the answer)
    std::thread sender;
    if (probe)
        sender = std::thread([&] {
            while (!done) {
                const double at = progress;
                const auto sent = Clock::now();
                DWORD_PTR result = 0;
                ::SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 10000, &result);
                delays.emplace_back(at, MsSince(sent));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            stopped = true;
        });
    const TMP3CoderServices& windows = WindowsMP3CoderServices();
    TMP3Coder coder{TMP3CoderServices{windows.encoder, windows.files, [] { ProcessPendingMessages(); }}};
    coder.InputFiles().push_back(wav);
    coder.OutputFiles().push_back(mp3);
    coder.OnProgress = [&](TMP3Coder&, std::uint16_t percent) { progress = percent; };
    Figures figures;
    const auto start = Clock::now();
    coder.Process();
    figures.encodeMs = MsSince(start);
    done = true;
    // The sender's last message is answered here.
    if (sender.joinable()) {
        while (!stopped) ProcessPendingMessages(), ::Sleep(1);
        sender.join();
    }
    ::DestroyWindow(window);
    if (delays.empty()) return figures;
    figures.answers = delays.size();
    const auto worst = std::max_element(delays.begin(), delays.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; });
    figures.worstMs = worst->second;
    figures.worstAtPercent = worst->first;
    std::vector<double> sorted;
    for (const auto& d : delays) sorted.push_back(d.second);
    std::sort(sorted.begin(), sorted.end());
    figures.p99Ms = sorted[sorted.size() * 99 / 100];
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string wav = std::string(temp) + "sonoraflux_response.wav", mp3 = std::string(temp) + "sonoraflux_response.mp3";
    if (!WriteRecording(wav)) {
        std::printf("cannot write %s\n", wav.c_str());
        return 1;
    }
    std::vector<double> quiet, probed, worst, p99;
    Figures worstRun;
    for (int run = 0; run < runs; ++run) {
        quiet.push_back(EncodeOnce(wav, mp3, false).encodeMs);
        const Figures f = EncodeOnce(wav, mp3, true);
        probed.push_back(f.encodeMs);
        worst.push_back(f.worstMs);
        p99.push_back(f.p99Ms);
        if (f.worstMs >= worstRun.worstMs) worstRun = f;
    }
    std::printf("Encoding 60 s of stereo to MP3 on the user-interface thread (median of %d runs)\n", runs);
    std::printf("  encoding time             %8.1f ms alone, %8.1f ms with a message every 5 ms\n", Median(quiet),
                Median(probed));
    std::printf("  longest unanswered message %7.1f ms (median of the runs' longest; worst %.1f ms at %.0f %%)\n",
                Median(worst), worstRun.worstMs, worstRun.worstAtPercent);
    std::printf("  99th percentile            %7.1f ms over %zu answers in the worst run\n", Median(p99),
                worstRun.answers);
    ::DeleteFileA(wav.c_str());
    ::DeleteFileA(mp3.c_str());
    return 0;
}
