// What the list needs from the platform: files, the user's collation and the
// plain message box. The Windows versions live in list_platform_win32.*; tests
// use doubles.
#pragma once
#include <optional>
#include <string>

#include "base/file_error.h"

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True for an existing file; false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;
    // True only when nothing is there to read: no such file or path, or a
    // folder. A check that failed otherwise (no access, a device error) says
    // nothing of the file, which may well be there.
    virtual bool FileMissing(const std::string& path) { return !FileExists(path); }
    // The whole file; throws EStreamError with CannotOpenFileMessage when it
    // cannot be opened or read to its end.
    virtual std::string ReadFile(const std::string& path) = 0;
    // Replaces the file's content so that a failure leaves the old bytes (see
    // base/file_replace.h); EStreamError with CannotCreateFileMessage naming the
    // file that failed.
    virtual void ReplaceFile(const std::string& path, const std::string& content) = 0;
};

class Collation {
public:
    virtual ~Collation() = default;
    // <0, 0, >0 as a sorts before, with, after b in the user's locale, case ignored.
    virtual int CompareIgnoringCase(const std::string& a, const std::string& b) = 0;
    // A key whose byte order is the order of CompareIgnoringCase, when the
    // collation can give one: a long list is then sorted without a locale
    // comparison per step.
    virtual std::optional<std::string> SortKey(const std::string&) { return std::nullopt; }
};

class UserNotices {
public:
    virtual ~UserNotices() = default;
    // Modal box titled "Sonoraflux" with the text and one "OK", no icon.
    virtual void ShowPlainMessage(const std::string& text) = 0;
};
