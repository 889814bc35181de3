// Prints how long TMP3Coder takes to encode one minute of 44.1 kHz stereo
// through LAME_ENC.DLL, next to LAME's own lame.exe (built from the same tree)
// on the same file with the same settings: 128 kbit/s CBR, stereo, CRC on,
// non-original, no tag frame. Runs alternate; medians of five wall times are compared.
//   bench_mp3_coder [lame.exe]     (default: lame.exe beside this program)
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "audio/mp3_coder_win32.h"
#include "win/handles_win32.h"

namespace {

constexpr int kRuns = 5;
constexpr std::uint32_t kRate = 44100;
constexpr double kSeconds = 60.0;

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string Le16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// Something closer to music than a pure tone: a chord that moves, with a little
// noise, different in each channel. The capture's 46-byte header.
std::string MusicLikeWav() {
    const auto frames = static_cast<std::uint32_t>(kSeconds * kRate);
    std::string pcm;
    pcm.reserve(frames * 4);
    std::uint32_t noise = 12345;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double root = 220.0 * std::pow(2.0, std::floor(t * 2) / 12.0 - std::floor(t / 6));
        double left = 0.25 * std::sin(2 * std::numbers::pi * root * t) + 0.15 * std::sin(2 * std::numbers::pi * root * 1.26 * t);
        double right = 0.25 * std::sin(2 * std::numbers::pi * root * 1.5 * t) + 0.15 * std::sin(2 * std::numbers::pi * root * 2.01 * t);
        noise = noise * 1664525 + 1013904223;
        const double hiss = (static_cast<double>(noise >> 16) / 65536.0 - 0.5) * 0.05;
        pcm += Le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround((left + hiss) * 32767))));
        pcm += Le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround((right - hiss) * 32767))));
    }
    const std::string fmt = Le16(1) + Le16(2) + Le32(kRate) + Le32(kRate * 4) + Le16(4) + Le16(16) + Le16(0);
    const std::string body = "WAVE" + std::string("fmt ") + Le32(18) + fmt + "data" +
                             Le32(static_cast<std::uint32_t>(pcm.size())) + pcm;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / frequency;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time of one run, in seconds; -1 on failure. (Wine reports no usable
// processor times for child processes, so wall time it is: run the benchmark
// on a quiet machine.)
using Timing = double;

Timing TimeCoder(const TMP3CoderServices& services, const std::string& wav, const std::string& mp3) {
    TMP3Coder coder{services};
    coder.InputFiles().push_back(wav);
    coder.OutputFiles().push_back(mp3);
    const double start = Now();
    coder.Process();
    return Now() - start;
}

// One run of the command line, process start included.
Timing TimeProgram(std::string commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFileHandle nul(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nul.get();
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    const Timing timing = Now() - start;
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    return code == 0 ? timing : -1;
}

using Series = std::vector<double>;

void PrintSeries(const char* name, const Series& series) {
    std::printf("  %-34s %.3f s   (runs:", name, Median(series));
    for (double t : series) std::printf(" %.3f", t);
    std::printf(")\n");
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Folder(std::string(path, n));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string lameExe = argc > 1 ? argv[1] : ProgramFolder() + "lame.exe";
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string wav = std::string(temp) + "sonoraflux_bench_60s.wav";
    const std::string coderMp3 = std::string(temp) + "sonoraflux_bench_coder.mp3";
    const std::string lameMp3 = std::string(temp) + "sonoraflux_bench_lame.mp3";
    if (!WriteWholeFile(wav, MusicLikeWav())) {
        std::fprintf(stderr, "cannot write %s\n", wav.c_str());
        return 1;
    }
    const std::string lameLine = "\"" + lameExe + "\" --quiet -b 128 --cbr -m s -p -o -t \"" + wav + "\" \"" +
                                 lameMp3 + "\"";
    const std::string startupLine = "\"" + lameExe + "\" --version";

    // The same coder without its message processing, to show what that costs.
    const TMP3CoderServices& windows = WindowsMP3CoderServices();
    const TMP3CoderServices withoutMessages{windows.encoder, windows.files, nullptr};

    Series coder, lame, startup, quiet;
    try {
        for (int run = 0; run < kRuns; ++run) {
            coder.push_back(TimeCoder(windows, wav, coderMp3));
            lame.push_back(TimeProgram(lameLine));
            startup.push_back(TimeProgram(startupLine));
            quiet.push_back(TimeCoder(withoutMessages, wav, coderMp3));
            if (lame.back() < 0) {
                std::fprintf(stderr, "lame.exe failed: %s\n", lameLine.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "coder failed: %s\n", e.what());
        return 1;
    }

    const std::string coderBytes = ReadWholeFile(coderMp3), lameBytes = ReadWholeFile(lameMp3);
    std::printf("MP3 encoding of 60 s, 44.1 kHz stereo, 128 kbit/s CBR, CRC on; medians of %d runs under Wine\n", kRuns);
    PrintSeries("TMP3Coder.Process, LAME_ENC.DLL", coder);
    PrintSeries("lame.exe, whole process", lame);
    PrintSeries("lame.exe --version (start only)", startup);
    PrintSeries("TMP3Coder without message pump", quiet);
    std::printf("  MP3 files: %zu and %zu bytes, %s\n", coderBytes.size(), lameBytes.size(),
                coderBytes == lameBytes ? "identical" : "different");
    std::printf("  ratio coder / lame.exe: %.3f   (target at most 1.03)\n", Median(coder) / Median(lame));
    ::DeleteFileA(wav.c_str());
    ::DeleteFileA(coderMp3.c_str());
    ::DeleteFileA(lameMp3.c_str());
    return 0;
}
