#include "audio/mp3_coder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "base/little_endian.h"

namespace {

constexpr std::size_t kHeaderSize = 44;
// Chunk sizes are 16-bit byte counts: 65536 bytes or more is refused, never wrapped.
constexpr std::uint64_t kChunkSizeLimit = 65536;

constexpr std::uint32_t kConfigLame = 256;
constexpr std::uint32_t kConfigStructVersion = 1;
constexpr std::uint32_t kMpegVersion1 = 1;

void PutUint32(MP3ConfigRecord& record, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool ReadExactlyAt(MP3InputFile& input, std::uint64_t offset, void* buffer, std::size_t count) {
    return input.Seek(offset) && input.Read(buffer, count) == count;
}

// What the encoding of one pair holds. Released in one order whichever way the
// pair ends: input buffer, input file, output file, output buffer, stream.
class EncodingJob {
public:
    explicit EncodingJob(MP3EncoderLibrary& encoder) : encoder_(encoder) {}
    EncodingJob(const EncodingJob&) = delete;
    EncodingJob& operator=(const EncodingJob&) = delete;
    ~EncodingJob() { Release(); }

    // Returns the encoder's result; on failure nothing is held.
    std::uint32_t Start(MP3ConfigRecord& config) {
        MP3StreamHandle handle = nullptr;
        std::uint32_t result = encoder_.beInitStream(config, samplesPerCall, outputBufferSize_, handle);
        if (result != 0) return result;
        stream = handle;
        return 0;
    }

    // The size the library reported at the start counts samplesPerCall
    // samples, but a WAV chunk holds samplesPerCall frames: the room follows
    // the samples really passed, and never shrinks below what was reported.
    void MakeOutputRoom(std::uint64_t chunkBytes, std::uint32_t channels) {
        const auto samplesPerChannel = static_cast<std::uint32_t>((chunkBytes / 2 + channels - 1) / channels);
        outputBuffer.assign(std::max(outputBufferSize_, Mp3OutputWorstCase(samplesPerChannel)), 0);
    }

    void Release() {
        inputBuffer = {};
        input.reset();
        output.reset();
        outputBuffer = {};
        if (stream) encoder_.beCloseStream(*std::exchange(stream, std::nullopt));
    }

    std::uint32_t OutputRoom() const { return static_cast<std::uint32_t>(outputBuffer.size()); }

    std::uint32_t samplesPerCall = 0;
    std::optional<MP3StreamHandle> stream;
    std::vector<std::uint8_t> outputBuffer;
    std::unique_ptr<MP3InputFile> input;
    std::unique_ptr<MP3OutputFile> output;
    std::vector<std::int16_t> inputBuffer;

private:
    MP3EncoderLibrary& encoder_;
    std::uint32_t outputBufferSize_ = 0;
};

// Fails the pair: everything it holds goes before the error leaves.
[[noreturn]] void Fail(EncodingJob& job, const std::string& message) {
    job.Release();
    throw EMP3CoderError(message);
}

// The encoder's byte count is not taken on trust: bytes past the buffer it
// reported at the start would be read from memory that is not ours.
void CheckOutputCount(EncodingJob& job, const char* call, std::uint32_t count) {
    if (count > job.outputBuffer.size()) Fail(job, std::string(call) + " output too large " + std::to_string(count));
}

}  // namespace

TCoderVersion::TCoderVersion(MP3EncoderLibrary& encoder) { encoder.beVersion(record_.data()); }

TCoderVersion& TCoderVersion::operator=(const TCoderVersion& other) {
    std::copy_n(other.record_.begin(), 4, record_.begin());
    return *this;
}

TMP3Coder::TMP3Coder(const TMP3CoderServices& services)
    : services_(services), coderVersion_(services.encoder) {}

void TMP3Coder::SetEnableVBR(bool value) {
    settings_.enableVBR = LongBool(value);
    settings_.writeVBRHeader = settings_.enableVBR;
}

void TMP3Coder::SetInputFiles(const std::vector<std::string>& files) {
    inputFiles_ = files;
    outputFiles_.clear();
    for (const std::string& input : inputFiles_) outputFiles_.push_back(ChangeFileExt(input, defaultExt_));
}

void TMP3Coder::AssignSettings(const TMP3Coder& source) {
    settings_ = source.settings_;
}

MP3ConfigRecord TMP3Coder::ConfigRecord() const {
    MP3ConfigRecord record{};
    PutUint32(record, 0, kConfigLame);
    PutUint32(record, 4, kConfigStructVersion);
    PutUint32(record, 8, kMP3ConfigRecordSize);
    PutUint32(record, 12, settings_.sampleRate);
    PutUint32(record, 16, 0);  // no resampling
    PutUint32(record, 20, static_cast<std::uint32_t>(settings_.mode));
    PutUint32(record, 24, settings_.bitrate);
    PutUint32(record, 28, settings_.maxBitrate);
    PutUint32(record, 32, static_cast<std::uint32_t>(settings_.quality));
    PutUint32(record, 36, kMpegVersion1);
    PutUint32(record, 48, static_cast<std::uint32_t>(settings_.privateBit));
    PutUint32(record, 52, static_cast<std::uint32_t>(settings_.crc));
    PutUint32(record, 56, static_cast<std::uint32_t>(settings_.copyright));
    PutUint32(record, 60, static_cast<std::uint32_t>(settings_.original));
    PutUint32(record, 64, static_cast<std::uint32_t>(settings_.writeVBRHeader));
    PutUint32(record, 68, static_cast<std::uint32_t>(settings_.enableVBR));
    PutUint32(record, 72, static_cast<std::uint32_t>(settings_.vbrQuality));
    return record;
}

void TMP3Coder::Process() {
    if (OnBeginProcess) OnBeginProcess(*this);
    for (std::size_t i = 0; i < inputFiles_.size(); ++i) ProcessFile(i);
    if (OnEndProcess) OnEndProcess(*this);
}

void TMP3Coder::ProcessFile(std::size_t index) {
    const auto num = static_cast<std::uint16_t>(index);
    EncodingJob job(services_.encoder);
    MP3ConfigRecord config = ConfigRecord();
    // A failed start leaves no stream worth closing and no buffer to use.
    if (std::uint32_t result = job.Start(config); result != 0)
        throw EMP3CoderError("beInitStream failed " + std::to_string(result));

    // Names are copied: the message processing between chunks runs the caller's code.
    const std::string inputName = inputFiles_[index];
    if (OnBeginFile) OnBeginFile(*this, num, inputName);
    job.input = services_.files.OpenForReading(inputName);
    const std::string outputName = outputFiles_.at(index);
    job.output = services_.files.Create(outputName);

    const PcmLayout layout = ReadPcmLayout(*job.input, job.samplesPerCall, settings_.mode == TMP3CoderMode::MONO);
    if (layout.chunkSize == 0 || layout.chunkSize >= kChunkSizeLimit)
        Fail(job, "Invalid chunk size " + std::to_string(layout.chunkSize));
    job.inputBuffer.assign((layout.chunkSize + 1) / 2, 0);
    // The library encodes one channel in mono mode and two otherwise, whatever the input holds.
    job.MakeOutputRoom(layout.chunkSize, settings_.mode == TMP3CoderMode::MONO ? 1 : 2);
    if (!job.input->Seek(layout.dataStart)) Fail(job, "Read Error");

    std::uint64_t position = 0;
    while (position != layout.dataSize) {
        const auto count = static_cast<std::size_t>(std::min(layout.chunkSize, layout.dataSize - position));
        if (job.input->Read(job.inputBuffer.data(), count) != count) Fail(job, "Read Error");
        std::uint32_t mp3Bytes = 0;
        std::uint32_t result = services_.encoder.beEncodeChunk(*job.stream, static_cast<std::uint32_t>(count / 2),
                                                               job.inputBuffer.data(), job.outputBuffer.data(),
                                                               job.OutputRoom(), mp3Bytes);
        if (result != 0) Fail(job, "beEncodeChunk failed " + std::to_string(result));
        CheckOutputCount(job, "beEncodeChunk", mp3Bytes);
        if (job.output->Write(job.outputBuffer.data(), mp3Bytes) != mp3Bytes) Fail(job, "Write Error");
        position += count;
        const double percent = static_cast<double>(position) / static_cast<double>(layout.dataSize) * 100.0;
        if (OnProgress) OnProgress(*this, static_cast<std::uint16_t>(percent));
        if (services_.processPendingMessages) services_.processPendingMessages();
    }

    std::uint32_t flushed = 0;
    services_.encoder.beDeinitStream(*job.stream, job.outputBuffer.data(), job.OutputRoom(), flushed);
    CheckOutputCount(job, "beDeinitStream", flushed);
    if (job.output->Write(job.outputBuffer.data(), flushed) != flushed) Fail(job, "Write error");
    job.Release();
    if (OnEndFile) OnEndFile(*this, num, outputName);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext) {
    const std::size_t last = fileName.find_last_of(".\\/:");
    if (last != std::string::npos && fileName[last] == '.') return fileName.substr(0, last) + ext;
    return fileName + ext;
}

PcmLayout ReadPcmLayout(MP3InputFile& input, std::uint32_t samplesPerCall, bool mono) {
    const std::uint64_t fileSize = input.Size();
    std::uint8_t header[kHeaderSize] = {};
    // Too short to hold a header: whatever is there is taken as samples.
    if (!ReadExactlyAt(input, 0, header, kHeaderSize) || std::memcmp(header + 8, "WAVE", 4) != 0)
        return {0, fileSize, std::uint64_t{samplesPerCall} * (mono ? 1 : 2)};

    // Walk the chunks after the RIFF header for the fmt block align and the
    // start of the samples; a file without a "data" chunk has no samples.
    PcmLayout layout{fileSize, 0, 0};
    std::uint16_t blockAlign = 0;
    std::uint64_t offset = 12;
    std::uint8_t chunk[8];
    while (offset + sizeof chunk <= fileSize && ReadExactlyAt(input, offset, chunk, sizeof chunk)) {
        const std::uint64_t bodySize = ReadLe32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && bodySize >= 14) {
            std::uint8_t align[2];
            if (ReadExactlyAt(input, offset + 8 + 12, align, sizeof align))
                blockAlign = ReadLe16(align);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            layout.dataStart = offset + 8;
            layout.dataSize = fileSize - layout.dataStart;
            break;
        }
        offset += 8 + bodySize + (bodySize & 1);
    }
    layout.chunkSize = std::uint64_t{samplesPerCall} * blockAlign;
    return layout;
}
