// The capture component the recorder window uses: everything captured goes, as
// it arrives, into a WAV file whose sizes are fixed when the device reports it
// has closed, before OnDeactivate.
//
//   TWaveRecorder recorder;                       // the system's default input
//   recorder.SetPCMFormat(TPCMFormat::Stereo16bit44100Hz);
//   recorder.OnDeactivate = [](TWaveAudioIO&) { /* the file is complete */ };
//   recorder.RecordToFile("C:\\...\\Flumen.wav"); // opens; capture starts on the open notification
//   ...
//   recorder.SetActive(false);                    // closes once the buffers are back
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/wave_audio_in.h"
#include "audio/wave_stream.h"
#include "audio/wave_file_writer_win32.h"

class TWaveRecorder;

// A component that can supply the stream a recorder writes to. The stream
// stays the storage's: the recorder never frees it.
class TCustomWaveStorage {
public:
    TCustomWaveStorage() = default;
    TCustomWaveStorage(const TCustomWaveStorage&) = delete;
    TCustomWaveStorage& operator=(const TCustomWaveStorage&) = delete;
    virtual ~TCustomWaveStorage();

    virtual ByteStream* WritableStream() = 0;
    virtual ByteStream* ReadableStream() = 0;

private:
    friend class TWaveRecorder;
    std::vector<TWaveRecorder*> users_;
};

class TWaveRecorder : public TWaveAudioIn {
public:
    TWaveRecorder();
    TWaveRecorder(std::unique_ptr<WaveInDevice> device, std::unique_ptr<WaveCallbackHost> host);
    ~TWaveRecorder() override;

    TCustomWaveStorage* Stock() const { return stock; }
    void SetStock(TCustomWaveStorage* value);

    // true: records into the storage's stream (Stock is required); false: stops.
    void SetActive(bool value) override;

    // Creates (or empties) the file and records into it; raises the file's
    // creation error. True when the device was opened.
    bool RecordToFile(const std::string& fileName);
    // Stops a capture in progress and waits for its file, then records into
    // stream, freeing it when done if ownsStream.
    virtual bool RecordToStream(ByteStream* stream, bool ownsStream);
    // Completes the header and releases the stream; raises EWaveAudioError
    // when the header could not be completed.
    virtual void CloseWaveFile();

    // Why the file of the capture that just closed could not be completed,
    // empty when it was; for OnDeactivate. Whoever takes it shows it: a
    // failure nobody took is reported as a failure of the close notification.
    std::string TakeFileError() { return std::exchange(fileError, {}); }

protected:
    // The storage is going away.
    void StockDestroyed(TCustomWaveStorage* storage);
    void HandleWimClose() override;
    void GetWaveFormat(WaveFormatEx*& pWaveFormat, bool& freeIt) override;
    void DoError() override;
    void ProcessData(void* buffer, uint32_t bufferSize, bool& freeIt) override;

private:
    friend class TCustomWaveStorage;

    void KeepWholeFrames(LONG start, LONG written);

    UniqueMmio writer;
    MMCKINFO riffChunk{};
    MMCKINFO dataChunk{};
    ByteStream* stream = nullptr;
    std::unique_ptr<ByteStream> ownedStream;  // set when the recorder owns stream
    TCustomWaveStorage* stock = nullptr;
    std::string fileError;
};
