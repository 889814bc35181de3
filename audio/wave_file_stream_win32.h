// A ByteStream over a file: created (an existing file is emptied), read and
// write, not shared, closed when the stream goes.
#pragma once
#include <string>

#include "win/system_error_win32.h"

#include "audio/wave_stream.h"
#include "win/handles_win32.h"

class FileByteStream : public ByteStream {
public:
    // Raises EStreamError "Cannot create file "<name>". <system's reason>".
    explicit FileByteStream(const std::string& fileName);

    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    void SetSize(int64_t size) override;

private:
    UniqueFileHandle file_;
};

