// Start at logon: the string value "Sonoraflux" under the per-user Run key
// holds the executable's path while it is on.
#pragma once
#include <stdexcept>
#include <string>

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value "Sonoraflux" of HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
// The key is only ever opened, never created. Only a missing key or value is
// an answer; a key that exists but cannot be opened says nothing about the
// value, which Windows may still start the program from.
class RunKey {
public:
    virtual ~RunKey() = default;
    // False when the key or the value is missing; throws RegistryError on any
    // other failure.
    virtual bool HasValue() = 0;
    // Throws RegistryError when the key cannot be opened or the value not written.
    virtual void SetValue(const std::string& data) = 0;
    // A missing value (or key) is nothing to do; throws RegistryError otherwise.
    virtual void DeleteValue() = 0;
};

enum class SystemSound { Default, Information, Error };

// System sounds and the warning dialog ("Warning", warning icon, "OK").
class AutostartFeedback {
public:
    virtual ~AutostartFeedback() = default;
    virtual void MakeSound(SystemSound sound) = 0;
    virtual void ShowWarning(const std::string& text) = 0;
};

inline constexpr const char* kRunValueName = "Sonoraflux";
inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
extern const char* const kStartupRegistryWarning;
extern const char* const kToggleRegistryWarning;

// The Run value's data: the path, in double quotes when it holds a space, so
// that Windows cannot start "C:\Program.exe" for "C:\Program Files\...".
std::string RunValueFor(const std::string& executablePath);

class Autostart {
public:
    Autostart(RunKey& key, AutostartFeedback& feedback, std::string executablePath);

    bool State() const { return state_; }
    // The menu item's caption after a switch ("Activé" before any switch).
    const char* Caption() const { return caption_; }

    // Reads the state at start-up; a registry failure is told and leaves the
    // state as it was (off).
    void ReadAtStartup();
    // Switches on or off. When the registry step fails the warning is told and
    // the state and caption stay as they were: the item must not claim a
    // switch the registry did not make.
    void Toggle();

private:
    void SwitchOn();
    void SwitchOff();

    RunKey& key_;
    AutostartFeedback& feedback_;
    std::string executablePath_;
    bool state_ = false;
    const char* caption_;
};
