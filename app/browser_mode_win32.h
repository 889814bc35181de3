// The browser control runs in its oldest document mode (no <audio>, no
// stream opened directly) unless the program's executable is named under
// FEATURE_BROWSER_EMULATION. 11000 lets each page's DOCTYPE choose, so old
// station pages keep the mode they were written for. The control reads the
// value when it is created.
#pragma once
#include <windows.h>

#include <string>

inline constexpr const char* kBrowserEmulationKey =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
inline constexpr DWORD kBrowserEmulationMode = 11000;

// Writes the value named exeName when there is none; a value found (the
// user's) stays as it is. Nothing is reported: without it the program plays
// as it always did.
void AskForTheModernBrowserMode(const std::string& exeName, HKEY root = HKEY_CURRENT_USER,
                                const std::string& keyPath = kBrowserEmulationKey);

// The file name of the running executable ("Sonoraflux.exe").
std::string ExecutableName();
