#include "audio/mp3_coder_win32.h"

#include <windows.h>
#include <pmmintrin.h>
#include <xmmintrin.h>

#include <algorithm>
#include <limits>

#include "audio/wave_file_stream_win32.h"
#include "win/handles_win32.h"
#include "win/message_wait_win32.h"
#include "win/window_win32.h"

// The library's exports; DWORD is 32 bits and the stream handle a pointer.
extern "C" {
__declspec(dllimport) DWORD beInitStream(void* config, DWORD* samples, DWORD* bufferSize, void** stream);
__declspec(dllimport) DWORD beEncodeChunk(void* stream, DWORD sampleCount, const short* samples, BYTE* output,
                                          DWORD* outputBytes);
__declspec(dllimport) DWORD beDeinitStream(void* stream, BYTE* output, DWORD* outputBytes);
__declspec(dllimport) DWORD beCloseStream(void* stream);
__declspec(dllimport) void beVersion(void* versionRecord);
}

namespace {

// The library is built with -ffast-math, and LAME's own programs run with
// denormals flushed to zero (the start-up code that option links in sets it);
// without that mode its filters slow down by about a quarter on real sound.
// Its calls run in that mode, and the rest of the program keeps the default.
class DenormalsFlushedToZero {
public:
    DenormalsFlushedToZero() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON); }
    DenormalsFlushedToZero(const DenormalsFlushedToZero&) = delete;
    DenormalsFlushedToZero& operator=(const DenormalsFlushedToZero&) = delete;
    ~DenormalsFlushedToZero() { _mm_setcsr(saved_); }

private:
    unsigned saved_;
};

class EncoderDll final : public MP3EncoderLibrary {
public:
    void beVersion(std::uint8_t* versionRecord) override { ::beVersion(versionRecord); }

    std::uint32_t beInitStream(MP3ConfigRecord& config, std::uint32_t& samplesPerCall,
                               std::uint32_t& outputBufferSize, MP3StreamHandle& stream) override {
        DWORD samples = 0, bufferSize = 0;
        DenormalsFlushedToZero mode;
        DWORD result = ::beInitStream(config.data(), &samples, &bufferSize, &stream);
        samplesPerCall = samples;
        outputBufferSize = bufferSize;
        return result;
    }

    // The library takes no output size: the coder has made room for its worst case.
    std::uint32_t beEncodeChunk(MP3StreamHandle stream, std::uint32_t sampleCount, const std::int16_t* samples,
                                std::uint8_t* output, std::uint32_t, std::uint32_t& outputBytes) override {
        DWORD bytes = 0;
        DenormalsFlushedToZero mode;
        DWORD result = ::beEncodeChunk(stream, sampleCount, samples, output, &bytes);
        outputBytes = bytes;
        return result;
    }

    std::uint32_t beDeinitStream(MP3StreamHandle stream, std::uint8_t* output, std::uint32_t,
                                 std::uint32_t& outputBytes) override {
        DWORD bytes = 0;
        DenormalsFlushedToZero mode;
        DWORD result = ::beDeinitStream(stream, output, &bytes);
        outputBytes = bytes;
        return result;
    }

    std::uint32_t beCloseStream(MP3StreamHandle stream) override { return ::beCloseStream(stream); }
};

// Transfers go in pieces no larger than one ReadFile/WriteFile call takes.
constexpr std::size_t kMaxTransfer = std::numeric_limits<DWORD>::max();

class WindowsInputFile final : public MP3InputFile {
public:
    explicit WindowsInputFile(UniqueFileHandle file) : file_(std::move(file)) {}

    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        return ::GetFileSizeEx(file_.get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }

    bool Seek(std::uint64_t position) override {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(position);
        return ::SetFilePointerEx(file_.get(), distance, nullptr, FILE_BEGIN) != 0;
    }

    std::size_t Read(void* buffer, std::size_t count) override {
        std::size_t total = 0;
        while (total < count) {
            DWORD read = 0;
            DWORD want = static_cast<DWORD>(std::min(count - total, kMaxTransfer));
            if (!::ReadFile(file_.get(), static_cast<char*>(buffer) + total, want, &read, nullptr) || read == 0)
                break;
            total += read;
        }
        return total;
    }

private:
    UniqueFileHandle file_;
};

class WindowsOutputFile final : public MP3OutputFile {
public:
    explicit WindowsOutputFile(UniqueFileHandle file) : file_(std::move(file)) {}

    std::size_t Write(const void* buffer, std::size_t count) override {
        std::size_t total = 0;
        while (total < count) {
            DWORD written = 0;
            DWORD want = static_cast<DWORD>(std::min(count - total, kMaxTransfer));
            if (!::WriteFile(file_.get(), static_cast<const char*>(buffer) + total, want, &written, nullptr) ||
                written == 0)
                break;
            total += written;
        }
        return total;
    }

private:
    UniqueFileHandle file_;
};

class WindowsFiles final : public MP3FileAccess {
public:
    std::unique_ptr<MP3InputFile> OpenForReading(const std::string& fileName) override {
        UniqueFileHandle file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            const DWORD error = ::GetLastError();
            throw EStreamError(CannotOpenFileMessage(fileName, SystemErrorText(error)));
        }
        return std::make_unique<WindowsInputFile>(std::move(file));
    }

    std::unique_ptr<MP3OutputFile> Create(const std::string& fileName) override {
        UniqueFileHandle file(::CreateFileA(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = ::GetLastError();
            throw EStreamError(CannotCreateFileMessage(fileName, SystemErrorText(error)));
        }
        return std::make_unique<WindowsOutputFile>(std::move(file));
    }
};

}  // namespace

MP3EncoderLibrary& EncoderDllLibrary() {
    static EncoderDll library;
    return library;
}

MP3FileAccess& WindowsFileAccess() {
    static WindowsFiles files;
    return files;
}

const TMP3CoderServices& WindowsMP3CoderServices() {
    static const TMP3CoderServices services{EncoderDllLibrary(), WindowsFileAccess(), [] { ProcessPendingMessages(); }};
    return services;
}
