// The Windows side of what the list needs: files through kernel32, the user's
// locale collation, and the plain message box.
#pragma once
#include <windows.h>

#include "base/platform.h"

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::string ReadFile(const std::string& path) override;
    void ReplaceFile(const std::string& path, const std::string& content) override;
};

class UserLocaleCollation : public Collation {
public:
    int CompareIgnoringCase(const std::string& a, const std::string& b) override;
};

class MessageBoxNotices : public UserNotices {
public:
    void ShowPlainMessage(const std::string& text) override;
};

// Full path of the running executable's folder, with its trailing backslash.
std::string ExecutableFolder();
std::string ExecutablePath();
