#include "tests/support/scratch_files_win32.h"

#include <windows.h>

#include <cstdio>

#include "tests/support/unix_side_win32.h"

namespace wine_support {

std::string MakeTempFolder(const std::string& prefix) {
    // Under the bench folder, on the Unix side, so that Unix tools reach it too.
    const std::string base = WindowsPathOf(Env("SONORAFLUX_BENCH", "/tmp") + "/tmp/");
    ::CreateDirectoryA(base.c_str(), nullptr);
    static unsigned counter = 0;
    for (;;) {
        std::string folder = base + prefix + std::to_string(::GetCurrentProcessId()) + "_" +
                             std::to_string(++counter) + "\\";
        if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RunUnixShell("rm -rf '" + UnixPathOf(path_) + "'");
}

std::string CopyProgramFolder() {
    const std::string source = Env("SONORAFLUX_PROGRAM_DIR");
    std::string target = MakeTempFolder("sonoraflux_");
    if (source.empty() || target.empty()) return {};
    const std::string unixTarget = UnixPathOf(target);
    if (RunUnixShell("cp -r '" + source + "/.' '" + unixTarget + "'") != 0) return {};
    return target;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return true;
}

std::string SmallBitmapFile() {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const DWORD pixels = 16 * 16 * 3;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixels;
    info.biSize = sizeof info;
    info.biWidth = info.biHeight = 16;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) bytes += (x + y) % 4 < 2 ? std::string("\x20\x40\xE0", 3) : std::string("\xF0\xC0\x30", 3);
    return bytes;
}

}  // namespace wine_support
