#include "win/platform_win32.h"

#include "win/error_box_win32.h"
#include "win/handles_win32.h"
#include "win/system_error_win32.h"

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32FileSystem::ReadFile(const std::string& path) {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EStreamError(CannotOpenFileMessage(path, SystemErrorText(::GetLastError())));
    std::string content;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        // A read that fails part way is an error like a failed open: a short
        // list must never load as if it were the whole file.
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr))
            throw EStreamError(CannotOpenFileMessage(path, SystemErrorText(::GetLastError())));
        if (read == 0) return content;
        content.append(chunk, read);
    }
}

void Win32FileSystem::ReplaceFile(const std::string& path, const std::string& content) {
    // The new content goes into a file beside the old one, which is replaced
    // only once the new file is complete: a failure never costs the user the list.
    const std::string fresh = path + ".new";
    const auto fail = [&](DWORD code) {
        ::DeleteFileA(fresh.c_str());
        throw EStreamError(CannotCreateFileMessage(path, SystemErrorText(code)));
    };
    {
        UniqueFileHandle file(::CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw EStreamError(CannotCreateFileMessage(path, SystemErrorText(::GetLastError())));
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        if (!ok || written != content.size()) {
            const DWORD code = ok ? ERROR_DISK_FULL : ::GetLastError();
            file.reset();
            fail(code);
        }
        if (!::FlushFileBuffers(file.get())) {
            const DWORD code = ::GetLastError();
            file.reset();
            fail(code);
        }
    }
    if (!::MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(::GetLastError());
}

int UserLocaleCollation::CompareIgnoringCase(const std::string& a, const std::string& b) {
    const int result = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                        b.data(), static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

void MessageBoxNotices::ShowPlainMessage(const std::string& text) { ::ShowPlainMessage(nullptr, text); }

std::string ExecutablePath() {
    char path[MAX_PATH * 2];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

std::string ExecutableFolder() {
    const std::string path = ExecutablePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}
