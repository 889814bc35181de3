// TMP3Coder: encodes WAV (or raw 16-bit PCM) files to MP3 through the encoder
// library, pair by pair, in the caller's thread. Progress is reported after
// every chunk and pending window messages are processed, so the user interface
// stays alive while a file is encoded.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/mp3_encoder_library.h"
#include "audio/mp3_file_access.h"

class EMP3CoderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class MPEG_QUALITY : std::int32_t { NORMAL_QUALITY = 0, LOW_QUALITY = 1, HIGH_QUALITY = 2, VOICE_QUALITY = 3 };

// The ordinal is the encoder's mode number.
enum class TMP3CoderMode : std::int32_t { STEREO = 0, JSTEREO = 1, DUALCHANNEL = 2, MONO = 3 };

// The encoder library's version record; only its first four bytes are published.
class TCoderVersion {
public:
    explicit TCoderVersion(MP3EncoderLibrary& encoder);
    TCoderVersion(const TCoderVersion& other) { *this = other; }
    TCoderVersion& operator=(const TCoderVersion& other);

    std::uint8_t DLLMajorVersion() const { return record_[0]; }
    std::uint8_t DLLMinorVersion() const { return record_[1]; }
    std::uint8_t MajorVersion() const { return record_[2]; }
    std::uint8_t MinorVersion() const { return record_[3]; }

private:
    std::array<std::uint8_t, kMP3VersionRecordSize> record_{};
};

// What the coder needs from its platform: the encoder, files, and a way to let
// the user interface run between chunks.
struct TMP3CoderServices {
    MP3EncoderLibrary& encoder;
    MP3FileAccess& files;
    std::function<void()> processPendingMessages;
};

class TMP3Coder;
using TNotifyEvent = std::function<void(TMP3Coder& sender)>;
using TProcessFileEvent = std::function<void(TMP3Coder& sender, std::uint16_t num, const std::string& fileName)>;
using TProgressEvent = std::function<void(TMP3Coder& sender, std::uint16_t percentComplete)>;

class TMP3Coder {
public:
    explicit TMP3Coder(const TMP3CoderServices& services);
    TMP3Coder(const TMP3Coder&) = delete;
    TMP3Coder& operator=(const TMP3Coder&) = delete;

    std::uint32_t SampleRate() const { return settings_.sampleRate; }
    void SetSampleRate(std::uint32_t value) { settings_.sampleRate = value; }
    std::uint32_t Bitrate() const { return settings_.bitrate; }
    void SetBitrate(std::uint32_t value) { settings_.bitrate = value; }
    std::uint32_t MaxBitrate() const { return settings_.maxBitrate; }
    void SetMaxBitrate(std::uint32_t value) { settings_.maxBitrate = value; }
    MPEG_QUALITY Quality() const { return settings_.quality; }
    void SetQuality(MPEG_QUALITY value) { settings_.quality = value; }
    TMP3CoderMode Mode() const { return settings_.mode; }
    void SetMode(TMP3CoderMode value) { settings_.mode = value; }

    // The six flags are 32-bit booleans: true is stored, and handed to the
    // encoder, with all bits set.
    bool Private() const { return settings_.privateBit != 0; }
    void SetPrivate(bool value) { settings_.privateBit = LongBool(value); }
    bool CRC() const { return settings_.crc != 0; }
    void SetCRC(bool value) { settings_.crc = LongBool(value); }
    bool Copyright() const { return settings_.copyright != 0; }
    void SetCopyright(bool value) { settings_.copyright = LongBool(value); }
    bool Original() const { return settings_.original != 0; }
    void SetOriginal(bool value) { settings_.original = LongBool(value); }
    bool WriteVBRHeader() const { return settings_.writeVBRHeader != 0; }
    void SetWriteVBRHeader(bool value) { settings_.writeVBRHeader = LongBool(value); }
    bool EnableVBR() const { return settings_.enableVBR != 0; }
    // A VBR stream needs its header, so this also sets WriteVBRHeader.
    void SetEnableVBR(bool value);
    std::int32_t VBRQuality() const { return settings_.vbrQuality; }
    void SetVBRQuality(std::int32_t value) { settings_.vbrQuality = value; }

    // Adding to the lists directly derives nothing; assigning a whole input
    // list derives the output names from it.
    std::vector<std::string>& InputFiles() { return inputFiles_; }
    const std::vector<std::string>& InputFiles() const { return inputFiles_; }
    void SetInputFiles(const std::vector<std::string>& files);
    std::vector<std::string>& OutputFiles() { return outputFiles_; }
    const std::vector<std::string>& OutputFiles() const { return outputFiles_; }
    void SetOutputFiles(const std::vector<std::string>& files) { outputFiles_ = files; }

    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
    // Kept for the caller; processing does not use it.
    const std::string& Mp3FileName() const { return mp3FileName_; }
    void SetMp3FileName(const std::string& value) { mp3FileName_ = value; }

    const TCoderVersion& CoderVersion() const { return coderVersion_; }

    // Copies every encoding setting (rates, mode, quality, flags, VBR quality).
    void AssignSettings(const TMP3Coder& source);

    // The configuration record handed to the encoder for the current settings.
    MP3ConfigRecord ConfigRecord() const;

    // Encodes input i to output i for every i, in order. Throws EMP3CoderError,
    // EStreamError or std::out_of_range (an input without an output name); the
    // failing pair is cleaned up first and the remaining pairs are left alone.
    void Process();

    TNotifyEvent OnBeginProcess;
    TProcessFileEvent OnBeginFile;
    TProgressEvent OnProgress;
    TProcessFileEvent OnEndFile;
    TNotifyEvent OnEndProcess;

private:
    static std::int32_t LongBool(bool value) { return value ? -1 : 0; }
    void ProcessFile(std::size_t index);

    TMP3CoderServices services_;
    // The encoding settings, copied together by AssignSettings.
    struct Settings {
        std::uint32_t sampleRate = 44100;
        std::uint32_t bitrate = 128;
        std::uint32_t maxBitrate = 320;
        MPEG_QUALITY quality = MPEG_QUALITY::NORMAL_QUALITY;
        TMP3CoderMode mode = TMP3CoderMode::STEREO;
        std::int32_t privateBit = 0;
        std::int32_t crc = -1;
        std::int32_t copyright = 0;
        std::int32_t original = 0;
        std::int32_t writeVBRHeader = 0;
        std::int32_t enableVBR = 0;
        std::int32_t vbrQuality = 4;
    } settings_;
    std::vector<std::string> inputFiles_;
    std::vector<std::string> outputFiles_;
    std::string defaultExt_ = ".mp3";
    std::string mp3FileName_;
    TCoderVersion coderVersion_;
};

// The file name with its extension replaced by ext (appended when it has none);
// dots in folder names do not count.
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);

// Where the PCM of an input lies and how many bytes one encoder call takes.
struct PcmLayout {
    std::uint64_t dataStart = 0;
    std::uint64_t dataSize = 0;
    std::uint64_t chunkSize = 0;
};

// Reads the input's header: a RIFF "WAVE" file gives the bytes after its "data"
// chunk header up to the end of the file, in chunks of samplesPerCall × the
// fmt block align; anything else (an input shorter than a header included) is
// raw PCM from byte 0, in chunks of samplesPerCall bytes for mono, twice that
// otherwise.
PcmLayout ReadPcmLayout(MP3InputFile& input, std::uint32_t samplesPerCall, bool mono);
