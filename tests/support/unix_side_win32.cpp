#include "tests/support/unix_side_win32.h"

#include <cstdlib>
#include <vector>

#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"

namespace wine_support {

std::string WindowsPathOf(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Env(const char* name, const std::string& fallback) {
    char buffer[4096];
    DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return fallback;
    return std::string(buffer, n);
}

int RunUnixShell(const std::string& command, DWORD timeoutMs) {
    // Wine starts a Unix program given by its Unix path, but gives no handle to
    // it: the command leaves its exit code in a marker file, which we wait for.
    // What Wine puts in PROCESS_INFORMATION then is whatever its stack held, so
    // it is never closed: that closed handles of ours at random, once the
    // program's own standard output, and the rest of the run went unseen.
    static unsigned counter = 0;
    const std::string marker = Env("SONORAFLUX_BENCH", "/tmp") + "/run-" + std::to_string(::GetCurrentProcessId()) +
                               "-" + std::to_string(++counter) + ".rc";
    const std::string markerWin = WindowsPathOf(marker);
    ::DeleteFileA(markerWin.c_str());
    // The command goes to the shell in a file: Wine's command-line parsing
    // would otherwise mangle quotes, backslashes and dollars.
    const std::string script = marker + ".sh";
    if (!WriteFileBytes(WindowsPathOf(script), "(" + command + ")\necho $? > '" + marker + ".part' && mv '" + marker +
                                                   ".part' '" + marker + "'\n"))
        return -1;
    const std::string line = "/bin/sh " + script;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    if (!PumpUntil([&] { return ::GetFileAttributesA(markerWin.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs))
        return -1;
    std::string rc;
    ReadFileBytes(markerWin, rc);
    ::DeleteFileA(markerWin.c_str());
    ::DeleteFileA(WindowsPathOf(script).c_str());
    return std::atoi(rc.c_str());
}

std::string SaveScreenshot(const std::string& name) {
    const std::string dir = Env("SONORAFLUX_E2E_DIR");
    const std::string display = Env("DISPLAY");
    if (dir.empty() || display.empty()) return {};
    const std::string target = dir + "/" + name;
    const std::string command = "mkdir -p '" + dir + "' && xwd -root -silent -display " + display +
                                " | convert xwd:- png:'" + target + "'";
    return RunUnixShell(command) == 0 ? target : std::string();
}

std::string UnixPathOf(const std::string& windowsPath) {
    if (windowsPath.rfind("Z:", 0) != 0) return {};
    std::string path = windowsPath.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string StartWebServer(const std::string& folder, std::string& log) {
    if (RunUnixShell("cd '" + UnixPathOf(folder) +
                     "' && (timeout 60 python3 -u -m http.server 0 --bind 127.0.0.1 > server.log 2>&1 &)") != 0)
        return {};
    std::string port;
    PumpUntil(
        [&] {
            ReadFileBytes(folder + "server.log", log);
            const size_t at = log.find(" port ");
            if (at == std::string::npos) return false;
            port = log.substr(at + 6, log.find(' ', at + 6) - at - 6);
            return true;
        },
        10000);
    return port;
}

}  // namespace wine_support
