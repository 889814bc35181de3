#include "tray/autostart_win32.h"

#include "win/system_error_win32.h"
#include "win/error_box_win32.h"
#include "win/handles_win32.h"

namespace {
[[noreturn]] void Fail(const char* what, LONG code) {
    throw RegistryError(std::string(what) + ": " + SystemErrorText(static_cast<DWORD>(code)));
}

// Each step asks only the right it needs: a user who may read the Run key but
// not write it must still learn the state.
LONG OpenKey(HKEY root, const std::string& path, REGSAM access, UniqueRegKey& key) {
    return ::RegOpenKeyExA(root, path.c_str(), 0, access, key.put());
}
}  // namespace

Win32RunKey::Win32RunKey(HKEY root, std::string keyPath) : root_(root), keyPath_(std::move(keyPath)) {}

bool Win32RunKey::HasValue() {
    UniqueRegKey key;
    LONG r = OpenKey(root_, keyPath_, KEY_QUERY_VALUE, key);
    if (r == ERROR_FILE_NOT_FOUND) return false;
    if (r != ERROR_SUCCESS) Fail("RegOpenKeyEx", r);
    r = ::RegQueryValueExA(key.get(), kRunValueName, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) return true;
    if (r == ERROR_FILE_NOT_FOUND) return false;
    Fail("RegQueryValueEx", r);
}

void Win32RunKey::SetValue(const std::string& data) {
    UniqueRegKey key;
    LONG r = OpenKey(root_, keyPath_, KEY_SET_VALUE, key);
    if (r != ERROR_SUCCESS) Fail("RegOpenKeyEx", r);
    r = ::RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1));
    if (r != ERROR_SUCCESS) Fail("RegSetValueEx", r);
}

void Win32RunKey::DeleteValue() {
    UniqueRegKey key;
    LONG r = OpenKey(root_, keyPath_, KEY_SET_VALUE, key);
    if (r == ERROR_FILE_NOT_FOUND) return;
    if (r != ERROR_SUCCESS) Fail("RegOpenKeyEx", r);
    r = ::RegDeleteValueA(key.get(), kRunValueName);
    if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) Fail("RegDeleteValue", r);
}

void Win32AutostartFeedback::MakeSound(SystemSound sound) {
    switch (sound) {
        case SystemSound::Default: ::MessageBeep(0); break;
        case SystemSound::Information: ::MessageBeep(MB_ICONASTERISK); break;
        case SystemSound::Error: ::MessageBeep(MB_ICONHAND); break;
    }
}

void Win32AutostartFeedback::ShowWarning(const std::string& text) { ShowWarningDialog(owner_, text); }
