// A window's or control's whole text, however long: the length is asked first
// so that no fixed buffer cuts a long path short.
#pragma once
#include <windows.h>

#include <string>

inline std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}
