// Help balloons: when the pointer rests on a control, one balloon (owned by the
// main window, shared by every window of the program) shows a title with a small
// picture and the control's hint. Each window registers its controls here; the
// switch images turn the balloons of all served controls on and off together.
#pragma once
#include <map>
#include <optional>
#include <string>

// Numbers of the balloon title pictures (thirteen 16x16 pictures, in this order).
namespace balloon_pictures {
enum : int {
    kInfo = 0,
    kList,
    kNew,
    kSave,
    kDelete,
    kCancel,
    kExport,
    kImport,
    kSpeaker,
    kFolder,
    kFolderChecked,
    kDigits,
    kFolderDisc,
    kCount
};
}  // namespace balloon_pictures

struct HelpBalloonControl {
    int control = 0;        // key, unique across the program (a control id)
    std::string title;      // set when the pointer moves over the control; empty: the
                            // control keeps whatever title was set last
    int picture = 0;        // number of the title picture
    std::string hint;       // the balloon's body text
    bool servedBySwitch = true;  // false for the switch images: their balloon is always on
};

struct HelpBalloon {
    std::string title;
    int picture = 0;
    std::string hint;
    bool operator==(const HelpBalloon&) const = default;
};

class HelpBalloons {
public:
    enum class SwitchSound { Exclamation, Information };

    // Adds a control; its balloon starts on only when the switch does not serve it
    // (or, for a served control, when the balloons are on). A key used twice throws.
    void Register(const HelpBalloonControl& control);
    bool IsRegistered(int control) const { return controls_.count(control) > 0; }

    // helpBalloonsOn: off at start, not saved.
    bool On() const { return on_; }

    // The switch images: flips helpBalloonsOn and the balloons of every served
    // control; returns the sound to make (exclamation when switching off).
    SwitchSound Switch();

    bool Flag(int control) const;
    void SetFlag(int control, bool on);
    // A control becomes enabled again: its balloon comes back when the switch is on.
    void ControlEnabled(int control);

    // The pointer moved over a control: it takes over the title and picture,
    // unless the title is already its own. Unregistered keys change nothing.
    void PointerMoved(int control);
    const std::string& Title() const { return title_; }
    int Picture() const { return picture_; }

    // The balloon to show when the pointer rests on the control; none while its
    // flag is cleared or for an unregistered key.
    std::optional<HelpBalloon> BalloonFor(int control) const;

private:
    struct Entry {
        HelpBalloonControl control;
        bool flag = false;
    };
    const Entry* Find(int control) const;

    std::map<int, Entry> controls_;
    bool on_ = false;
    std::string title_;
    int picture_ = 0;
};
