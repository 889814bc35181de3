// The files the MP3 coder reads and writes, behind a small interface so the
// coding logic runs the same on real files and in memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/wave_stream.h"


class MP3InputFile {
public:
    virtual ~MP3InputFile() = default;
    virtual std::uint64_t Size() = 0;
    // False when the position cannot be reached.
    virtual bool Seek(std::uint64_t position) = 0;
    // Returns the number of bytes read: fewer than count at the end of the file
    // or on a read failure.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
};

class MP3OutputFile {
public:
    virtual ~MP3OutputFile() = default;
    // Returns the number of bytes written.
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
};

class MP3FileAccess {
public:
    virtual ~MP3FileAccess() = default;
    // Both raise EStreamError; the file is closed when the returned object goes.
    virtual std::unique_ptr<MP3InputFile> OpenForReading(const std::string& fileName) = 0;
    virtual std::unique_ptr<MP3OutputFile> Create(const std::string& fileName) = 0;
};
