// Files and folders a test makes and reads: scratch folders on the bench,
// a private copy of the program folder, whole files as bytes.
#pragma once
#include <string>

namespace wine_support {

// A fresh, empty folder under the bench's temporary area (Windows path, with a
// trailing backslash), removed by the caller's choice.
std::string MakeTempFolder(const std::string& prefix);

// A fresh folder from MakeTempFolder, removed with its content at the end of
// the scope; Path() is empty when it could not be made.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) : path_(MakeTempFolder(prefix)) {}
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Copies the staged program folder (Sonoraflux.exe, its DLLs and subfolders)
// into a fresh temporary folder and returns that folder (trailing backslash).
std::string CopyProgramFolder();

// A 16x16 picture file in the system's BMP format, 24 bits per pixel.
std::string SmallBitmapFile();

// Writes bytes to a file (Windows path); returns false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Reads a whole file; returns false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace wine_support
