#include "audio/wave_file_stream_win32.h"

#include <algorithm>

#include "win/system_error_win32.h"

FileByteStream::FileByteStream(const std::string& fileName)
    : file_(::CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) {
        const DWORD error = ::GetLastError();
        throw EStreamError(CannotCreateFileMessage(fileName, SystemErrorText(error)));
    }
}

int64_t FileByteStream::Seek(int64_t offset, SeekOrigin origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    const DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(file_.get(), distance, &position, method))
        throw EStreamError(SystemErrorText(::GetLastError()));
    return position.QuadPart;
}

int32_t FileByteStream::Read(void* buffer, int32_t count) {
    DWORD read = 0;
    if (count <= 0 || !::ReadFile(file_.get(), buffer, static_cast<DWORD>(count), &read, nullptr)) return 0;
    return static_cast<int32_t>(read);
}

int32_t FileByteStream::Write(const void* buffer, int32_t count) {
    DWORD written = 0;
    if (count <= 0 || !::WriteFile(file_.get(), buffer, static_cast<DWORD>(count), &written, nullptr)) return 0;
    return static_cast<int32_t>(written);
}

void FileByteStream::SetSize(int64_t size) {
    const int64_t position = Seek(0, SeekOrigin::Current);
    Seek(size, SeekOrigin::Begin);
    if (!::SetEndOfFile(file_.get())) throw EStreamError(SystemErrorText(::GetLastError()));
    Seek(std::min(position, size), SeekOrigin::Begin);
}
