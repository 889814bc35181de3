// Helpers for tests that run under Wine: bounded waits that pump messages,
// the bench's folders, screenshots, and Unix commands run from the test.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace wine_support {

// Pumps this thread's messages until done() is true or timeoutMs passes;
// returns done()'s last answer. Never a bare sleep.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Pumps messages for about ms milliseconds.
void PumpFor(DWORD ms);

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

// A fresh, empty folder under the bench's temporary area (Windows path, with a
// trailing backslash), removed by the caller's choice.
std::string MakeTempFolder(const std::string& prefix);

// A fresh folder from MakeTempFolder, removed with its content at the end of
// the scope; Path() is empty when it could not be made.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) : path_(MakeTempFolder(prefix)) {}
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Copies the staged program folder (Sonoraflux.exe, its DLLs and subfolders)
// into a fresh temporary folder and returns that folder (trailing backslash).
std::string CopyProgramFolder();

// While it lives, closes every error box titled "Sonoraflux" that this thread
// opens (from a timer of the thread, since the box runs its own loop), and
// keeps the text of each box it closed, so a test can tell that a box came.
class ErrorBoxCloser {
public:
    ErrorBoxCloser();
    ErrorBoxCloser(const ErrorBoxCloser&) = delete;
    ErrorBoxCloser& operator=(const ErrorBoxCloser&) = delete;
    ~ErrorBoxCloser();

    // The message of every box closed so far, in order.
    const std::vector<std::string>& Closed() const { return closed_; }

private:
    static VOID CALLBACK CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD);

    UINT_PTR timer_;
    std::set<HWND> seen_;
    std::vector<std::string> closed_;
    ErrorBoxCloser* previous_;
};

// While it lives, a timer of this thread calls step every 100 ms until step
// reports that it is done; a modal loop opened meanwhile (a dialog, a message
// box) dispatches the timer, so step can look at the box and close it. The
// step never runs inside itself. One at a time per thread.
class ModalScript {
public:
    explicit ModalScript(std::function<bool()> step);
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    ~ModalScript();
    bool Done() const { return done_; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::function<bool()> step_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
    bool running_ = false;
};

// What grows when something leaks. Wine counts neither handles nor GDI or
// USER objects per process (GetProcessHandleCount and GetGuiResources give
// 0), so the probe reads the slot a new kernel handle gets (the lowest free
// one), and counts the process's GDI objects, menus and windows by their
// slots: Wine takes a handle with no generation in its upper half as its
// slot's object. With no leak they stay put.
struct ResourceProbe {
    DWORD handles = 0;
    uintptr_t handleSlot = 0;
    unsigned gdiObjects = 0;
    unsigned userObjects = 0;
};
ResourceProbe ProbeResources();

// Runs once five times (first-time allocations are not leaks), then times
// more between two probes; returns what grew ("kernel handles", "GDI
// objects", "USER objects"), empty when nothing did. The counts may move by a
// few with no leak (Wine's own caches): a leak of one object in every cycle
// moves them by the count of cycles, so times should be 20 or more.
std::string ResourcesGrownBy(int times, const std::function<void()>& once);

// A tone played into the bench's sound card (the null sink "radio", whose
// monitor is the default capture source) while the object lives.
class PlayingTone {
public:
    PlayingTone(int seconds, int hz);
    PlayingTone(const PlayingTone&) = delete;
    PlayingTone& operator=(const PlayingTone&) = delete;
    ~PlayingTone();
    bool Started() const { return started_; }

private:
    ScratchFolder folder_{"tone_"};
    std::string file_;
    bool started_ = false;
};

// What a 16-bit WAV holds: the data chunk's length, and the left channel's
// tone by its rising zero crossings between the first and last loud samples
// (0 when there is none).
struct Tone {
    double seconds = 0;
    double hz = 0;
};
Tone MeasureTone(const std::string& wav);

// A web server on 127.0.0.1 serving the folder (Windows path); returns its
// port, empty when it could not start, and leaves its output in log. Port 0
// lets it pick a free port, which it names in its first line; it ends itself
// after a minute, so nothing outlives the test.
std::string StartWebServer(const std::string& folder, std::string& log);

// A 16x16 picture file in the system's BMP format, 24 bits per pixel.
std::string SmallBitmapFile();

// The ids of the controls that Tab walks (GetNextDlgTabItem, as the dialog
// keys do), from the control `from` round the window until it comes back.
std::vector<int> TabWalk(HWND window, int from);

// A key pressed and let go on the control that has the focus, through the
// program's message loop (the dialog keys first); then pumps a little.
void PressKey(WPARAM key);

// The name a screen reader gives a control: its window text, or for a text
// field, whose text is its content, the static text just before it in the
// tab order.
std::string ControlName(HWND control);

// Writes bytes to a file (Windows path); returns false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Reads a whole file; returns false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace wine_support
