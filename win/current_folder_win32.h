// The process's current folder, put back when the object goes. Every file
// dialog runs inside one: the dialogs move the current folder to wherever the
// user browses (the open dialogs even with OFN_NOCHANGEDIR), and Windows will
// not rename or remove a folder that a process holds as its current one.
#pragma once
#include <windows.h>

#include <string>

class ScopedCurrentFolder {
public:
    ScopedCurrentFolder() {
        const DWORD size = ::GetCurrentDirectoryA(0, nullptr);
        folder_.resize(size);
        const DWORD length = size ? ::GetCurrentDirectoryA(size, folder_.data()) : 0;
        // Zero, or a folder grown between the two calls: nothing to put back.
        folder_.resize(length < size ? length : 0);
    }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;
    ~ScopedCurrentFolder() {
        if (!folder_.empty()) ::SetCurrentDirectoryA(folder_.c_str());
    }

private:
    std::string folder_;
};
