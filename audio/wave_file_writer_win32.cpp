#include "audio/wave_file_writer_win32.h"

#include <cstring>

namespace {
// On 64-bit Windows the info record's user words are 32 bits each: the
// stream's address takes the first two, the count of the stream's failures
// the third.
static_assert(sizeof(ByteStream*) <= 2 * sizeof(DWORD));
constexpr int kFailureCount = 2;

ByteStream* StreamOf(const MMIOINFO& info) {
    ByteStream* stream = nullptr;
    std::memcpy(&stream, info.adwInfo, sizeof stream);
    return stream;
}

void SetStream(MMIOINFO& info, ByteStream* stream) { std::memcpy(info.adwInfo, &stream, sizeof stream); }

SeekOrigin OriginOf(LPARAM origin) {
    switch (origin) {
    case SEEK_CUR: return SeekOrigin::Current;
    case SEEK_END: return SeekOrigin::End;
    default: return SeekOrigin::Begin;
    }
}

constexpr LRESULT kFailed = -1;
}  // namespace

LRESULT CALLBACK StreamIOProc(LPSTR infoPointer, UINT message, LPARAM p1, LPARAM p2) {
    auto* info = reinterpret_cast<MMIOINFO*>(infoPointer);
    ByteStream* stream = info ? StreamOf(*info) : nullptr;
    if (!stream) return kFailed;
    try {
        switch (message) {
        case MMIOM_READ: {
            stream->Seek(info->lDiskOffset, SeekOrigin::Begin);
            const int32_t count = stream->Read(reinterpret_cast<void*>(p1), static_cast<int32_t>(p2));
            info->lDiskOffset = static_cast<LONG>(stream->Seek(0, SeekOrigin::Current));
            return count;
        }
        case MMIOM_WRITE:
        case MMIOM_WRITEFLUSH: {
            stream->Seek(info->lDiskOffset, SeekOrigin::Begin);
            const int32_t count = stream->Write(reinterpret_cast<const void*>(p1), static_cast<int32_t>(p2));
            info->lDiskOffset = static_cast<LONG>(stream->Seek(0, SeekOrigin::Current));
            if (count < p2) ++info->adwInfo[kFailureCount];
            return count;
        }
        case MMIOM_SEEK: {
            if (p2 == SEEK_CUR) stream->Seek(info->lDiskOffset, SeekOrigin::Begin);
            info->lDiskOffset = static_cast<LONG>(stream->Seek(static_cast<int64_t>(p1), OriginOf(p2)));
            return info->lDiskOffset;
        }
        case MMIOM_OPEN:
            stream->Seek(0, SeekOrigin::Begin);
            info->lDiskOffset = 0;
            return MMSYSERR_NOERROR;
        default:
            return 0;  // the stream belongs to the caller and stays open
        }
    } catch (...) {
        ++info->adwInfo[kFailureCount];
        return kFailed;
    }
}

DWORD StreamFailures(HMMIO writer) {
    MMIOINFO info{};
    ::mmioGetInfo(writer, &info, 0);
    return info.adwInfo[kFailureCount];
}

UniqueMmio OpenWaveStream(ByteStream* stream) {
    MMIOINFO info{};
    info.pIOProc = &StreamIOProc;
    SetStream(info, stream);
    // No buffer: every mmioWrite is one write to the stream.
    return UniqueMmio(::mmioOpenA(nullptr, &info, MMIO_WRITE));
}

bool CreateWaveChunks(HMMIO writer, const WaveFormatEx& format, MMCKINFO& riffChunk, MMCKINFO& dataChunk) {
    if (::mmioSeek(writer, 0, SEEK_SET) != 0) return false;
    riffChunk = {};
    riffChunk.fccType = ::mmioStringToFOURCCA("WAVE", 0);
    if (::mmioCreateChunk(writer, &riffChunk, MMIO_CREATERIFF) != MMSYSERR_NOERROR) return false;

    // The whole record, extra-size field included: an 18-byte fmt chunk.
    MMCKINFO formatChunk{};
    formatChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (::mmioCreateChunk(writer, &formatChunk, 0) != MMSYSERR_NOERROR) return false;
    const LONG formatSize = static_cast<LONG>(sizeof(WaveFormatEx) + format.extraSize);
    if (::mmioWrite(writer, reinterpret_cast<const char*>(&format), formatSize) != formatSize) return false;
    if (::mmioAscend(writer, &formatChunk, 0) != MMSYSERR_NOERROR) return false;

    dataChunk = {};
    dataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    return ::mmioCreateChunk(writer, &dataChunk, 0) == MMSYSERR_NOERROR;
}

UniqueMmio CreateWaveWriter(ByteStream* stream, const WaveFormatEx& format, MMCKINFO& riffChunk,
                            MMCKINFO& dataChunk) {
    UniqueMmio writer = OpenWaveStream(stream);
    if (!writer) return {};
    // An existing, longer file must not keep its tail.
    stream->SetSize(0);
    if (!CreateWaveChunks(writer.get(), format, riffChunk, dataChunk)) {
        ::mmioClose(writer.release(), MMIO_FHOPEN);
        return {};
    }
    return writer;
}

MMRESULT CloseWaveWriter(HMMIO writer, MMCKINFO& riffChunk, MMCKINFO& dataChunk) {
    const DWORD failuresBefore = StreamFailures(writer);
    const MMRESULT dataResult = ::mmioAscend(writer, &dataChunk, 0);
    const MMRESULT riffResult = ::mmioAscend(writer, &riffChunk, 0);
    // mmio does not always pass on what the stream refused (Wine's ascend
    // reports success after a refused size or pad byte): the count says it.
    const MMRESULT refused = StreamFailures(writer) != failuresBefore ? MMIOERR_CANNOTWRITE : MMSYSERR_NOERROR;
    const MMRESULT closeResult = ::mmioClose(writer, 0);
    for (MMRESULT result : {dataResult, riffResult, refused, closeResult})
        if (result != MMSYSERR_NOERROR) return result;
    return MMSYSERR_NOERROR;
}
