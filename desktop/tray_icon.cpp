#include "desktop/tray_icon.h"

#include <algorithm>

namespace {
// Copies at most size - 1 characters and zero-fills the rest, so the shell
// always finds a terminated string and no stale text behind it.
template <std::size_t N>
void CopyCut(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}
}  // namespace

void TrayNotifyRecord::SetTip(std::string_view hint, bool showHint) { CopyCut(tip, showHint ? hint : std::string_view{}); }

void TrayNotifyRecord::ClearBalloon() {
    flags |= kInfoFlag;
    info.fill('\0');
}

void TrayNotifyRecord::SetBalloon(std::string_view title, std::string_view text, BalloonIconKind kind,
                                  std::uint8_t timeoutSeconds) {
    flags |= kInfoFlag;
    CopyCut(info, text);
    CopyCut(infoTitle, title);
    // Not clamped: the shell applies its own limits.
    timeoutMs = timeoutSeconds * 1000u;
    infoFlags = static_cast<std::uint32_t>(kind);
}

TrayMouseActions TrayClickDetector::Handle(std::uint32_t mouseMessage, const Settings& settings) {
    TrayMouseActions actions;
    if (!settings.enabled) {
        // A press seen before the icon was disabled must not complete into a
        // click after it is enabled again.
        clickStarted_ = false;
        return actions;
    }
    switch (static_cast<TrayMouseMessage>(mouseMessage)) {
    case TrayMouseMessage::LeftDown:
        clickStarted_ = true;
        actions.popup = settings.leftPopup && settings.hasPopupMenu;
        break;
    case TrayMouseMessage::LeftUp:
        actions.click = clickStarted_;
        clickStarted_ = false;
        break;
    case TrayMouseMessage::LeftDoubleClick:
        actions.doubleClick = true;
        actions.clickDefaultItem = settings.hasPopupMenu && !settings.leftPopup;
        break;
    case TrayMouseMessage::RightDown:
        actions.popup = settings.hasPopupMenu;
        break;
    default:
        break;
    }
    return actions;
}

int ClampIconIndex(int requested, int imageCount) {
    if (imageCount <= 0) return 0;
    return std::clamp(requested, 0, imageCount - 1);
}

int NextCycleIndex(int current, int imageCount) {
    if (imageCount <= 0 || current >= imageCount - 1) return 0;
    return std::max(current + 1, 0);
}
