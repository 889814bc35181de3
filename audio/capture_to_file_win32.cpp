#include "audio/capture_to_file_win32.h"

#include <algorithm>
#include <exception>
#include <string>

#include "audio/wave_device_win32.h"
#include "audio/wave_file_stream_win32.h"

namespace {
std::string UnfinishedHeaderMessage(MMRESULT result) {
    std::string reason;
    switch (result) {
    case MMIOERR_CANNOTWRITE: reason = "écriture impossible"; break;
    case MMIOERR_CANNOTSEEK: reason = "déplacement impossible dans le fichier"; break;
    case MMIOERR_CANNOTCLOSE: reason = "fermeture impossible"; break;
    default: reason = "erreur " + std::to_string(result); break;
    }
    return "L'en-tête du fichier WAV n'a pas pu être complété (" + reason + ").";
}
}  // namespace

TCustomWaveStorage::~TCustomWaveStorage() {
    for (TWaveRecorder* recorder : std::vector<TWaveRecorder*>(users_)) recorder->StockDestroyed(this);
}

TWaveRecorder::TWaveRecorder() : TWaveRecorder(MakeWinmmWaveIn(), MakeWaveCallbackHost()) {}

TWaveRecorder::TWaveRecorder(std::unique_ptr<WaveInDevice> waveDevice, std::unique_ptr<WaveCallbackHost> callbackHost)
    : TWaveAudioIn(std::move(waveDevice), std::move(callbackHost)) {}

TWaveRecorder::~TWaveRecorder() {
    // Here, not in the base: the close notification must still finalise the file.
    ShutDown();
    try {
        CloseWaveFile();
    } catch (...) {
        ReportCurrentException();
    }
    SetStock(nullptr);
}

void TWaveRecorder::SetStock(TCustomWaveStorage* value) {
    if (stock == value) return;
    if (stock) std::erase(stock->users_, this);
    stock = value;
    if (stock) stock->users_.push_back(this);
}

void TWaveRecorder::StockDestroyed(TCustomWaveStorage* storage) {
    if (stock == storage) SetStock(nullptr);
}

void TWaveRecorder::SetActive(bool value) {
    if (value == GetActive()) return;
    if (!value) {
        InternalClose();
        return;
    }
    if (!stock) throw EWaveAudioInvalidOperation("Stock property is not assigned");
    RecordToStream(stock->WritableStream(), false);
}

bool TWaveRecorder::RecordToFile(const std::string& fileName) {
    auto file = std::make_unique<FileByteStream>(fileName);
    return RecordToStream(file.release(), true);
}

bool TWaveRecorder::RecordToStream(ByteStream* newStream, bool ownsStream) {
    std::unique_ptr<ByteStream> owned(ownsStream ? newStream : nullptr);
    SetActive(false);
    // The previous recording's file is finalised and its stream released first.
    WaitForCloseToFinish();
    CloseWaveFile();
    stream = newStream;
    ownedStream = std::move(owned);
    try {
        if (InternalOpen()) return true;
    } catch (...) {
        CloseWaveFile();
        throw;
    }
    CloseWaveFile();
    return false;
}

void TWaveRecorder::CloseWaveFile() {
    const MMRESULT result = writer ? CloseWaveWriter(writer.release(), riffChunk, dataChunk) : MMSYSERR_NOERROR;
    ownedStream.reset();
    stream = nullptr;
    if (result != MMSYSERR_NOERROR) throw EWaveAudioError(UnfinishedHeaderMessage(result));
}

void TWaveRecorder::HandleWimClose() {
    fileError.clear();
    try {
        CloseWaveFile();
    } catch (const std::exception& e) {
        fileError = e.what();
    }
    TWaveAudioIn::HandleWimClose();
    if (!fileError.empty()) throw EWaveAudioError(TakeFileError());
}

void TWaveRecorder::GetWaveFormat(WaveFormatEx*& pWaveFormat, bool& freeIt) {
    TWaveAudioIn::GetWaveFormat(pWaveFormat, freeIt);
    if (pWaveFormat && stream) writer = CreateWaveWriter(stream, *pWaveFormat, riffChunk, dataChunk);
}

void TWaveRecorder::DoError() {
    // Not active yet: the open failed, and the file keeps just its header.
    std::exception_ptr closeFailure;
    if (!GetActive()) {
        try {
            CloseWaveFile();
        } catch (...) {
            closeFailure = std::current_exception();
        }
    }
    TWaveAudioIn::DoError();
    if (closeFailure) std::rethrow_exception(closeFailure);
}

void TWaveRecorder::ProcessData(void* buffer, uint32_t bufferSize, bool&) {
    // Straight from the device's block: one write to the stream per buffer.
    const LONG size = static_cast<LONG>(bufferSize);
    if (!writer) {
        CheckResult(kMmSysError);
        return;
    }
    const LONG start = ::mmioSeek(writer.get(), 0, SEEK_CUR);
    const LONG written = ::mmioWrite(writer.get(), static_cast<const char*>(buffer), size);
    if (written == size) return;
    if (written > 0 && start >= 0) KeepWholeFrames(start, written);
    CheckResult(kMmSysError);
}

void TWaveRecorder::KeepWholeFrames(LONG start, LONG written) {
    // A short write keeps only the whole frames it wrote: the next buffer then
    // starts on a frame, and the data size stays a multiple of the block align.
    const LONG align = std::max<LONG>(1, WaveFormat().blockAlign);
    const LONG end = start + written - written % align;
    try {
        if (::mmioSeek(writer.get(), end, SEEK_SET) == end) stream->SetSize(end);
    } catch (const EStreamError&) {
        // The position is what counts for the next write and the header.
    }
}
