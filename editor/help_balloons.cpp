#include "editor/help_balloons.h"

#include <stdexcept>

void HelpBalloons::Register(const HelpBalloonControl& control) {
    if (controls_.count(control.control))
        throw std::logic_error("help balloon registered twice: " + std::to_string(control.control));
    controls_[control.control] = Entry{control, !control.servedBySwitch || on_};
}

HelpBalloons::SwitchSound HelpBalloons::Switch() {
    on_ = !on_;
    for (auto& [key, entry] : controls_)
        if (entry.control.servedBySwitch) entry.flag = on_;
    return on_ ? SwitchSound::Information : SwitchSound::Exclamation;
}

const HelpBalloons::Entry* HelpBalloons::Find(int control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : &found->second;
}

bool HelpBalloons::Flag(int control) const {
    const Entry* entry = Find(control);
    return entry && entry->flag;
}

void HelpBalloons::SetFlag(int control, bool on) {
    const auto found = controls_.find(control);
    if (found != controls_.end()) found->second.flag = on;
}

void HelpBalloons::ControlEnabled(int control) {
    if (on_) SetFlag(control, true);
}

void HelpBalloons::PointerMoved(int control) {
    const Entry* entry = Find(control);
    if (!entry || entry->control.title.empty() || entry->control.title == title_) return;
    title_ = entry->control.title;
    picture_ = entry->control.picture;
}

std::optional<HelpBalloon> HelpBalloons::BalloonFor(int control) const {
    const Entry* entry = Find(control);
    if (!entry || !entry->flag) return std::nullopt;
    return HelpBalloon{title_, picture_, entry->control.hint};
}
