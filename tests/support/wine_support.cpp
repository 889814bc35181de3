#include "tests/support/wine_support.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/little_endian.h"
#include "win/dialog_keys_win32.h"
#include "win/window_text_win32.h"

namespace wine_support {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(20, timeoutMs - elapsed), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

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

std::vector<int> TabWalk(HWND window, int from) {
    std::vector<int> ids;
    HWND start = ::GetDlgItem(window, from);
    for (HWND at = start; at && ids.size() < 100;) {
        ids.push_back(::GetDlgCtrlID(at));
        at = ::GetNextDlgTabItem(window, at, FALSE);
        if (at == start) break;
    }
    return ids;
}

void PressKey(WPARAM key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{::GetFocus(), message, key, message == WM_KEYUP ? 0xC0000001 : 1};
        if (HandleDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    PumpFor(50);
}

namespace {
std::string ClassName(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}
}  // namespace

std::string ControlName(HWND control) {
    if (::lstrcmpiA(ClassName(control).c_str(), "Edit") != 0) return WindowText(control);
    HWND label = ::GetWindow(control, GW_HWNDPREV);
    return label && ::lstrcmpiA(ClassName(label).c_str(), "Static") == 0 ? WindowText(label) : std::string();
}

std::string UnixPathOf(const std::string& windowsPath) {
    if (windowsPath.rfind("Z:", 0) != 0) return {};
    std::string path = windowsPath.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string MakeTempFolder(const std::string& prefix) {
    // Under the bench folder, on the Unix side, so that Unix tools reach it too.
    const std::string base = WindowsPathOf(Env("SONORAFLUX_BENCH", "/tmp") + "/tmp/");
    ::CreateDirectoryA(base.c_str(), nullptr);
    static unsigned counter = 0;
    for (;;) {
        std::string folder = base + prefix + std::to_string(::GetCurrentProcessId()) + "_" +
                             std::to_string(++counter) + "\\";
        if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RunUnixShell("rm -rf '" + UnixPathOf(path_) + "'");
}

std::string CopyProgramFolder() {
    const std::string source = Env("SONORAFLUX_PROGRAM_DIR");
    std::string target = MakeTempFolder("sonoraflux_");
    if (source.empty() || target.empty()) return {};
    const std::string unixTarget = UnixPathOf(target);
    if (RunUnixShell("cp -r '" + source + "/.' '" + unixTarget + "'") != 0) return {};
    return target;
}

namespace {
// The closer of this thread that the timer serves (a thread timer has no context).
thread_local ErrorBoxCloser* currentCloser = nullptr;

std::string BoxMessage(HWND box) {
    char text[1024] = {};
    // The message box's text is its static control 0xFFFF.
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
}  // namespace

ErrorBoxCloser::ErrorBoxCloser() : timer_(::SetTimer(nullptr, 0, 50, CloseErrorBoxes)), previous_(currentCloser) {
    currentCloser = this;
}

ErrorBoxCloser::~ErrorBoxCloser() {
    ::KillTimer(nullptr, timer_);
    currentCloser = previous_;
}

VOID CALLBACK ErrorBoxCloser::CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD) {
    ErrorBoxCloser* self = currentCloser;
    if (!self) return;
    // A box can open inside another's loop (an error in a notification the
    // first box's loop dispatched): the first one, once told to close, is
    // hidden but lives on until the second closes, so every visible box of
    // this thread is closed, not just the first one found.
    std::erase_if(self->seen_, [](HWND box) { return !::IsWindow(box); });
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND box, LPARAM closer) -> BOOL {
            char className[16] = {}, title[32] = {};
            ::GetClassNameA(box, className, sizeof className);
            ::GetWindowTextA(box, title, sizeof title);
            if (std::string(className) != "#32770" || std::string(title) != "Sonoraflux" || !::IsWindowVisible(box))
                return TRUE;
            auto* owner = reinterpret_cast<ErrorBoxCloser*>(closer);
            // The close is posted: the same box can still be there at the next tick.
            if (owner->seen_.insert(box).second) owner->closed_.push_back(BoxMessage(box));
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(self));
}

namespace {
ModalScript* currentScript = nullptr;
}  // namespace

ModalScript::ModalScript(std::function<bool()> step) : step_(std::move(step)) {
    currentScript = this;
    timer_ = ::SetTimer(nullptr, 0, 100, Tick);
}

ModalScript::~ModalScript() {
    ::KillTimer(nullptr, timer_);
    currentScript = nullptr;
}

VOID CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = currentScript;
    if (!self || self->done_ || self->running_) return;
    self->running_ = true;
    self->done_ = self->step_();
    self->running_ = false;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return true;
}

PlayingTone::PlayingTone(int seconds, int hz) {
    if (folder_.Path().empty()) return;
    file_ = UnixPathOf(folder_.Path()) + "tone.wav";
    started_ = RunUnixShell("sox -n -r 44100 -c 2 -b 16 '" + file_ + "' synth " + std::to_string(seconds) + " sine " +
                            std::to_string(hz) + " vol 0.5") == 0 &&
               RunUnixShell("paplay -d radio '" + file_ + "' >/dev/null 2>&1 </dev/null & echo $! > '" + file_ +
                            ".pid'") == 0;
    // The sound server takes a moment to start the stream.
    if (started_) PumpFor(500);
}

PlayingTone::~PlayingTone() {
    // The player's id is checked first, as a player that has ended leaves
    // its id free for any other process.
    if (started_)
        RunUnixShell("p=$(cat '" + file_ + ".pid'); grep -qF '" + file_ + "' /proc/$p/cmdline 2>/dev/null && kill $p; true");
}

Tone MeasureTone(const std::string& wav) {
    Tone tone;
    size_t at = 12, dataStart = 0, dataSize = 0;
    uint32_t rate = 0, blockAlign = 0;
    while (at + 8 <= wav.size()) {
        const std::string id = wav.substr(at, 4);
        const uint32_t size = ReadLe32(wav, at + 4);
        if (id == "fmt " && at + 22 <= wav.size()) {
            rate = ReadLe32(wav, at + 12);
            blockAlign = ReadLe16(wav, at + 20);
        } else if (id == "data") {
            dataStart = at + 8;
            dataSize = std::min<size_t>(size, wav.size() - dataStart);
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (!rate || !blockAlign || !dataStart) return tone;
    const size_t frames = dataSize / blockAlign;
    tone.seconds = static_cast<double>(frames) / rate;
    std::vector<int> left(frames);
    for (size_t f = 0; f < frames; ++f) left[f] = static_cast<int16_t>(ReadLe16(wav, dataStart + f * blockAlign));
    size_t first = 0, last = frames;
    while (first < frames && std::abs(left[first]) < 2000) ++first;
    while (last > first && std::abs(left[last - 1]) < 2000) --last;
    size_t firstCrossing = 0, lastCrossing = 0, crossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
        if (left[i - 1] < 0 && left[i] >= 0) {
            if (crossings++ == 0) firstCrossing = i;
            lastCrossing = i;
        }
    }
    if (crossings > 1) tone.hz = (crossings - 1) * static_cast<double>(rate) / (lastCrossing - firstCrossing);
    return tone;
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

std::string SmallBitmapFile() {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const DWORD pixels = 16 * 16 * 3;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixels;
    info.biSize = sizeof info;
    info.biWidth = info.biHeight = 16;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) bytes += (x + y) % 4 < 2 ? std::string("\x20\x40\xE0", 3) : std::string("\xF0\xC0\x30", 3);
    return bytes;
}

ResourceProbe ProbeResources() {
    ResourceProbe probe;
    ::GetProcessHandleCount(::GetCurrentProcess(), &probe.handles);
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    probe.handleSlot = reinterpret_cast<uintptr_t>(event);
    ::CloseHandle(event);
    probe.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (probe.gdiObjects == 0) {
        for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot)
            if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++probe.gdiObjects;
    }
    probe.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (probe.userObjects == 0) {
        const DWORD self = ::GetCurrentProcessId();
        for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot) {
            const auto window = reinterpret_cast<HWND>(slot);
            DWORD owner = 0;
            if (::IsMenu(reinterpret_cast<HMENU>(slot)) ||
                (::IsWindow(window) && ::GetWindowThreadProcessId(window, &owner) && owner == self))
                ++probe.userObjects;
        }
    }
    return probe;
}

std::string ResourcesGrownBy(int times, const std::function<void()>& once) {
    for (int i = 0; i < 5; ++i) once();
    const ResourceProbe before = ProbeResources();
    for (int i = 0; i < times; ++i) once();
    const ResourceProbe after = ProbeResources();
    std::string grown;
    if (after.handles > before.handles || after.handleSlot > before.handleSlot) grown += "kernel handles ";
    constexpr unsigned kNoise = 8;
    if (after.gdiObjects > before.gdiObjects + kNoise) grown += "GDI objects ";
    if (after.userObjects > before.userObjects + kNoise) grown += "USER objects ";
    if (!before.handleSlot || !before.gdiObjects) grown += "(no probe) ";
    return grown;
}

}  // namespace wine_support
