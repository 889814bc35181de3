// The WAV header rules: a header laid out for any named format and data size
// reads back through the coder's header detection, which on any other bytes
// stays inside the file; and the engine's small format rules take any input.
// Input: a format index, a buffer length, then bytes (samples, or a file).
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/mp3_coder.h"
#include "audio/wave_format.h"
#include "base/little_endian.h"
#include "fuzz/fuzz_support.h"

namespace {
constexpr std::uint32_t kSamplesPerCall = 1152;

void CheckWrittenFileReadsBack(TPCMFormat named, const std::string& samples) {
    WaveFormatEx format{};
    FillPCMFormat(format, named);
    const auto dataSize = static_cast<std::uint32_t>(samples.size());
    const std::string file = WaveFileHeader(format, dataSize) + samples + std::string(dataSize & 1, '\0');
    FUZZ_CHECK(ReadLe32(file, 4) == file.size() - 8, "the RIFF size counts everything after it, pad included");
    FUZZ_CHECK(format.blockAlign * format.samplesPerSec == format.avgBytesPerSec, "bytes per second");

    MemoryInputFile input(file);
    const PcmLayout layout = ReadPcmLayout(input, kSamplesPerCall, format.channels == 1);
    FUZZ_CHECK(layout.dataStart == kWaveHeaderSize, "the samples start after the 46-byte header");
    FUZZ_CHECK(layout.dataSize == file.size() - kWaveHeaderSize, "the samples run to the end of the file");
    FUZZ_CHECK(layout.chunkSize == std::uint64_t{kSamplesPerCall} * format.blockAlign, "chunks of whole frames");

    PcmWaveFormat pcm{format.formatTag, format.channels, format.samplesPerSec, format.avgBytesPerSec,
                      format.blockAlign, format.bitsPerSample};
    const std::int32_t peak = PeakLevel(samples.data(), dataSize, format.bitsPerSample);
    FUZZ_CHECK(peak >= 0 && peak <= 100, "a peak level is a percentage");
    const std::uint16_t lengthMs = samples.size() >= 2 ? ReadLe16(samples, 0) : 0;
    FUZZ_CHECK(WaveBufferSize(lengthMs, pcm) % format.blockAlign == 0, "buffers hold whole frames");
}

void CheckAnyFileStaysInside(const std::string& file, bool mono) {
    MemoryInputFile input(file);
    const PcmLayout layout = ReadPcmLayout(input, kSamplesPerCall, mono);
    FUZZ_CHECK(layout.dataStart <= file.size(), "the samples start inside the file");
    FUZZ_CHECK(layout.dataStart + layout.dataSize == file.size(), "the samples run to the end of the file");
    if (file.size() < 12 || file.compare(8, 4, "WAVE") != 0)
        FUZZ_CHECK(layout.dataStart == 0, "anything but a WAVE file is samples from byte 0");
}

void CheckDeviceTime(const std::string& bytes) {
    WaveTime time{};
    PcmWaveFormat format{};
    std::memcpy(&time, bytes.data(), std::min(bytes.size(), sizeof time));
    if (bytes.size() > sizeof time)
        std::memcpy(&format, bytes.data() + sizeof time, std::min(bytes.size() - sizeof time, sizeof format));
    MMTimeToMilliseconds(time, format);
    PeakLevel(bytes.data(), static_cast<std::uint32_t>(bytes.size()), format.bitsPerSample);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto named = static_cast<TPCMFormat>(1 + data[0] % (kPCMFormatCount - 1));
    const bool mono = (data[1] & 1) != 0;
    // An exact copy on the heap: a read past the end is caught.
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    CheckWrittenFileReadsBack(named, bytes);
    CheckAnyFileStaysInside(bytes, mono);
    CheckDeviceTime(bytes);
    return 0;
}
