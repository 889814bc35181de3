// What the fuzz targets share: a check that stops the run with a message (a
// finding), and the MP3 coder's files kept in memory.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "audio/mp3_file_access.h"

#define FUZZ_CHECK(condition, what)                                                   \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", what, #condition); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

// An input file over bytes; a read copies only what lies inside them.
class MemoryInputFile final : public MP3InputFile {
public:
    explicit MemoryInputFile(std::string bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t Size() override { return bytes_.size(); }
    bool Seek(std::uint64_t position) override {
        position_ = position;
        return true;
    }
    std::size_t Read(void* buffer, std::size_t count) override {
        const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
        const std::size_t n = std::min(count, available);
        if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    std::string bytes_;
    std::uint64_t position_ = 0;
};

class MemoryOutputFile final : public MP3OutputFile {
public:
    explicit MemoryOutputFile(std::string& bytes) : bytes_(bytes) {}
    std::size_t Write(const void* buffer, std::size_t count) override {
        bytes_.append(static_cast<const char*>(buffer), count);
        return count;
    }

private:
    std::string& bytes_;
};

class MemoryFileAccess final : public MP3FileAccess {
public:
    std::map<std::string, std::string> files;
    std::unique_ptr<MP3InputFile> OpenForReading(const std::string& name) override {
        return std::make_unique<MemoryInputFile>(files.at(name));
    }
    std::unique_ptr<MP3OutputFile> Create(const std::string& name) override {
        files[name].clear();
        return std::make_unique<MemoryOutputFile>(files[name]);
    }
};
