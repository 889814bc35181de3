#include "rotation/rotation.h"

namespace {
// Enabling a timer that already runs must not push its tick back.
void EnableOnce(RotationTimer& timer) {
    if (!timer.Enabled()) timer.SetEnabled(true);
}

// Hides the host however the navigation ends.
class ShownHost {
public:
    explicit ShownHost(RotationServices& services) : services_(services) { services_.ShowBrowserHost(); }
    ShownHost(const ShownHost&) = delete;
    ShownHost& operator=(const ShownHost&) = delete;
    ~ShownHost() { services_.HideBrowserHost(); }

private:
    RotationServices& services_;
};
}  // namespace

std::string JingleAddress(const std::string& path) { return "file:///" + path; }

Rotation::Rotation(const ProgramFolder& folder, FileSystem& files, RotationServices& services, JinglePicker& picker,
                   RotationTimers timers)
    : folder_(folder), files_(files), services_(services), picker_(picker), timers_(timers) {
    timers_.playJingle.SetInterval(kJingleDelayMs);
    timers_.playSecondEntry.SetInterval(kSecondEntryDelayMs);
    timers_.silenceJingle.SetInterval(kSilenceDelayMs);
    timers_.playJingle.SetOnTimer([this] { PlayJingle(); });
    timers_.playSecondEntry.SetOnTimer([this] { PlaySecondEntry(); });
    timers_.silenceJingle.SetOnTimer([this] { SilenceJingle(); });
}

void Rotation::ChooseJingle() {
    const std::optional<std::string> chosen = picker_.PickJinglePage(folder_.TransitionFolder());
    if (!chosen || !files_.FileExists(*chosen)) return;
    jingle_ = *chosen;
}

void Rotation::ListenToJingle() {
    ShownHost shown(services_);
    if (JingleExists()) services_.FirstBrowser().Navigate(JingleAddress(jingle_));
}

void Rotation::StartSequence() { EnableOnce(timers_.playJingle); }

void Rotation::StopSequence() {
    for (RotationTimer* timer : {&timers_.playJingle, &timers_.playSecondEntry, &timers_.silenceJingle})
        timer->SetEnabled(false);
}

// Each step stops its own timer first: a step that fails (a refused
// navigation reaches the error box) must not come back every interval.
void Rotation::PlayJingle() {
    timers_.playJingle.SetEnabled(false);
    EnableOnce(timers_.playSecondEntry);
    EnableOnce(timers_.silenceJingle);
    ShownHost shown(services_);
    if (JingleExists()) services_.SecondBrowser().Navigate(JingleAddress(jingle_));
}

// With fewer than two entries there is no second item: nothing plays, and
// nothing is reported, as nothing was asked of the user.
void Rotation::PlaySecondEntry() {
    timers_.playSecondEntry.SetEnabled(false);
    if (services_.ListMenuItemCount() > kSequenceItem) services_.PlayMenuItem(kSequenceItem);
}

void Rotation::SilenceJingle() {
    timers_.silenceJingle.SetEnabled(false);
    services_.SecondBrowser().Navigate("about:blank");
}

bool Rotation::JingleExists() { return !jingle_.empty() && files_.FileExists(jingle_); }
