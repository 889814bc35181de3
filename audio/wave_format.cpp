#include "audio/wave_format.h"

#include <algorithm>

#include "base/little_endian.h"

namespace {
constexpr uint32_t kRates[] = {8000, 11025, 22050, 44100, 48000};

void AppendLittleEndian(std::string& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}
}  // namespace

std::string WaveFileHeader(const WaveFormatEx& format, uint32_t dataSize) {
    // The sizes are 32-bit fields: a data size near the limit wraps as the writer's would.
    const uint32_t riffSize = kWaveHeaderSize - 8 + dataSize + (dataSize & 1);
    std::string bytes;
    bytes += "RIFF";
    AppendLittleEndian(bytes, riffSize, 4);
    bytes += "WAVEfmt ";
    AppendLittleEndian(bytes, sizeof(WaveFormatEx), 4);
    AppendLittleEndian(bytes, format.formatTag, 2);
    AppendLittleEndian(bytes, format.channels, 2);
    AppendLittleEndian(bytes, format.samplesPerSec, 4);
    AppendLittleEndian(bytes, format.avgBytesPerSec, 4);
    AppendLittleEndian(bytes, format.blockAlign, 2);
    AppendLittleEndian(bytes, format.bitsPerSample, 2);
    AppendLittleEndian(bytes, 0, 2);
    bytes += "data";
    AppendLittleEndian(bytes, dataSize, 4);
    return bytes;
}

void FillPCMFormat(WaveFormatEx& record, TPCMFormat format) {
    if (format == TPCMFormat::nonePCM) return;
    // Values 4r+1 .. 4r+4 are mono 8-bit, stereo 8-bit, mono 16-bit, stereo 16-bit at rate r.
    const int index = static_cast<int>(format) - 1;
    const int kind = index % 4;
    record.formatTag = kWaveFormatPcm;
    record.channels = static_cast<uint16_t>(kind % 2 == 0 ? 1 : 2);
    record.samplesPerSec = kRates[index / 4];
    record.bitsPerSample = static_cast<uint16_t>(kind < 2 ? 8 : 16);
    record.blockAlign = static_cast<uint16_t>(record.channels * record.bitsPerSample / 8);
    record.avgBytesPerSec = record.blockAlign * record.samplesPerSec;
    record.extraSize = 0;
}

int32_t ScaleRounded(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t divisor = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
    const int64_t rounded = static_cast<int64_t>((magnitude + divisor / 2) / divisor);
    return static_cast<int32_t>(negative ? -rounded : rounded);
}

uint32_t WaveBufferSize(uint16_t lengthMs, const PcmWaveFormat& format) {
    const int32_t scaled = ScaleRounded(lengthMs, static_cast<int32_t>(format.avgBytesPerSec), 1000);
    uint32_t bytes = scaled < 0 ? 0 : static_cast<uint32_t>(scaled);
    if (format.blockAlign != 0 && bytes % format.blockAlign != 0)
        bytes += format.blockAlign - bytes % format.blockAlign;
    return bytes;
}

int32_t PeakLevel(const void* buffer, uint32_t size, uint16_t bitsPerSample) {
    if (bitsPerSample == 8) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        const uint8_t peak = size == 0 ? 0 : *std::max_element(bytes, bytes + size);
        return peak >= 128 ? (peak - 128) * 100 / 127 : 0;
    }
    if (bitsPerSample == 16) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        int32_t peak = 0;
        for (uint32_t i = 0; i + 1 < size; i += 2) {
            const auto sample = static_cast<int16_t>(ReadLe16(bytes + i));
            peak = std::max<int32_t>(peak, sample);
        }
        return peak * 100 / 32767;
    }
    return -1;
}

uint32_t MMTimeToMilliseconds(const WaveTime& time, const PcmWaveFormat& format) {
    // The device counts are unsigned; the conversion, like the system's, works in signed 32 bits.
    switch (time.type) {
    case kTimeMs:
        return time.u.ms;
    case kTimeSamples:
        if (format.samplesPerSec == 0) return 0;
        return static_cast<uint32_t>(ScaleRounded(1000, static_cast<int32_t>(time.u.sample),
                                                  static_cast<int32_t>(format.samplesPerSec)));
    case kTimeBytes:
        if (format.avgBytesPerSec == 0) return 0;
        return static_cast<uint32_t>(ScaleRounded(1000, static_cast<int32_t>(time.u.cb),
                                                  static_cast<int32_t>(format.avgBytesPerSec)));
    case kTimeSmpte:
        return time.u.smpte.hour * 3600000u + time.u.smpte.min * 60000u + time.u.smpte.sec * 1000u;
    default:
        return 0;
    }
}

TPCMFormatSet PCMFormatsFromCapabilityFlags(uint32_t flags) {
    TPCMFormatSet formats;
    for (int value = 1; value <= 4; ++value) formats.Include(static_cast<TPCMFormat>(value));
    // Flag bits 0..11 (1M08, 1S08, 1M16, 1S16, then 22 kHz, then 44 kHz) map to values 5..16.
    for (int bit = 0; bit < 12; ++bit)
        if (flags & (1u << bit)) formats.Include(static_cast<TPCMFormat>(5 + bit));
    return formats;
}
