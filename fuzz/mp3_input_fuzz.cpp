// The MP3 coder's reading of its input (header detection, chunking) over any
// file, against an encoder that checks what it is handed and gives the PCM
// back as its "MP3". Input: samples per encoder call, the mode, then the file.
#include <cstdint>
#include <string>
#include <vector>

#include "audio/mp3_coder.h"
#include "fuzz/fuzz_support.h"

namespace {
const std::string kFlushed = "<end>";

class CheckingEncoder final : public MP3EncoderLibrary {
public:
    CheckingEncoder(std::uint32_t samplesPerCall, bool mono)
        : samplesPerCall_(samplesPerCall), channels_(mono ? 1 : 2), bufferSize_(samplesPerCall * 2 + kFlushed.size()) {}

    std::string encoded;  // every sample byte handed over, in order
    std::string output;   // every byte placed in the output buffer, in order

    void beVersion(std::uint8_t* record) override { std::memset(record, 1, kMP3VersionRecordSize); }
    std::uint32_t beInitStream(MP3ConfigRecord&, std::uint32_t& samples, std::uint32_t& bufferSize,
                               MP3StreamHandle& stream) override {
        FUZZ_CHECK(!open_, "one stream at a time");
        open_ = true;
        samples = samplesPerCall_;
        bufferSize = static_cast<std::uint32_t>(bufferSize_);
        stream = &open_;
        return 0;
    }
    std::uint32_t beEncodeChunk(MP3StreamHandle stream, std::uint32_t sampleCount, const std::int16_t* samples,
                                std::uint8_t* output, std::uint32_t outputSize, std::uint32_t& outputBytes) override {
        FUZZ_CHECK(open_ && stream == &open_, "chunks go to the open stream");
        FUZZ_CHECK(outputSize >= Mp3OutputWorstCase((sampleCount + channels_ - 1) / channels_),
                   "the output has room for the library's worst case");
        // A WAV chunk holds samples per call frames, not samples: up to a 16-bit byte count.
        FUZZ_CHECK(std::size_t{sampleCount} * 2 < 65536, "a chunk is a 16-bit byte count");
        // Reading every sample and filling the output catches a short buffer on either side.
        const std::size_t bytes = std::size_t{sampleCount} * 2;
        encoded.append(reinterpret_cast<const char*>(samples), bytes);
        const std::size_t placed = std::min(bytes, bufferSize_);
        std::memcpy(output, samples, placed);
        this->output.append(reinterpret_cast<const char*>(samples), placed);
        outputBytes = static_cast<std::uint32_t>(placed);
        return 0;
    }
    std::uint32_t beDeinitStream(MP3StreamHandle stream, std::uint8_t* output, std::uint32_t,
                                 std::uint32_t& outputBytes) override {
        FUZZ_CHECK(open_ && stream == &open_, "the open stream is flushed");
        std::memcpy(output, kFlushed.data(), kFlushed.size());
        outputBytes = static_cast<std::uint32_t>(kFlushed.size());
        return 0;
    }
    std::uint32_t beCloseStream(MP3StreamHandle stream) override {
        FUZZ_CHECK(open_ && stream == &open_, "the open stream is closed, once");
        open_ = false;
        return 0;
    }
    bool Open() const { return open_; }

private:
    std::uint32_t samplesPerCall_;
    std::uint32_t channels_;
    std::size_t bufferSize_;
    bool open_ = false;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // 1..4096 samples per call: both sides of the 16-bit chunk limit.
    const std::uint32_t samplesPerCall = 1 + (data[0] | ((data[1] & 0x0F) << 8));
    const bool mono = (data[1] & 0x80) != 0;
    const std::string file(reinterpret_cast<const char*>(data) + 2, size - 2);

    CheckingEncoder encoder(samplesPerCall, mono);
    MemoryFileAccess files;
    files.files["in.wav"] = file;
    TMP3Coder coder(TMP3CoderServices{encoder, files, nullptr});
    coder.SetMode(mono ? TMP3CoderMode::MONO : TMP3CoderMode::JSTEREO);
    coder.InputFiles() = {"in.wav"};
    coder.OutputFiles() = {"out.mp3"};
    try {
        coder.Process();
    } catch (const EMP3CoderError&) {
        FUZZ_CHECK(!encoder.Open(), "a failed file leaves no stream open");
        return 0;
    }
    FUZZ_CHECK(!encoder.Open(), "the stream is closed at the end");

    MemoryInputFile input(file);
    const PcmLayout layout = ReadPcmLayout(input, samplesPerCall, mono);
    FUZZ_CHECK(layout.dataStart + layout.dataSize == file.size(), "the samples run to the end of the file");
    // With even chunks every sample byte is handed over once, in order (an odd last byte is no sample).
    if (layout.chunkSize % 2 == 0)
        FUZZ_CHECK(encoder.encoded == file.substr(layout.dataStart, layout.dataSize & ~std::uint64_t{1}),
                   "every sample reaches the encoder once, in order");
    FUZZ_CHECK(files.files["out.mp3"] == encoder.output + kFlushed, "the output is every chunk, then the flush");
    return 0;
}
