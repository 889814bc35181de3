// The Unix side of the bench, as a test under Wine reaches it: paths between
// the two sides, the bench's environment, Unix commands, screenshots of the
// display and a small web server.
#pragma once
#include <windows.h>

#include <string>

namespace wine_support {

// A Unix path (as the bench passes them) as Wine sees it: "Z:\..." with backslashes.
std::string WindowsPathOf(const std::string& unixPath);

// A "Z:\..." path as a Unix path; empty for any other drive.
std::string UnixPathOf(const std::string& windowsPath);

// Environment value, or fallback when unset.
std::string Env(const char* name, const std::string& fallback = "");

// Runs a command with the Unix shell (Wine starts Unix programs given by Unix
// path); returns its exit code, or -1 when it could not start.
int RunUnixShell(const std::string& command, DWORD timeoutMs = 60000);

// Writes a PNG of the whole virtual screen to <e2e dir>/<name>; returns the
// Unix path written, or an empty string on failure.
std::string SaveScreenshot(const std::string& name);

// A web server on 127.0.0.1 serving the folder (Windows path); returns its
// port, empty when it could not start, and leaves its output in log. Port 0
// lets it pick a free port, which it names in its first line; it ends itself
// after a minute, so nothing outlives the test.
std::string StartWebServer(const std::string& folder, std::string& log);

}  // namespace wine_support
