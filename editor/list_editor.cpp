#include "editor/list_editor.h"

#include <algorithm>

#include "editor/editor_controls.h"

using namespace editor_controls;

ListEditor::ListEditor(StreamList& list, EditorServices& services, EditorView& view, HelpBalloons& balloons)
    : list_(list), services_(services), view_(view), balloons_(balloons) {}

void ListEditor::RegisterBalloons() {
    namespace pic = balloon_pictures;
    const HelpBalloonControl controls[] = {
        {kNew, "Nouveau", pic::kNew, "Ajoute manuellement un nouveau \"Flumen\""},
        {kSave, "Ajouter / Enregistrer", pic::kSave, "Valide les changements effectués"},
        {kDelete, "Supprimer", pic::kDelete, "Supprime le \"Flumen\" seléctionné"},
        {kCancel, "Annuler", pic::kCancel, "Ferme la fenêtre sans valider les modifications"},
        {kExport, "Exporter", pic::kExport, "Exporte votre liste (fichier *.zip)"},
        {kImport, "Importer", pic::kImport, "(fichier *.zip) S'ajoute à la liste actuelle"},
        {kToggle, "Liste", pic::kList, "Affiche / Masque le \"Flumen\" dans le menu"},
        {kScroller, "Défilement", pic::kInfo, "Fais défiler la liste des \"Flumens\""},
        {kTitleField, "Titre", pic::kInfo, "Titre qui sera affiché dans le menu"},
        {kAddressField, "Page / Adresse", pic::kInfo, "Nom de la page ou de l'adresse internet"},
        {kIconPreview, "Choix image", pic::kInfo, "Sélectionne l'image qui sera affichée dans le menu"},
        {kListen, "Ecouter", pic::kSpeaker, "Joue le \"Flumen\" sélectionné"},
        {kPageChooser, "Choix Page", pic::kFolder, "Sélectionne une page jouant un \"Flumen\""},
        {kAuthorLink, kAuthorName, pic::kInfo, "Site internet de l'auteur"},
        {kBalloonSwitch, "Bulles d'aide", pic::kInfo, "Active / désactive les bulles d'aide", false},
    };
    for (const auto& control : controls) balloons_.Register(control);
}

void ListEditor::SetInitialLook() {
    look_.iconPicture.clear();
    look_.toggleShownGlyph = list_.Row(0).shownInMenu == "1";
    if (list_.RowCount() == 1) look_.scrollerEnabled = false;
    if (list_.IsEmptyList()) {
        look_.titleWidth = kTitleWidthWide;
        look_.saveEnabled = false;
        look_.deleteEnabled = false;
        look_.toggleVisible = false;
    }
    look_.position = 0;
    FollowListSize();
    Show();
}

void ListEditor::PrepareOpening() {
    if (list_.IsEmptyList()) {
        look_.saveEnabled = false;
        look_.titleWidth = kTitleWidthWide;
    }
    Show();
}

void ListEditor::FormShow() {
    look_.position = std::min(look_.position, list_.RowCount() - 1);
    ShowRow(look_.position, true);
    Show();
}

void ListEditor::FormHide() {
    look_.saveCaption = kSaveCaption;
    Enable(look_.newEnabled, kNew);
    Enable(look_.listenEnabled, kListen);
    if (balloons_.On()) {
        balloons_.SetFlag(kScroller, true);
        if (look_.deleteEnabled) balloons_.SetFlag(kDelete, true);
    }
    services_.LoadStreamList();
    RefreshEditor();
}

void ListEditor::ShowCurrentEntry() {
    ShowRow(look_.position, false);
    look_.toggleShownGlyph = list_.Row(look_.position).shownInMenu == "1";
    Show();
}

void ListEditor::CommitFields() {
    StreamEntry& row = list_.Row(look_.position);
    row.title = look_.title;
    row.address = look_.address;
    row.iconFile = look_.iconName;
}

void ListEditor::RefreshEditor() {
    if (list_.RowCount() > 1)
        Enable(look_.scrollerEnabled, kScroller);
    else
        look_.scrollerEnabled = false;
    if (!list_.IsEmptyList()) {
        Enable(look_.deleteEnabled, kDelete);
        look_.titleWidth = kTitleWidthNarrow;
        look_.toggleVisible = true;
    } else {
        look_.saveEnabled = false;
        look_.deleteEnabled = false;
        look_.titleWidth = kTitleWidthWide;
        look_.toggleVisible = false;
    }
    look_.position = 0;
    FollowListSize();
    ShowRow(0, false);
    services_.RebuildListMenu();
    look_.toggleShownGlyph = list_.Row(0).shownInMenu == "1";
    Show();
}

void ListEditor::ScrollerStep(int delta) {
    if (!look_.scrollerEnabled) return;
    CommitFields();
    const int target = look_.position + delta;
    // At either end of its range the scroller does not move.
    if (target < 0 || target > look_.scrollerMax) return;
    const int lastRow = list_.RowCount() - 1;
    if (target > lastRow) {
        look_.position = lastRow;
        Show();
        return;
    }
    look_.position = target;
    ShowCurrentEntry();
}

void ListEditor::ToggleClick() {
    if (!look_.toggleVisible) return;
    std::string& shown = list_.Row(look_.position).shownInMenu;
    shown = shown == "1" ? "0" : "1";
    look_.toggleShownGlyph = shown == "1";
    Show();
}

void ListEditor::NewClick() {
    if (!look_.newEnabled) return;
    look_.address.clear();
    look_.title.clear();
    look_.iconName.clear();
    EnterAddingLook();
    for (int control : {kScroller, kListen, kDelete, kNew}) balloons_.SetFlag(control, false);
    look_.newEnabled = false;
    Show();
}

void ListEditor::EnterAddingLook() {
    look_.saveCaption = kAddCaption;
    look_.scrollerEnabled = false;
    look_.listenEnabled = false;
    look_.deleteEnabled = false;
    look_.iconPicture.clear();
    look_.toggleVisible = false;
    look_.titleWidth = kTitleWidthWide;
    Enable(look_.saveEnabled, kSave);
    Show();
}

void ListEditor::SaveClick() {
    if (!look_.saveEnabled) return;
    if (Adding()) {
        // One non-empty field is enough; spaces count as text.
        if (FieldsEmpty()) {
            services_.InformationBeep();
            services_.ShowWarning(kNothingTypedWarning);
            return;
        }
        AddNewEntry();
    } else {
        SaveList();
    }
}

bool ListEditor::FieldsEmpty() const {
    return look_.address.empty() && look_.title.empty() && look_.iconName.empty();
}

// The new entry joins the list in memory only; "Enregistrer" writes it.
void ListEditor::AddNewEntry() {
    Enable(look_.newEnabled, kNew);
    if (!list_.IsEmptyList()) list_.AppendRow();
    StreamEntry& row = list_.Row(list_.RowCount() - 1);
    row = StreamEntry{look_.title, look_.address, look_.iconName, "1"};
    Enable(look_.deleteEnabled, kDelete);
    Enable(look_.scrollerEnabled, kScroller);
    Enable(look_.listenEnabled, kListen);
    FollowListSize();
    look_.position = list_.RowCount() - 1;
    look_.toggleShownGlyph = true;
    look_.saveCaption = kSaveCaption;
    look_.titleWidth = kTitleWidthNarrow;
    look_.toggleVisible = true;
    Show();
}

// The fields go into the entry shown, the list into the file; the hiding that
// ends the command reloads the list, which then comes back sorted.
void ListEditor::SaveList() {
    StreamEntry& row = list_.Row(look_.position);
    const bool keepPlaceholder = list_.IsEmptyList() && look_.title.empty();
    row.title = keepPlaceholder ? kEmptyListTitle : look_.title;
    row.address = look_.address;
    row.iconFile = look_.iconName;
    services_.SaveStreamList();
    Enable(look_.scrollerEnabled, kScroller);
    Enable(look_.listenEnabled, kListen);
    RefreshEditor();
    Enable(look_.newEnabled, kNew);
    // The hiding comes last, so that the look after it is the one the reload
    // sets (the title width and toggle of an empty list included).
    look_.saveCaption = kSaveCaption;
    Show();
    view_.HideWindow();
}

void ListEditor::DeleteClick() {
    if (!look_.deleteEnabled) return;
    if (list_.RowCount() > 1) {
        list_.RemoveStreamEntry(look_.position);
        if (look_.position > list_.RowCount() - 1) --look_.position;
        FollowListSize();
        ShowCurrentEntry();
        return;
    }
    list_.Row(0) = StreamEntry{kEmptyListTitle, "", "", "1"};
    look_.iconPicture.clear();
    look_.titleWidth = kTitleWidthWide;
    look_.title.clear();
    look_.address.clear();
    look_.iconName.clear();
    look_.saveCaption = kSaveCaption;
    look_.deleteEnabled = false;
    Show();
}

void ListEditor::CancelClick() {
    if (!Adding()) {
        Enable(look_.newEnabled, kNew);
        Show();
        view_.HideWindow();
        return;
    }
    look_.saveCaption = kSaveCaption;
    look_.toggleVisible = true;
    Enable(look_.scrollerEnabled, kScroller);
    Enable(look_.listenEnabled, kListen);
    if (list_.Row(look_.position).title != kEmptyListTitle) {
        look_.titleWidth = kTitleWidthNarrow;
        Enable(look_.deleteEnabled, kDelete);
    } else {
        look_.titleWidth = kTitleWidthWidest;
    }
    ShowRow(look_.position, true);
    look_.toggleShownGlyph = list_.Row(look_.position).shownInMenu == "1";
    Enable(look_.newEnabled, kNew);
    Show();
}

void ListEditor::ListenClick() {
    if (!look_.listenEnabled) return;
    // Unsaved edits, adds and deletes leave the menu behind the rows, even
    // where the counts agree: it is rebuilt first, so that the entry shown is
    // the one that plays.
    services_.RebuildListMenu();
    services_.PlayMenuItem(look_.position);
}

void ListEditor::BalloonSwitchClick() {
    if (balloons_.Switch() == HelpBalloons::SwitchSound::Information)
        services_.InformationBeep();
    else
        services_.ExclamationBeep();
}

void ListEditor::SetAddressField(const std::string& address) {
    look_.address = address;
    Show();
}

void ListEditor::SetTitleField(const std::string& title) {
    look_.title = title;
    Show();
}

void ListEditor::SetIconChoice(const std::string& iconName, const std::string& picturePath) {
    look_.iconName = iconName;
    look_.iconPicture = picturePath;
    Show();
}

void ListEditor::UrlDropTarget1Drop(const std::string& url, const std::string& title) {
    StartEntryFromDrop(*this, url, title);
}

void ListEditor::FollowListSize() {
    look_.scrollerMax = std::min(list_.RowCount() - 1, kScrollerLimit);
}

void ListEditor::ShowRow(int row, bool vacantAsEmpty) {
    const StreamEntry& entry = list_.Row(row);
    look_.title = vacantAsEmpty && entry.title == kEmptyListTitle ? std::string() : entry.title;
    look_.address = entry.address;
    look_.iconName = entry.iconFile;
    look_.iconPicture = services_.ExistingIconPath(entry.iconFile);
}

void ListEditor::Enable(bool& state, int control) {
    state = true;
    balloons_.ControlEnabled(control);
}
