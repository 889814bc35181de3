// The MP3 coder's Windows services: LAME_ENC.DLL (imported by name when the
// program loads), the file system, and this thread's message queue.
#pragma once
#include "audio/mp3_coder.h"

// Shared, stateless services for every TMP3Coder of the program:
//   TMP3Coder coder{WindowsMP3CoderServices()};
const TMP3CoderServices& WindowsMP3CoderServices();

// The encoder library's five calls, as the program imports them.
MP3EncoderLibrary& EncoderDllLibrary();

// Files through the Windows file API; errors carry the system's reason.
MP3FileAccess& WindowsFileAccess();
