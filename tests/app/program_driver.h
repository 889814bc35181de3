// Runs the real Sonoraflux.exe from a private copy of the program folder and
// watches it from outside, as a user (or the shell) would: its windows, the
// notification area of Wine's shell, balloons, the keyboard.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace program_driver {

class RunningProgram {
public:
    // Starts folder + "Sonoraflux.exe" with the folder as current directory,
    // and with extra environment entries ("NAME=value") when given.
    explicit RunningProgram(const std::string& folder, const std::vector<std::string>& extraEnvironment = {});
    // Created with its first thread suspended; Resume lets it run, so that many
    // copies can be let go at the same moment.
    struct Suspended {};
    RunningProgram(const std::string& folder, Suspended);
    void Resume();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    // Ends the program if it still runs.
    ~RunningProgram();

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Process() const { return process_; }
    // Waits (pumping messages) for the process to end; fills its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    // The hidden main window, once created.
    HWND MainWindow() const;
    bool WaitForMainWindow(DWORD timeoutMs) const;
    // The program's hidden window that the shell reports tray mouse activity to.
    HWND TrayCallbackWindow() const;
    // As the shell does for the program's first tray icon.
    void SendTrayMouse(UINT mouseMessage) const;

private:
    void Start(const std::string& folder, const std::vector<std::string>& extraEnvironment, DWORD flags);

    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;  // kept only while suspended
    DWORD pid_ = 0;
};

// Top-level window of the process with that class (and title, when given).
HWND FindProcessWindow(DWORD pid, const char* className, const char* title = nullptr);
// Number of top-level windows of that class in the process.
int CountProcessWindows(DWORD pid, const char* className);
// Icons in Wine's notification area.
int CountTrayIcons();
// A balloon shown by the shell: a visible tooltip window that is not the program's.
HWND VisibleBalloon();
// The control that has the keyboard focus in the thread of that window, as
// another process sees it (GetGUIThreadInfo); null when none.
HWND FocusedControl(HWND window);
// Its control id; 0 when the window itself or nothing has the focus.
int FocusedControlId(HWND window);
// The bench's display has no window manager and leaves the keyboard to the
// window under the pointer: the pointer goes to a corner of the window's
// client area (where no control lies in the program's windows), so that the
// keys then reach the focused control of the active window.
bool PointKeysAt(HWND window);
// Sends keys with xdotool (e.g. "Escape") to the focused window.
bool PressKeys(const std::string& keys);
// Types text (plain ASCII) with xdotool into the focused window.
bool TypeText(const std::string& text);
// Presses a key (a virtual key) from another Wine process with SendInput: the
// input Wine itself receives, which its hot keys see, unlike X display input.
bool PressKeyFromAnotherProgram(WORD virtualKey);

// The real mouse, through xdotool: moves to a screen point and clicks there
// with button 1 (left) or 3 (right); button 0 only moves.
bool ClickAt(POINT point, int button);
// Moves the pointer to the bottom right corner, away from the tray and menus.
void ParkPointer();
// Screen rectangle of the first icon in Wine's notification area.
bool TrayIconRect(RECT& area);
// The pixels of the first icon's place in the notification area, to see whether it animates.
std::string TrayIconPixels();
// The visible popup menus of the process, the newest (an open submenu) first.
std::vector<HWND> VisibleMenus(DWORD pid);
// The captions of an open menu as read on the screen, from the top.
std::vector<std::string> ReadMenuCaptions(HWND menu);
// Chooses an item of the tray menu the way a person does: a right click on the
// icon, then for each caption of the path (e.g. {"Ma liste", "FIP"}) the item
// read on the screen with that caption is clicked (a submenu's item opens it).
// Fails with a message naming what was not found.
::testing::AssertionResult ChooseTrayMenuItem(const RunningProgram& program, const std::vector<std::string>& path);
// Reads text in a screen rectangle with OCR (French); empty when unavailable.
std::string ReadScreenText(const RECT& area);

}  // namespace program_driver
