// Replacing the whole content of a small file (the list file) so that a
// failure at any single step leaves either the old bytes or the complete new
// ones, never a mix. The new content is written beside the file and moved over
// it; a folder that refuses new files gets a careful rewrite in place instead.
// Platform-free: the single file steps come through FileReplaceSteps.
#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "base/file_error.h"

// One file open for writing, positioned at its start.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Writes all of it at the current position or throws EStreamError naming the file.
    virtual void Write(const char* data, std::size_t size) = 0;
    // Moves the end of the file to size; the write position stays where it is.
    virtual void SetSize(std::uint64_t size) = 0;
    // Puts what was written on the disk.
    virtual void Flush() = 0;
};

class FileReplaceSteps {
public:
    virtual ~FileReplaceSteps() = default;
    virtual bool Exists(const std::string& path) = 0;
    // The whole file; EStreamError when it cannot be opened or read to its end.
    virtual std::string ReadWhole(const std::string& path) = 0;
    // A new, empty file (an existing one is emptied); EStreamError naming path.
    virtual std::unique_ptr<FileWriter> CreateFresh(const std::string& path) = 0;
    // The file opened for writing with its content kept (created when absent).
    virtual std::unique_ptr<FileWriter> OpenInPlace(const std::string& path) = 0;
    // Puts from in to's place in one step; EStreamError naming to.
    virtual void MoveOver(const std::string& from, const std::string& to) = 0;
    // Removes a file (read-only too) or an empty folder; silent when it cannot.
    virtual void RemoveQuietly(const std::string& path) = 0;
};

inline constexpr std::size_t kReplaceChunkBytes = 64 * 1024;

namespace file_replace_detail {
inline void WriteInChunks(FileWriter& file, const std::string& content, std::size_t chunkBytes) {
    for (std::size_t at = 0; at < content.size(); at += chunkBytes)
        file.Write(content.data() + at, std::min(chunkBytes, content.size() - at));
}

// Rewrites the file where it is. The room for the longer of the two contents
// is taken first, so a full disk fails before a byte changes; should a later
// step fail, the old bytes are written back before the error goes on.
inline void RewriteInPlace(FileReplaceSteps& steps, const std::string& path, const std::string& content,
                           std::size_t chunkBytes) {
    const bool existed = steps.Exists(path);
    const std::string old = existed ? steps.ReadWhole(path) : std::string();
    std::unique_ptr<FileWriter> file = steps.OpenInPlace(path);
    try {
        file->SetSize(std::max(old.size(), content.size()));
        WriteInChunks(*file, content, chunkBytes);
        file->SetSize(content.size());
        file->Flush();
    } catch (const EStreamError&) {
        file.reset();
        try {
            if (!existed) {
                steps.RemoveQuietly(path);
            } else {
                std::unique_ptr<FileWriter> again = steps.OpenInPlace(path);
                WriteInChunks(*again, old, chunkBytes);
                again->SetSize(old.size());
                again->Flush();
            }
        } catch (const EStreamError&) {
            // The first failure is the one to report.
        }
        throw;
    }
}
}  // namespace file_replace_detail

// The temporary file's name beside the file it replaces.
inline std::string ReplacementPath(const std::string& path) { return path + ".new"; }

inline void ReplaceFileContent(FileReplaceSteps& steps, const std::string& path, const std::string& content,
                               std::size_t chunkBytes = kReplaceChunkBytes) {
    const std::string fresh = ReplacementPath(path);
    // A leftover of an interrupted save is only in the way.
    steps.RemoveQuietly(fresh);
    std::unique_ptr<FileWriter> file;
    try {
        file = steps.CreateFresh(fresh);
    } catch (const EStreamError&) {
        // The folder refuses new files (or the leftover would not go): the list
        // file itself may still be writable.
        file_replace_detail::RewriteInPlace(steps, path, content, chunkBytes);
        return;
    }
    try {
        file_replace_detail::WriteInChunks(*file, content, chunkBytes);
        file->Flush();
        file.reset();
        steps.MoveOver(fresh, path);
    } catch (const EStreamError&) {
        file.reset();
        steps.RemoveQuietly(fresh);
        throw;
    }
}
