#include "win/platform_win32.h"

#include "win/error_box_win32.h"
#include "win/handles_win32.h"
#include "win/system_error_win32.h"

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FileMissing(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const DWORD code = ::GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

namespace {
[[noreturn]] void ThrowCannotCreate(const std::string& path, DWORD code) {
    throw EStreamError(CannotCreateFileMessage(path, SystemErrorText(code)));
}

class Win32FileWriter : public FileWriter {
public:
    Win32FileWriter(std::string path, UniqueFileHandle file) : path_(std::move(path)), file_(std::move(file)) {}

    void Write(const char* data, std::size_t size) override {
        DWORD written = 0;
        if (!::WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr))
            ThrowCannotCreate(path_, ::GetLastError());
        if (written != size) ThrowCannotCreate(path_, ERROR_DISK_FULL);
    }
    void SetSize(std::uint64_t size) override {
        LARGE_INTEGER here{}, end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        if (!::SetFilePointerEx(file_.get(), LARGE_INTEGER{}, &here, FILE_CURRENT) ||
            !::SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file_.get())) {
            const DWORD code = ::GetLastError();
            ::SetFilePointerEx(file_.get(), here, nullptr, FILE_BEGIN);
            ThrowCannotCreate(path_, code);
        }
        if (!::SetFilePointerEx(file_.get(), here, nullptr, FILE_BEGIN)) ThrowCannotCreate(path_, ::GetLastError());
    }
    void Flush() override {
        if (!::FlushFileBuffers(file_.get())) ThrowCannotCreate(path_, ::GetLastError());
    }

private:
    std::string path_;
    UniqueFileHandle file_;
};

std::unique_ptr<FileWriter> OpenWriter(const std::string& path, DWORD disposition) {
    UniqueFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowCannotCreate(path, ::GetLastError());
    return std::make_unique<Win32FileWriter>(path, std::move(file));
}
}  // namespace

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
    ReplaceFileContent(*this, path, content);
}

bool Win32FileSystem::Exists(const std::string& path) { return FileExists(path); }

std::string Win32FileSystem::ReadWhole(const std::string& path) { return ReadFile(path); }

std::unique_ptr<FileWriter> Win32FileSystem::CreateFresh(const std::string& path) {
    return OpenWriter(path, CREATE_ALWAYS);
}

std::unique_ptr<FileWriter> Win32FileSystem::OpenInPlace(const std::string& path) {
    return OpenWriter(path, OPEN_ALWAYS);
}

void Win32FileSystem::MoveOver(const std::string& from, const std::string& to) {
    if (!::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowCannotCreate(to, ::GetLastError());
}

void Win32FileSystem::RemoveQuietly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ::RemoveDirectoryA(path.c_str());
        return;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

int UserLocaleCollation::CompareIgnoringCase(const std::string& a, const std::string& b) {
    const int result = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                        b.data(), static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

std::optional<std::string> UserLocaleCollation::SortKey(const std::string& text) {
    if (text.empty()) return std::string();  // sorts before every other text, as in the comparison
    const int length = static_cast<int>(text.size());
    const int size = ::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(), length, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::string key(static_cast<size_t>(size), '\0');
    if (::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(), length, key.data(), size) != size)
        return std::nullopt;
    return key;
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
