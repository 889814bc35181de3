// The PCM formats the capture engine knows by name, the format record handed to
// the device and written as the WAV file's fmt chunk, and the small rules of
// the engine that need no device: buffer size, peak level, time conversion.
#pragma once
#include <bitset>
#include <cstdint>
#include <string>

enum class TPCMFormat : uint8_t {
    nonePCM,
    Mono8Bit8000Hz,
    Stereo8bit8000Hz,
    Mono16bit8000Hz,
    Stereo16bit8000Hz,
    Mono8bit11025Hz,
    Stereo8bit11025Hz,
    Mono16bit11025Hz,
    Stereo16bit11025Hz,
    Mono8bit22050Hz,
    Stereo8bit22050Hz,
    Mono16bit22050Hz,
    Stereo16bit22050Hz,
    Mono8bit44100Hz,
    Stereo8bit44100Hz,
    Mono16bit44100Hz,
    Stereo16bit44100Hz,
    Mono8bit48000Hz,
    Stereo8bit48000Hz,
    Mono16bit48000Hz,
    Stereo16bit48000Hz,
};
inline constexpr int kPCMFormatCount = 21;

// A set of TPCMFormat values, indexed by the enumeration's value.
class TPCMFormatSet {
public:
    bool Contains(TPCMFormat f) const { return bits_.test(static_cast<size_t>(f)); }
    void Include(TPCMFormat f) { bits_.set(static_cast<size_t>(f)); }
    bool Empty() const { return bits_.none(); }
    size_t Count() const { return bits_.count(); }
    bool operator==(const TPCMFormatSet&) const = default;

private:
    std::bitset<kPCMFormatCount> bits_;
};

// Same layout as the system's WAVEFORMATEX (18 bytes, byte-packed): it is what
// the device is opened with and, byte for byte, the WAV file's fmt chunk.
#pragma pack(push, 1)
struct WaveFormatEx {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

// The format in use, without the extra-size field (the system's PCMWAVEFORMAT).
struct PcmWaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
};

// Same layout as the system's MMTIME: a position in one of several units.
struct WaveTime {
    uint32_t type;
    union {
        uint32_t ms;
        uint32_t sample;
        uint32_t cb;
        uint32_t ticks;
        struct {
            uint8_t hour, min, sec, frame, fps, dummy;
            uint8_t pad[2];
        } smpte;
    } u;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormatEx) == 18);
static_assert(sizeof(PcmWaveFormat) == 16);

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint32_t kTimeMs = 1, kTimeSamples = 2, kTimeBytes = 4, kTimeSmpte = 8;

// The bytes before the samples of a finished WAV file as the capture writer
// lays it out: "RIFF", the RIFF size (38 + data + one pad byte when the data
// is odd), "WAVE", the 18-byte fmt chunk holding the whole record, "data" and
// the data size; 46 bytes. Written for PCM records, which carry no extra bytes.
inline constexpr uint32_t kWaveHeaderSize = 46;
std::string WaveFileHeader(const WaveFormatEx& format, uint32_t dataSize);

// Fills a record for a named format; nonePCM leaves the record untouched.
void FillPCMFormat(WaveFormatEx& record, TPCMFormat format);

// (a * b) / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0.
int32_t ScaleRounded(int32_t a, int32_t b, int32_t c);

// Bytes per buffer of lengthMs milliseconds, rounded up to whole blocks.
uint32_t WaveBufferSize(uint16_t lengthMs, const PcmWaveFormat& format);

// Peak of a buffer as 0..100 for 8- and 16-bit samples, -1 for other widths.
// Only the positive half counts: negative 16-bit samples never raise it.
int32_t PeakLevel(const void* buffer, uint32_t size, uint16_t bitsPerSample);

// A device position in milliseconds; 0 for units that cannot be converted.
uint32_t MMTimeToMilliseconds(const WaveTime& time, const PcmWaveFormat& format);

// The formats a device offers, from the format flags of its capabilities. The
// 8000 Hz formats have no flag and are always offered; 48000 Hz never is.
TPCMFormatSet PCMFormatsFromCapabilityFlags(uint32_t flags);
