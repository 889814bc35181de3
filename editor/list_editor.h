// The list editor's behaviour, free of the platform: it shows one entry of the
// list at a time, steps through the entries, edits, adds and deletes them in
// memory, and writes the list file only on "Enregistrer". Every hiding of the
// window reloads the list from the file, so unsaved changes never outlive it.
// The window is a thin shell: it shows EditorLook and reports the user's acts.
#pragma once
#include <string>

#include "editor/choosers.h"
#include "editor/help_balloons.h"
#include "list/stream_list.h"

inline constexpr const char* kSaveCaption = "Enregistrer";
inline constexpr const char* kAddCaption = "Ajouter";
inline constexpr const char* kNothingTypedWarning =
    "Ooops ! Vous n'avez rien indiqué dans les cases !\r\nRemplissez-les ou cliquez sur \"Annuler\"...";

// The author, whose web site the link under the fields opens.
inline constexpr const char* kAuthorName = "Lucien Ferrand";
inline constexpr const char* kAuthorAddress = "https://www.sonoraflux.fr/auteur/";
inline constexpr const char* kAuthorLinkText = "www.sonoraflux.fr";
inline constexpr const char* kCreditLine = "Conçu par :";

// Widths of the title field: beside the toggle, beside the frame of a hidden
// toggle, and over the toggle.
inline constexpr int kTitleWidthNarrow = 105;
inline constexpr int kTitleWidthWide = 129;
inline constexpr int kTitleWidthWidest = 153;
// The scroller's position is a 16-bit number.
inline constexpr int kScrollerLimit = 32767;

// Everything the editor shows, as the window should display it.
struct EditorLook {
    std::string title;        // title field
    std::string address;      // address field
    std::string iconName;     // icon-name holder (never visible)
    std::string iconPicture;  // full path of the icon preview's picture; empty: the default icon
    bool toggleShownGlyph = true;
    bool toggleVisible = true;
    int titleWidth = kTitleWidthNarrow;
    std::string saveCaption = kSaveCaption;
    int position = 0;         // the scroller: the row shown
    int scrollerMax = 0;      // the scroller's range is 0..scrollerMax
    bool scrollerEnabled = true;
    bool listenEnabled = true;
    bool deleteEnabled = true;
    bool saveEnabled = true;
    bool newEnabled = true;

    bool operator==(const EditorLook&) const = default;
};

// What the editor asks of the rest of the program.
class EditorServices {
public:
    virtual ~EditorServices() = default;
    // The list file: load replaces the list (sorted), save writes it (throws on failure).
    virtual void LoadStreamList() = 0;
    virtual void SaveStreamList() = 0;
    // "Ma liste" rebuilt from the list in memory; item i belongs to row i.
    virtual void RebuildListMenu() = 0;
    virtual int ListMenuItemCount() = 0;
    // Plays item i of "Ma liste" as if the user had chosen it in the tray menu.
    virtual void PlayMenuItem(int item) = 0;
    // Full path of the icon file of an entry when that file exists, else empty.
    virtual std::string ExistingIconPath(const std::string& iconFile) = 0;
    // MessageBeep(MB_ICONASTERISK) / MessageBeep(MB_ICONEXCLAMATION).
    virtual void InformationBeep() = 0;
    virtual void ExclamationBeep() = 0;
    // Modal box titled "Warning" with the warning icon and "OK".
    virtual void ShowWarning(const std::string& text) = 0;
};

// The window as the editor sees it.
class EditorView {
public:
    virtual ~EditorView() = default;
    virtual void ShowLook(const EditorLook& look) = 0;
    // Hides the window; the shell then reports FormHide.
    virtual void HideWindow() = 0;
};

class ListEditor : public ChooserFields {
public:
    // All four must outlive the editor; list is the program's list, which the
    // services load and save.
    ListEditor(StreamList& list, EditorServices& services, EditorView& view, HelpBalloons& balloons);

    const EditorLook& Look() const { return look_; }
    bool Adding() const { return look_.saveCaption == kAddCaption; }

    // Registers the window's controls with the help balloons.
    void RegisterBalloons();

    // After the list has loaded at start-up.
    void SetInitialLook();
    // "Editer...", before the window is hidden and shown again.
    void PrepareOpening();

    // Window events.
    void FormShow();
    void FormHide();

    // The user typed into a field (no redisplay: the field already shows it).
    void TitleTyped(const std::string& text) { look_.title = text; }
    void AddressTyped(const std::string& text) { look_.address = text; }

    // The scroller's arrows: delta -1 (left) or +1 (right).
    void ScrollerStep(int delta);
    void ToggleClick();      // show/hide toggle
    void NewClick();         // "Nouveau"
    void SaveClick();        // "Enregistrer" / "Ajouter"
    void DeleteClick();      // "Supprimer"
    void CancelClick();      // "Annuler"
    void ListenClick();      // "Ecouter"
    void BalloonSwitchClick();

    // Hooks for the page and icon choosers and the drop target.
    void SetAddressField(const std::string& address) override;
    void SetTitleField(const std::string& title) override;
    // The chosen icon: its file name into the holder, its picture into the preview.
    void SetIconChoice(const std::string& iconName, const std::string& picturePath) override;
    // Adding mode without touching the fields (a dropped address sets them first).
    void EnterAddingLook() override;
    // An address dropped from a browser starts a new entry, whatever the mode.
    void UrlDropTarget1Drop(const std::string& url, const std::string& title);

    // The editor's named operations.
    void ShowCurrentEntry();
    void CommitFields();
    void RefreshEditor();

private:
    void Show() { view_.ShowLook(look_); }
    void FollowListSize();
    void ShowRow(int row, bool vacantAsEmpty);
    void Enable(bool& state, int control);
    bool FieldsEmpty() const;
    void AddNewEntry();
    void SaveList();

    StreamList& list_;
    EditorServices& services_;
    EditorView& view_;
    HelpBalloons& balloons_;
    EditorLook look_;
};
