#include "editor/choosers.h"

namespace {
// Sixteen steps up from the current directory: in practice the root of the
// current drive, where the lists to import and export are looked for.
std::string SixteenLevelsUp() {
    std::string path;
    for (int i = 0; i < 16; ++i) path += "..\\";
    return path;
}

constexpr const char* kListFilterName = "Listes Sonoraflux (*.zip)";
}  // namespace

FileDialogRequest PageDialogRequest(const ProgramFolder& folder) {
    return {FileDialogKind::Page, "Sélectionnez une page html jouant un \"Flumen\"", "Pages HTML (*.htm; *.html)",
            "*.htm;*.html", folder.Page("")};
}

FileDialogRequest IconDialogRequest(const ProgramFolder& folder) {
    return {FileDialogKind::Icon, "Choisissez une image (16x16 - *.bmp) pour illustrer votre \"Flumen\"",
            "Images 16x16 (*.bmp)", "*.bmp", folder.Image("")};
}

FileDialogRequest ImportDialogRequest() {
    return {FileDialogKind::Import, "Sélectionnez la liste à importer...", kListFilterName, "*.zip", SixteenLevelsUp()};
}

FileDialogRequest ExportDialogRequest() {
    return {FileDialogKind::Export, "Choisissez un dossier d'enregistrement pour exporter votre liste",
            kListFilterName, "*.zip", SixteenLevelsUp()};
}

std::string FileNamePart(const std::string& path) {
    // The system takes '/' for '\' in paths: a name holding either is no plain
    // name of the folder.
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::optional<std::string> NameInFolder(const std::string& folder, const std::string& chosenPath,
                                        ChooserServices& services) {
    const std::string name = FileNamePart(chosenPath);
    // "." and ".." name the folder and its parent, never a file in it.
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    if (!services.FileExists(folder + name)) return std::nullopt;
    return name;
}

namespace {
// The fields hold one line, and a line break would split the entry's line in
// the list file: dragged text that runs over several lines gives its first.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }
}  // namespace

void StartEntryFromDrop(ChooserFields& fields, const std::string& url, const std::string& title) {
    if (!url.empty()) {
        fields.SetAddressField(FirstLine(url));
        fields.SetTitleField(FirstLine(title));
        fields.SetIconChoice("", "");
    }
    fields.EnterAddingLook();
}

EditorChoosers::EditorChoosers(const ProgramFolder& folder, FileDialogs& dialogs, ChooserServices& services,
                               ChooserFields& fields)
    : folder_(folder), dialogs_(dialogs), services_(services), fields_(fields) {}

void EditorChoosers::SpeedButton3Click() {
    const FileDialogRequest request = PageDialogRequest(folder_);
    const std::optional<std::string> chosen = dialogs_.Show(request);
    if (!chosen) return;
    if (const auto name = NameInFolder(request.startFolder, *chosen, services_)) {
        fields_.SetAddressField(*name);
        return;
    }
    RefuseOutside(kPageOutsideWarning, request.startFolder);
}

void EditorChoosers::Image4Click() {
    const FileDialogRequest request = IconDialogRequest(folder_);
    const std::optional<std::string> chosen = dialogs_.Show(request);
    if (!chosen) return;
    if (const auto name = NameInFolder(request.startFolder, *chosen, services_)) {
        // The preview shows the file as chosen; an unreadable picture stops
        // here, before the name is taken.
        services_.CheckPicture(*chosen);
        fields_.SetIconChoice(*name, *chosen);
        return;
    }
    RefuseOutside(kIconOutsideWarning, request.startFolder);
}

void EditorChoosers::PngSpeedButton6Click() { ShowNotFinished(ImportDialogRequest()); }

void EditorChoosers::PngSpeedButton5Click() { ShowNotFinished(ExportDialogRequest()); }

void EditorChoosers::ShowNotFinished(const FileDialogRequest& request) {
    if (!dialogs_.Show(request)) return;
    services_.InformationBeep();
    services_.ShowWarning(kNotFinishedMessage);
}

void EditorChoosers::RefuseOutside(const char* warning, const std::string& folder) {
    services_.ExclamationBeep();
    services_.ShowWarning(warning + folder);
}
