// Replacing a file's content with a failure injected at every step in turn:
// the file always holds the old bytes or the whole new content, and the next
// replace is sound.
#include "base/file_replace.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {
// Files in memory whose writes land at once, as on a disk; the step numbered
// failAt (counting from 1) fails once.
class FaultyDisk : public FileReplaceSteps {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;    // a folder cannot be created over or opened as a file
    std::set<std::string> readOnly;   // cannot be written or replaced, but can be removed
    bool refusesNewFiles = false;     // the folder lets nobody create files in it
    int failAt = 0;
    int steps = 0;

    bool Step(const std::string& path) {
        ++steps;
        if (steps != failAt) return true;
        lastFailed = path;
        return false;
    }
    void Check(const std::string& path) {
        if (!Step(path)) throw EStreamError(CannotCreateFileMessage(path, "Injected."));
    }
    std::string lastFailed;

    class Writer : public FileWriter {
    public:
        Writer(FaultyDisk& disk, std::string path) : disk_(disk), path_(std::move(path)) {}
        void Write(const char* data, std::size_t size) override {
            disk_.Check(path_);
            std::string& bytes = disk_.files[path_];
            if (bytes.size() < pos_ + size) bytes.resize(pos_ + size);
            bytes.replace(pos_, size, data, size);
            pos_ += size;
        }
        void SetSize(std::uint64_t size) override {
            disk_.Check(path_);
            disk_.files[path_].resize(size, '\0');
        }
        void Flush() override { disk_.Check(path_); }

    private:
        FaultyDisk& disk_;
        std::string path_;
        std::size_t pos_ = 0;
    };

    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    std::string ReadWhole(const std::string& path) override {
        Check(path);
        return files.at(path);
    }
    std::unique_ptr<FileWriter> CreateFresh(const std::string& path) override {
        Check(path);
        if (folders.count(path) || readOnly.count(path) || (refusesNewFiles && !files.count(path)))
            throw EStreamError(CannotCreateFileMessage(path, "Access is denied."));
        files[path].clear();
        return std::make_unique<Writer>(*this, path);
    }
    std::unique_ptr<FileWriter> OpenInPlace(const std::string& path) override {
        Check(path);
        if (folders.count(path) || readOnly.count(path) || (refusesNewFiles && !files.count(path)))
            throw EStreamError(CannotCreateFileMessage(path, "Access is denied."));
        files[path];
        return std::make_unique<Writer>(*this, path);
    }
    void MoveOver(const std::string& from, const std::string& to) override {
        Check(to);
        if (readOnly.count(to)) throw EStreamError(CannotCreateFileMessage(to, "Access is denied."));
        files[to] = files.at(from);
        files.erase(from);
    }
    void RemoveQuietly(const std::string& path) override {
        if (!Step(path)) return;
        files.erase(path);
        readOnly.erase(path);
        folders.erase(path);
    }
};

const std::string kPath = "C:\\P\\Sonoraflux.ini";
const std::string kFresh = kPath + ".new";
const std::string kOld = "old;1;;1\r\nkept;2;;0\r\n";

std::string NewContent() {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "entry " + std::to_string(i) + ";http://r/" + std::to_string(i) + ";;1\r\n";
    return text;  // longer than the old file: written in several chunks
}

struct Situation {
    const char* name;
    bool listExists;
    bool refusesNewFiles;  // forces the rewrite in place
};

TEST(ReplaceFileContent, AFailureAtAnyStepLeavesOldOrNewNeverAMix) {
    const Situation situations[] = {
        {"beside, over an old file", true, false},
        {"beside, no file yet", false, false},
        {"in place, over an old file", true, true},
    };
    const std::string fresh = NewContent();
    for (const Situation& s : situations) {
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE(std::string(s.name) + ", failing step " + std::to_string(failAt));
            FaultyDisk disk;
            if (s.listExists) disk.files[kPath] = kOld;
            disk.refusesNewFiles = s.refusesNewFiles;
            disk.failAt = failAt;
            bool raised = false;
            try {
                ReplaceFileContent(disk, kPath, fresh, 64);
            } catch (const EStreamError& e) {
                raised = true;
                EXPECT_NE(std::string(e.what()).find("\"" + disk.lastFailed + "\""), std::string::npos) << e.what();
            }
            const bool injected = disk.steps >= failAt;
            if (raised) {
                if (s.listExists)
                    EXPECT_EQ(disk.files.at(kPath), kOld);
                else
                    EXPECT_EQ(disk.files.count(kPath), 0u);
            } else {
                EXPECT_EQ(disk.files.at(kPath), fresh);
            }
            // Whatever happened, the next replace writes the new content whole.
            disk.failAt = 0;
            ReplaceFileContent(disk, kPath, fresh, 64);
            EXPECT_EQ(disk.files.at(kPath), fresh);
            EXPECT_EQ(disk.files.count(kFresh), 0u);
            if (!injected) {
                EXPECT_GT(failAt, 5) << "every step was tried";
                break;
            }
        }
    }
}

TEST(ReplaceFileContent, ALeftoverTemporaryFileOrFolderIsReplaced) {
    for (const bool leftoverIsFolder : {false, true}) {
        FaultyDisk disk;
        disk.files[kPath] = kOld;
        if (leftoverIsFolder) {
            disk.folders.insert(kFresh);
        } else {
            disk.files[kFresh] = "half a list";
            disk.readOnly.insert(kFresh);
        }
        ReplaceFileContent(disk, kPath, "a;;;1\r\n");
        EXPECT_EQ(disk.files.at(kPath), "a;;;1\r\n") << "folder: " << leftoverIsFolder;
        EXPECT_EQ(disk.files.count(kFresh), 0u);
    }
}

TEST(ReplaceFileContent, AFolderThatRefusesNewFilesGetsTheFileRewrittenInPlace) {
    FaultyDisk disk;
    disk.files[kPath] = NewContent();
    disk.refusesNewFiles = true;
    ReplaceFileContent(disk, kPath, "short;;;1\r\n");
    EXPECT_EQ(disk.files.at(kPath), "short;;;1\r\n") << "no bytes of the longer old file remain";
}

TEST(ReplaceFileContent, TheErrorNamesTheFileThatFailed) {
    FaultyDisk disk;
    disk.files[kPath] = kOld;
    disk.readOnly.insert(kPath);
    try {
        ReplaceFileContent(disk, kPath, "a;;;1\r\n");
        FAIL() << "no error raised";
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + kPath + "\". Access is denied.");
    }
    EXPECT_EQ(disk.files.at(kPath), kOld);
    EXPECT_EQ(disk.files.count(kFresh), 0u);
}
}  // namespace
