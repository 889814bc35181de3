// The choosers' system side: the standard open and save dialogs (the icon
// dialog with a preview of the selected picture), the beeps, the warning box
// and the picture check.
#pragma once
#include <windows.h>

#include "editor/choosers.h"

// Control of the icon dialog's preview, for whoever looks at the dialog.
inline constexpr int kIconPreviewControl = 0x5F10;

class Win32FileDialogs : public FileDialogs {
public:
    // The dialogs are owned by owner (modal to it).
    explicit Win32FileDialogs(HWND owner) : owner_(owner) {}
    std::optional<std::string> Show(const FileDialogRequest& request) override;

private:
    HWND owner_;
};

class Win32ChooserServices : public ChooserServices {
public:
    explicit Win32ChooserServices(HWND owner) : owner_(owner) {}
    bool FileExists(const std::string& path) override;
    void ExclamationBeep() override;
    void InformationBeep() override;
    void ShowWarning(const std::string& text) override;
    void CheckPicture(const std::string& path) override;

private:
    HWND owner_;
};
