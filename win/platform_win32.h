// The Windows side of what the list needs: files through kernel32, the user's
// locale collation, and the plain message box.
#pragma once
#include <windows.h>

#include "base/file_replace.h"
#include "base/platform.h"

// Files through kernel32; a replace goes through ReplaceFileContent's steps.
class Win32FileSystem : public FileSystem, private FileReplaceSteps {
public:
    bool FileExists(const std::string& path) override;
    bool FileMissing(const std::string& path) override;
    std::string ReadFile(const std::string& path) override;
    void ReplaceFile(const std::string& path, const std::string& content) override;

private:
    bool Exists(const std::string& path) override;
    std::string ReadWhole(const std::string& path) override;
    std::unique_ptr<FileWriter> CreateFresh(const std::string& path) override;
    std::unique_ptr<FileWriter> OpenInPlace(const std::string& path) override;
    void MoveOver(const std::string& from, const std::string& to) override;
    void RemoveQuietly(const std::string& path) override;
};

class UserLocaleCollation : public Collation {
public:
    int CompareIgnoringCase(const std::string& a, const std::string& b) override;
    std::optional<std::string> SortKey(const std::string& text) override;
};

class MessageBoxNotices : public UserNotices {
public:
    void ShowPlainMessage(const std::string& text) override;
};

// Full path of the running executable's folder, with its trailing backslash.
std::string ExecutableFolder();
std::string ExecutablePath();
