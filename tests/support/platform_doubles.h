// Doubles of the platform interfaces of base/platform.h, for every test:
// files in memory (with failures on demand), a plain ASCII case-insensitive
// collation, and recorded notices.
#pragma once
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "base/platform.h"

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    bool failReplace = false;
    bool failRead = false;
    int replaceCalls = 0;

    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    std::string ReadFile(const std::string& path) override {
        if (failRead || !files.count(path)) throw EStreamError(CannotOpenFileMessage(path, "Access is denied."));
        return files.at(path);
    }
    void ReplaceFile(const std::string& path, const std::string& content) override {
        ++replaceCalls;
        if (failReplace) throw EStreamError(CannotCreateFileMessage(path, "Access is denied."));
        files[path] = content;
    }
};

class AsciiCollation : public Collation {
public:
    int CompareIgnoringCase(const std::string& a, const std::string& b) override {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
            const int ca = std::tolower(static_cast<unsigned char>(a[i]));
            const int cb = std::tolower(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca - cb;
        }
        return static_cast<int>(a.size()) - static_cast<int>(b.size());
    }
};

class RecordedNotices : public UserNotices {
public:
    std::vector<std::string> shown;
    void ShowPlainMessage(const std::string& text) override { shown.push_back(text); }
};
