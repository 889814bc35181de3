// The Run key in the real registry, and the real sounds and warning dialog.
#pragma once
#include <windows.h>

#include "tray/autostart.h"

class Win32RunKey : public RunKey {
public:
    // The key under HKEY_CURRENT_USER; tests give another root path.
    explicit Win32RunKey(HKEY root = HKEY_CURRENT_USER, std::string keyPath = kRunKeyPath);

    bool HasValue() override;
    void SetValue(const std::string& data) override;
    void DeleteValue() override;

private:
    HKEY root_;
    std::string keyPath_;
};

class Win32AutostartFeedback : public AutostartFeedback {
public:
    explicit Win32AutostartFeedback(HWND owner) : owner_(owner) {}
    void MakeSound(SystemSound sound) override;
    void ShowWarning(const std::string& text) override;

private:
    HWND owner_;
};
