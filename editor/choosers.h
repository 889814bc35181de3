// Filling the editor's fields from outside the keyboard: a page chosen from
// "Pages", an icon chosen from "Images", an address dropped from a browser,
// and the import and export buttons, which only show their dialogs for now.
// An entry stores a file name only, so a chosen file counts when a file of
// that name lies directly in its folder. The dialogs, the beeps and the boxes
// go through small interfaces, so that tests can answer them.
#pragma once
#include <optional>
#include <string>

#include "list/program_folder.h"

inline constexpr const char* kPageOutsideWarning =
    "Ooops ! La page choisie doit obligatoirement se trouver dans le dossier\r\n";
inline constexpr const char* kIconOutsideWarning =
    "Ooops ! L'icône choisie doit obligatoirement se trouver dans le dossier\r\n";
// Begins with a line feed and a carriage return, in that order.
inline constexpr const char* kNotFinishedMessage = "\n\rOoops ! Désolé, cette fonction n'a pas encore été finalisée...";

enum class FileDialogKind { Page, Icon, Import, Export };

// One standard file dialog: what it asks, what it offers and where it opens.
struct FileDialogRequest {
    FileDialogKind kind;
    std::string title;
    std::string filterName;
    std::string patterns;
    std::string startFolder;
};

FileDialogRequest PageDialogRequest(const ProgramFolder& folder);
FileDialogRequest IconDialogRequest(const ProgramFolder& folder);
FileDialogRequest ImportDialogRequest();
FileDialogRequest ExportDialogRequest();

// The name part of a path: what follows its last separator.
std::string FileNamePart(const std::string& path);

// Shows a file dialog; the chosen path, or nothing when the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> Show(const FileDialogRequest& request) = 0;
};

// What the choosers need from the system besides the dialogs.
class ChooserServices {
public:
    virtual ~ChooserServices() = default;
    // True for an existing file; false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;
    virtual void ExclamationBeep() = 0;
    virtual void InformationBeep() = 0;
    // Modal box titled "Warning" with the warning icon and "OK".
    virtual void ShowWarning(const std::string& text) = 0;
    // Throws, with the picture layer's message, when the file is no picture
    // the program can show.
    virtual void CheckPicture(const std::string& path) = 0;
};

// The editor as the choosers and the drop see it.
class ChooserFields {
public:
    virtual ~ChooserFields() = default;
    virtual void SetAddressField(const std::string& address) = 0;
    virtual void SetTitleField(const std::string& title) = 0;
    // The icon-name holder and the preview's picture (empty: the default icon).
    virtual void SetIconChoice(const std::string& iconName, const std::string& picturePath) = 0;
    // Adding mode, fields untouched: "Ajouter", scroller, "Ecouter" and
    // "Supprimer" off, default icon in the preview, toggle hidden, wide title.
    virtual void EnterAddingLook() = 0;
};

// The name under which the chosen file is taken into folder, or nothing when
// no file of that name lies directly in the folder.
std::optional<std::string> NameInFolder(const std::string& folder, const std::string& chosenPath,
                                        ChooserServices& services);

// A dropped address starts a new entry, whatever the editor's mode: the
// address and its title replace the fields (the icon name is emptied); with
// no address the fields stay as they are. Either way the editor is then adding.
// Only the first line of a dragged text is taken.
void StartEntryFromDrop(ChooserFields& fields, const std::string& url, const std::string& title);

class EditorChoosers {
public:
    // All must outlive the choosers.
    EditorChoosers(const ProgramFolder& folder, FileDialogs& dialogs, ChooserServices& services,
                   ChooserFields& fields);

    void SpeedButton3Click();     // the page chooser beside the address field
    void Image4Click();           // the icon preview
    void PngSpeedButton6Click();  // "Importer..."
    void PngSpeedButton5Click();  // "Exporter..."

private:
    void ShowNotFinished(const FileDialogRequest& request);
    void RefuseOutside(const char* warning, const std::string& folder);

    const ProgramFolder& folder_;
    FileDialogs& dialogs_;
    ChooserServices& services_;
    ChooserFields& fields_;
};
