// Test doubles for the MP3 coder: a scripted encoder whose "MP3" output is the
// PCM it was given (so outputs can be compared byte for byte), and files kept
// in memory with failures on demand. Both write what happens to one log.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/mp3_coder.h"

using CallLog = std::vector<std::string>;

// Bytes the encoder appends when the stream is flushed.
inline const std::string kFlushedFrames = "<flushed>";

class FakeEncoder final : public MP3EncoderLibrary {
public:
    explicit FakeEncoder(CallLog& log) : log_(log) {}

    std::uint32_t samplesPerCall = 8;   // stereo: 32-byte chunks
    std::uint32_t outputBufferSize = 64;
    std::uint32_t initResult = 0;
    std::optional<int> failingEncodeCall;  // 1-based
    std::uint32_t encodeFailure = 0;
    std::optional<int> overcountingEncodeCall;  // 1-based: reports one byte past the room it was given
    bool overcountingFlush = false;

    int versionCalls = 0;
    int openStreams = 0;
    int closedStreams = 0;
    std::vector<std::uint32_t> sampleCounts;
    std::vector<std::uint32_t> outputSizes;  // the room each call was given
    std::vector<std::int16_t> firstSamples;  // of the first call
    MP3ConfigRecord lastConfig{};

    void beVersion(std::uint8_t* record) override {
        ++versionCalls;
        for (std::size_t i = 0; i < kMP3VersionRecordSize; ++i) record[i] = static_cast<std::uint8_t>(0xA0 + i);
    }

    std::uint32_t beInitStream(MP3ConfigRecord& config, std::uint32_t& samples, std::uint32_t& bufferSize,
                               MP3StreamHandle& stream) override {
        log_.push_back("init");
        lastConfig = config;
        stream = &token_;
        if (initResult != 0) return initResult;
        samples = samplesPerCall;
        bufferSize = outputBufferSize;
        ++openStreams;
        return 0;
    }

    std::uint32_t beEncodeChunk(MP3StreamHandle stream, std::uint32_t sampleCount, const std::int16_t* samples,
                                std::uint8_t* output, std::uint32_t outputSize, std::uint32_t& outputBytes) override {
        EXPECT_EQ(stream, &token_);
        log_.push_back("encode " + std::to_string(sampleCount));
        sampleCounts.push_back(sampleCount);
        outputSizes.push_back(outputSize);
        // The real library writes up to its worst case without being told the room.
        const std::uint32_t channels = lastConfig[20] == 3 ? 1 : 2;  // mode 3 is mono
        const double worstCase = 1.25 * std::ceil(double(sampleCount) / channels) + 7200;
        EXPECT_GE(outputSize, worstCase) << "room for " << sampleCount << " samples on " << channels << " channels";
        if (firstSamples.empty()) firstSamples.assign(samples, samples + sampleCount);
        if (failingEncodeCall && static_cast<int>(sampleCounts.size()) == *failingEncodeCall) return encodeFailure;
        std::memcpy(output, samples, sampleCount * 2);
        outputBytes = sampleCount * 2;
        if (overcountingEncodeCall && static_cast<int>(sampleCounts.size()) == *overcountingEncodeCall)
            outputBytes = outputSize + 1;
        return 0;
    }

    std::uint32_t beDeinitStream(MP3StreamHandle stream, std::uint8_t* output, std::uint32_t outputSize,
                                 std::uint32_t& outputBytes) override {
        EXPECT_EQ(stream, &token_);
        log_.push_back("flush");
        std::memcpy(output, kFlushedFrames.data(), kFlushedFrames.size());
        outputBytes = static_cast<std::uint32_t>(kFlushedFrames.size());
        if (overcountingFlush) outputBytes = outputSize + 1;
        return 0;
    }

    std::uint32_t beCloseStream(MP3StreamHandle stream) override {
        EXPECT_EQ(stream, &token_);
        log_.push_back("close stream");
        --openStreams;
        ++closedStreams;
        return 0;
    }

private:
    CallLog& log_;
    int token_ = 0;
};

class MemoryFiles final : public MP3FileAccess {
public:
    explicit MemoryFiles(CallLog& log) : log_(log) {}

    std::map<std::string, std::string> files;
    std::set<std::string> unopenable;
    std::set<std::string> uncreatable;
    std::optional<std::uint64_t> readableBytes;  // reads past this offset come up short
    std::optional<std::size_t> writableBytes;    // over all outputs together
    int openFiles = 0;

    std::unique_ptr<MP3InputFile> OpenForReading(const std::string& name) override {
        auto found = files.find(name);
        if (found == files.end() || unopenable.count(name))
            throw EStreamError(CannotOpenFileMessage(name, "The system cannot find the file specified."));
        log_.push_back("open " + name);
        return std::make_unique<Input>(*this, name, found->second);
    }

    std::unique_ptr<MP3OutputFile> Create(const std::string& name) override {
        if (uncreatable.count(name)) throw EStreamError(CannotCreateFileMessage(name, "Access is denied."));
        log_.push_back("create " + name);
        files[name].clear();
        return std::make_unique<Output>(*this, name);
    }

private:
    class Input final : public MP3InputFile {
    public:
        Input(MemoryFiles& owner, std::string name, std::string bytes)
            : owner_(owner), name_(std::move(name)), bytes_(std::move(bytes)) {
            ++owner_.openFiles;
        }
        ~Input() override {
            --owner_.openFiles;
            owner_.log_.push_back("close " + name_);
        }
        std::uint64_t Size() override { return bytes_.size(); }
        bool Seek(std::uint64_t position) override {
            position_ = position;
            return true;
        }
        std::size_t Read(void* buffer, std::size_t count) override {
            std::uint64_t end = std::min<std::uint64_t>(bytes_.size(), owner_.readableBytes.value_or(bytes_.size()));
            std::size_t available = position_ < end ? static_cast<std::size_t>(end - position_) : 0;
            std::size_t n = std::min(count, available);
            std::memcpy(buffer, bytes_.data() + position_, n);
            position_ += n;
            return n;
        }

    private:
        MemoryFiles& owner_;
        std::string name_;
        std::string bytes_;
        std::uint64_t position_ = 0;
    };

    class Output final : public MP3OutputFile {
    public:
        Output(MemoryFiles& owner, std::string name) : owner_(owner), name_(std::move(name)) { ++owner_.openFiles; }
        ~Output() override {
            --owner_.openFiles;
            owner_.log_.push_back("close " + name_);
        }
        std::size_t Write(const void* buffer, std::size_t count) override {
            std::size_t n = count;
            if (owner_.writableBytes) {
                n = std::min(count, *owner_.writableBytes);
                *owner_.writableBytes -= n;
            }
            owner_.files[name_].append(static_cast<const char*>(buffer), n);
            return n;
        }

    private:
        MemoryFiles& owner_;
        std::string name_;
    };

    CallLog& log_;
};

// Little-endian PCM bytes of 16-bit samples.
inline std::string PcmBytes(const std::vector<std::int16_t>& samples) {
    std::string bytes;
    for (std::int16_t s : samples) {
        bytes += static_cast<char>(s & 0xFF);
        bytes += static_cast<char>((s >> 8) & 0xFF);
    }
    return bytes;
}

// Distinct 16-bit stereo samples: left i*2, right -(i*2+1) for frame i.
inline std::string StereoRamp(std::size_t byteCount) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < byteCount / 2; ++i)
        samples.push_back(static_cast<std::int16_t>(i % 2 == 0 ? i : -static_cast<int>(i)));
    std::string bytes = PcmBytes(samples);
    if (byteCount % 2) bytes += 'x';
    return bytes;
}

inline std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
inline std::string Le16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// A PCM WAV file; fmtSize 18 gives the capture's 46-byte header (with the
// extra-size field), 16 the canonical 44-byte one.
inline std::string MakeWav(const std::string& pcm, std::uint32_t fmtSize = 18, std::uint16_t channels = 2,
                           std::uint16_t blockAlign = 4) {
    std::string fmt = Le16(1) + Le16(channels) + Le32(44100) + Le32(44100 * blockAlign) + Le16(blockAlign) + Le16(16);
    if (fmtSize == 18) fmt += Le16(0);
    std::string body = "WAVE" + std::string("fmt ") + Le32(fmtSize) + fmt + "data" + Le32(static_cast<std::uint32_t>(pcm.size())) + pcm;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

// One coder with its doubles and a shared log.
struct CoderBench {
    CallLog log;
    FakeEncoder encoder{log};
    MemoryFiles files{log};
    int pumps = 0;
    TMP3Coder coder{TMP3CoderServices{encoder, files, [this] {
                                          ++pumps;
                                          log.push_back("pump");
                                      }}};

    // One pair: "in.wav" holding these bytes, to "out.mp3".
    void OnePair(const std::string& input) {
        files.files["in.wav"] = input;
        coder.InputFiles() = {"in.wav"};
        coder.OutputFiles() = {"out.mp3"};
    }

    // The message of the EMP3CoderError that Process raises; empty when it raises none.
    std::string ProcessError() {
        try {
            coder.Process();
        } catch (const EMP3CoderError& e) {
            return e.what();
        }
        return {};
    }
};
