// The rules of the notification-area icon that do not depend on the shell:
// what goes into the notify record, how the shell's mouse reports become
// clicks and popups, and how the icon walks through its image list.
// The Win32 component copies the record into the shell's own structure.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

enum class BalloonIconKind : std::uint32_t { None = 0, Info = 1, Warning = 2, Error = 3 };

// The text part of the shell's notify record. Flag values and field sizes are
// the shell's, so the Win32 side copies them unchanged.
struct TrayNotifyRecord {
    static constexpr std::uint32_t kMessageFlag = 0x01;
    static constexpr std::uint32_t kIconFlag = 0x02;
    static constexpr std::uint32_t kTipFlag = 0x04;
    static constexpr std::uint32_t kInfoFlag = 0x10;
    static constexpr std::uint32_t kStandardFlags = kMessageFlag | kIconFlag | kTipFlag;

    std::uint32_t flags = kStandardFlags;
    std::array<char, 128> tip{};
    std::array<char, 256> info{};
    std::array<char, 64> infoTitle{};
    std::uint32_t timeoutMs = 0;
    std::uint32_t infoFlags = 0;

    // The first 127 characters of the hint; no tooltip at all when the hint
    // is empty or hidden.
    void SetTip(std::string_view hint, bool showHint);

    // Marks the next update as one that removes the balloon.
    void ClearBalloon();

    // Marks the next update as one that shows this balloon.
    void SetBalloon(std::string_view title, std::string_view text, BalloonIconKind kind, std::uint8_t timeoutSeconds);

    // After a balloon update: later updates must not show it again.
    void EndBalloon() { flags = kStandardFlags; }
};

// The shell's mouse reports for the icon (the window messages' own numbers).
enum class TrayMouseMessage : std::uint32_t {
    Move = 0x200,
    LeftDown = 0x201,
    LeftUp = 0x202,
    LeftDoubleClick = 0x203,
    RightDown = 0x204,
    RightUp = 0x205,
    MiddleDown = 0x207,
    MiddleUp = 0x208,
};

// What the component does in answer to one mouse report.
struct TrayMouseActions {
    bool click = false;
    bool doubleClick = false;
    bool popup = false;
    bool clickDefaultItem = false;

    bool operator==(const TrayMouseActions&) const = default;
};

// Turns mouse reports into clicks. A click is a left press then release on
// the icon; the second press of a double-click comes as a double-click report,
// so its release gives no second click.
class TrayClickDetector {
public:
    struct Settings {
        bool enabled = true;
        bool leftPopup = false;
        bool hasPopupMenu = false;
    };

    TrayMouseActions Handle(std::uint32_t mouseMessage, const Settings& settings);

private:
    bool clickStarted_ = false;
};

// The index shown for a requested one: clamped into the list, 0 without images.
int ClampIconIndex(int requested, int imageCount);

// The index after a cycling tick: the next image, or 0 after the last.
int NextCycleIndex(int current, int imageCount);
