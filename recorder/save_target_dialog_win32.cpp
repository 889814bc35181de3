#include "recorder/save_target_dialog_win32.h"

#include <commdlg.h>

#include <vector>

#include "recorder/song_file_name.h"
#include "win/current_folder_win32.h"
#include "win/error_box_win32.h"

namespace {

// The hook of an explorer-style dialog is a child of the dialog; the dialog's
// own messages go to its parent.
UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lp);
    if (notify->hdr.code == CDN_TYPECHANGE)
        GuardedCall([&] { SaveTargetDialog::RewriteNameForType(::GetParent(hook), notify->lpOFN->nFilterIndex); });
    return 0;
}

}  // namespace

void SaveTargetDialog::RewriteNameForType(HWND dialog, int fileType) {
    char typedName[MAX_PATH + 1] = {};
    if (::SendMessageA(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(typedName)) < 0) typedName[0] = '\0';
    const std::string name = NameForFileType(typedName, fileType);
    // Explorer-style dialogs show the name in a combo box (cmb13); the plain
    // edit box (edt1) only exists in the older layout, and a text sent to a
    // control that is not there would be lost.
    const int box = ::GetDlgItem(dialog, kFileNameComboId) ? kFileNameComboId : kFileNameBoxId;
    ::SendMessageA(dialog, CDM_SETCONTROLTEXT, box, reinterpret_cast<LPARAM>(name.c_str()));
}

std::optional<std::string> SaveTargetDialog::AskTarget(const std::string& initialFolder) {
    std::vector<char> file(MAX_PATH + 1, '\0');
    const std::string songPath = songTitle_ ? ProposedSongPath(lastPath_, songTitle_()) : std::string();
    const std::string& proposed = songPath.empty() ? lastPath_ : songPath;
    proposed.copy(file.data(), std::min(proposed.size(), static_cast<size_t>(MAX_PATH)));

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = kSaveDialogFilter;
    ofn.nFilterIndex = kMp3FileType;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = initialFolder.c_str();
    ofn.lpstrTitle = kSaveDialogTitle;
    ofn.lpstrDefExt = "mp3";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER |
                OFN_ENABLEHOOK;
    ofn.lpfnHook = SaveDialogHook;
    ScopedCurrentFolder keep;
    if (!::GetSaveFileNameA(&ofn)) return std::nullopt;
    lastPath_ = file.data();
    return lastPath_;
}
