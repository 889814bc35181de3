// The encoder library as the MP3 coder sees it: five calls over opaque stream
// handles and byte records. The Windows build forwards them to LAME_ENC.DLL;
// tests put a scripted encoder in its place.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

using MP3StreamHandle = void*;

// The library's configuration record in its LAME form: packed, little-endian.
inline constexpr std::size_t kMP3ConfigRecordSize = 331;
using MP3ConfigRecord = std::array<std::uint8_t, kMP3ConfigRecordSize>;

// Room for the library's whole version record, written in one piece.
inline constexpr std::size_t kMP3VersionRecordSize = 268;

class MP3EncoderLibrary {
public:
    virtual ~MP3EncoderLibrary() = default;

    // Fills kMP3VersionRecordSize bytes at most.
    virtual void beVersion(std::uint8_t* versionRecord) = 0;

    // 0 on success; then samplesPerCall is the number of 16-bit samples (all
    // channels together) one call takes, and outputBufferSize the room one
    // call's MP3 bytes need.
    virtual std::uint32_t beInitStream(MP3ConfigRecord& config, std::uint32_t& samplesPerCall,
                                       std::uint32_t& outputBufferSize, MP3StreamHandle& stream) = 0;

    // Encodes sampleCount interleaved 16-bit samples; 0 on success, with the
    // number of MP3 bytes placed in output, which holds outputSize bytes. The
    // library itself takes no size and writes what it has: the caller makes
    // room for its worst case (Mp3OutputWorstCase).
    virtual std::uint32_t beEncodeChunk(MP3StreamHandle stream, std::uint32_t sampleCount,
                                        const std::int16_t* samples, std::uint8_t* output, std::uint32_t outputSize,
                                        std::uint32_t& outputBytes) = 0;

    // Flushes the last frames into output (outputSize bytes).
    virtual std::uint32_t beDeinitStream(MP3StreamHandle stream, std::uint8_t* output, std::uint32_t outputSize,
                                         std::uint32_t& outputBytes) = 0;

    virtual std::uint32_t beCloseStream(MP3StreamHandle stream) = 0;
};

// The library's own worst case for the MP3 bytes of one call: 1.25 × the
// samples of one channel + 7200.
constexpr std::uint32_t Mp3OutputWorstCase(std::uint32_t samplesPerChannel) {
    return samplesPerChannel + (samplesPerChannel + 3) / 4 + 7200;
}
