#include "app/browser_mode_win32.h"

#include "win/handles_win32.h"
#include "win/platform_win32.h"

void AskForTheModernBrowserMode(const std::string& exeName, HKEY root, const std::string& keyPath) {
    UniqueRegKey key;
    if (::RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return;
    if (::RegQueryValueExA(key.get(), exeName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND)
        return;
    const DWORD mode = kBrowserEmulationMode;
    ::RegSetValueExA(key.get(), exeName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
}

std::string ExecutableName() {
    const std::string path = ExecutablePath();
    return path.substr(path.find_last_of("\\/") + 1);
}
