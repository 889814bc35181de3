// The WAV file through the system's multimedia file functions (mmio) over a
// ByteStream: an I/O procedure that lets mmio read and write the stream, and
// the writer that lays out RIFF "WAVE", the 18-byte fmt chunk and the data
// chunk, whose sizes mmio fixes when the chunks are ascended out of.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "audio/wave_format.h"
#include "audio/wave_stream.h"
#include "win/unique_handle.h"

namespace handles {
inline void CloseMmio(HMMIO h) { ::mmioClose(h, 0); }
}  // namespace handles
using UniqueMmio = UniqueHandle<HMMIO, NullHandleTraits<HMMIO, handles::CloseMmio>>;

// The mmio I/O procedure for a ByteStream kept in the info record's user words.
LRESULT CALLBACK StreamIOProc(LPSTR info, UINT message, LPARAM p1, LPARAM p2);

// An unbuffered mmio handle writing to stream (which it does not own), or none.
UniqueMmio OpenWaveStream(ByteStream* stream);

// How many of the stream's operations through this handle have failed, a
// write that came up short included.
DWORD StreamFailures(HMMIO writer);

// Writes the RIFF header, the fmt chunk and an empty data chunk from offset 0.
bool CreateWaveChunks(HMMIO writer, const WaveFormatEx& format, MMCKINFO& riffChunk, MMCKINFO& dataChunk);

// Empties the stream and writes the header; none when either fails.
UniqueMmio CreateWaveWriter(ByteStream* stream, const WaveFormatEx& format, MMCKINFO& riffChunk, MMCKINFO& dataChunk);

// Fixes the data and RIFF sizes (with a pad byte after odd data) and closes,
// whatever fails; the first failure's code, MMSYSERR_NOERROR when the header
// is complete and the file closed.
MMRESULT CloseWaveWriter(HMMIO writer, MMCKINFO& riffChunk, MMCKINFO& dataChunk);
