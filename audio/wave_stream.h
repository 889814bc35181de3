// The byte stream a WAV file is written to: positioned reads and writes and a
// settable size, whatever lies underneath (a file, memory).
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/file_error.h"

enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };


class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Returns the new position; raises EStreamError when it cannot move there.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    // Return the count moved, which is short only at the end or on failure.
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    virtual void SetSize(int64_t size) = 0;
};

// A stream in memory; the bytes are readable as a string.
class MemoryByteStream : public ByteStream {
public:
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    void SetSize(int64_t size) override;

    const std::string& Bytes() const { return bytes_; }
    int64_t Position() const { return position_; }

private:
    std::string bytes_;
    int64_t position_ = 0;
};
