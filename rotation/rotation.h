// What the rotation window does, without the window: the jingle choice, the
// preview in the first browser, and the one-shot sequence that "OK" starts
// (the jingle in the second browser at 7 s, the list's second entry at 9 s,
// the jingle silenced at 12 s). The minutes and seconds of the window's bars
// are shown and used nowhere: the rotation itself is not built.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "base/platform.h"
#include "list/program_folder.h"
#include "playback/browser.h"

// A timer that ticks every interval while enabled; the program's timers and
// the tests' clock both answer it.
class RotationTimer {
public:
    virtual ~RotationTimer() = default;
    virtual void SetInterval(unsigned milliseconds) = 0;
    virtual void SetOnTimer(std::function<void()> onTimer) = 0;
    // Enabling (re)starts the interval from now; disabling stops the ticks.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

// What the rotation needs from the program: the browser host with its two
// browsers, and the items of "Ma liste".
class RotationServices {
public:
    virtual ~RotationServices() = default;
    // The host stands off-screen; it is shown only while a navigation starts.
    virtual void ShowBrowserHost() = 0;
    virtual void HideBrowserHost() = 0;
    // Plays the entries (and the jingle preview).
    virtual Browser& FirstBrowser() = 0;
    // Plays the jingle between entries.
    virtual Browser& SecondBrowser() = 0;
    // Items of "Ma liste", hidden entries counted.
    virtual int ListMenuItemCount() = 0;
    // Plays item `item` of "Ma liste" exactly as if the user had chosen it.
    virtual void PlayMenuItem(int item) = 0;
};

// The open dialog for a jingle page.
class JinglePicker {
public:
    virtual ~JinglePicker() = default;
    // Shows the dialog starting in `startFolder`; the chosen full path, or
    // nothing when the user cancels.
    virtual std::optional<std::string> PickJinglePage(const std::string& startFolder) = 0;
};

struct RotationTimers {
    RotationTimer& playJingle;       // 7 s after "OK"
    RotationTimer& playSecondEntry;  // 2 s after the jingle
    RotationTimer& silenceJingle;    // 5 s after the jingle
};

inline constexpr unsigned kJingleDelayMs = 7000;
inline constexpr unsigned kSecondEntryDelayMs = 2000;
inline constexpr unsigned kSilenceDelayMs = 5000;
// The item of "Ma liste" that the sequence plays: the list's second entry.
inline constexpr int kSequenceItem = 1;

// "file:///" followed directly by the full path, backslashes kept.
std::string JingleAddress(const std::string& path);

class Rotation {
public:
    // Binds the timers' ticks to the sequence's steps; everything passed in
    // must outlive this object.
    Rotation(const ProgramFolder& folder, FileSystem& files, RotationServices& services, JinglePicker& picker,
             RotationTimers timers);

    // The jingle chooser: a file that exists when the dialog closes becomes
    // the jingle (any folder) and enables "OK"; otherwise nothing changes.
    void ChooseJingle();
    // The listen image: the jingle in the first browser, replacing the entry
    // that plays; nothing when the jingle is not chosen or no longer exists.
    void ListenToJingle();
    // "OK": the sequence starts unless its first step is still waiting.
    void StartSequence();
    // Drops every step still to come; the program ends with this, so that no
    // step can reach a browser or a tray icon that is gone.
    void StopSequence();

    // The full path of the chosen jingle; empty until one is chosen.
    const std::string& Jingle() const { return jingle_; }
    // Once a jingle is chosen "OK" stays enabled.
    bool CanStart() const { return !jingle_.empty(); }

private:
    void PlayJingle();
    void PlaySecondEntry();
    void SilenceJingle();
    bool JingleExists();

    const ProgramFolder& folder_;
    FileSystem& files_;
    RotationServices& services_;
    JinglePicker& picker_;
    RotationTimers timers_;
    std::string jingle_;
};
