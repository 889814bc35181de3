// The save dialog "Enregistrer sous..." of the recorder: MP3 or WAV, the name
// "Flumen" at first and the last chosen path afterwards; picking another file
// type rewrites the extension of the name in the file-name box.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "recorder/recorder_session.h"

inline constexpr const char* kSaveDialogTitle = "Enregistrer sous...";
// Pairs of description and pattern, each ended by a NUL, the list by a second NUL.
inline constexpr char kSaveDialogFilter[] = "Fichiers MP3 (*.mp3)\0*.mp3\0Fichiers Wave (*.wav)\0*.wav\0";
inline constexpr int kFileNameBoxId = 0x480;    // edt1
inline constexpr int kFileNameComboId = 0x47c;  // cmb13

class SaveTargetDialog : public TargetDialog {
public:
    // songTitle: the song that plays, proposed as the name when there is one.
    explicit SaveTargetDialog(HWND owner, std::function<std::string()> songTitle = {})
        : owner_(owner), songTitle_(std::move(songTitle)) {}

    std::optional<std::string> AskTarget(const std::string& initialFolder) override;

    // The dialog's type-change step: the file-name box's text rewritten for
    // the new type (dialog: the dialog window, not the hook's child).
    static void RewriteNameForType(HWND dialog, int fileType);

private:
    HWND owner_;
    std::function<std::string()> songTitle_;
    std::string lastPath_ = "Flumen";
};
