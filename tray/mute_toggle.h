// The left click on the tray icon: mute or unmute the speakers, and show the
// muted or the normal image set. The sound is unmuted at every start, so the
// first click always mutes.
#pragma once

class MuteSwitch {
public:
    virtual ~MuteSwitch() = default;
    virtual void SetMute(bool mute) = 0;
};

class TrayImageSets {
public:
    virtual ~TrayImageSets() = default;
    // Gives the tray icon the muted or the normal set (cycling restarts at image 0).
    virtual void UseMutedSet(bool muted) = 0;
};

class MuteToggle {
public:
    MuteToggle(MuteSwitch& mixer, TrayImageSets& images) : mixer_(mixer), images_(images) {}

    bool MuteState() const { return muteState_; }

    void Toggle() {
        muteState_ = !muteState_;
        images_.UseMutedSet(muteState_);
        mixer_.SetMute(muteState_);
    }

private:
    MuteSwitch& mixer_;
    TrayImageSets& images_;
    bool muteState_ = false;
};
