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
// The key is only ever opened, never created.
class RunKey {
public:
    virtual ~RunKey() = default;
    // False when the value is absent or the key cannot be opened; throws
    // RegistryError when reading fails otherwise.
    virtual bool HasValue() = 0;
    // Throws RegistryError when the key cannot be opened or the value not written.
    virtual void SetValue(const std::string& data) = 0;
    // A missing value (or key) is no error; throws RegistryError otherwise.
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

    // Reads the state at start-up; a registry failure is told and leaves it off.
    void ReadAtStartup();
    // Switches on or off. The state flips even when the registry step failed:
    // the warning says the operation may not have been carried out.
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
