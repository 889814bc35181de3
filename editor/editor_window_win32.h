// The main window (TForm1): the list editor, hidden until "Editer...". It is
// the program's main window, so the tray icon and its menu report to it and
// closing it ends the program; it passes those messages on to the program
// root, which owns the services, and keeps only the editor's own work: its
// controls show the ListEditor's look and report the user's acts to it.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "editor/editor_keys.h"
#include "editor/help_balloon_hints_win32.h"
#include "editor/list_editor.h"
#include "ui/clickable_picture_win32.h"
#include "ui/picture_button_win32.h"
#include "ui/png_image_win32.h"
#include "win/handles_win32.h"
#include "win/window_win32.h"

inline constexpr const char* kMainWindowClass = "SonorafluxMainWindow";
inline constexpr const char* kEditorCaption = "Sonoraflux - Version Alpha 1.0";

// What the main window passes on to the program root.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // Every message of the window, before the window handles it (the tray icon
    // watches minimising, restoring and the taskbar's re-creation).
    virtual void OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    // A command of the tray menu (menus send WM_COMMAND with a zero code).
    virtual void OnMenuCommand(UINT id) = 0;
    // The owner-drawn items of the tray menu; false for anything else.
    virtual bool OnMeasureItem(MEASUREITEMSTRUCT& item) = 0;
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& item) = 0;
    // The window is being destroyed: the program ends.
    virtual void OnMainWindowDestroyed() = 0;
    // Windows is ending the session: the process ends once this returns.
    virtual void OnSessionEnding() = 0;
};

// What the editor window asks of the rest of the program: the list's
// services (loading, saving, the menu), the program's list and balloons, and
// the actions of the controls it does not carry out itself.
class EditorWindowServices : public EditorServices {
public:
    // The tray icon's and menu's messages, and the program's end.
    virtual MainWindowHost& Host() = 0;
    // The program's list, which the services load and save.
    virtual StreamList& List() = 0;
    // The program's one balloon registry and its hint window; the hints are
    // asked for only by CreateContents, as they are made once the tray icon shows.
    virtual HelpBalloons& Balloons() = 0;
    virtual HelpBalloonHints& BalloonHints() = 0;
    // The choosers and the list's import and export, on a click of their control.
    virtual void ChoosePage() = 0;
    virtual void ChooseIcon() = 0;
    virtual void ImportList() = 0;
    virtual void ExportList() = 0;
    // A picture of the window: the program's resource of that name (tests
    // give others).
    virtual PngImage Picture(const char* name);
};

class EditorWindow : public Window, private EditorView {
public:
    static constexpr int kClientWidth = 342;
    static constexpr int kClientHeight = 229;

    // Creates the hidden window alone; the services must outlive it. owner is
    // null: this is the program's main window. The window exists from the
    // start because the tray icon reports to it; its controls come with
    // CreateContents, once the icon shows (their fonts are the slowest part
    // of a start), and its pictures at the first showing, as most starts
    // never show it.
    EditorWindow(HINSTANCE instance, HWND owner, EditorWindowServices& services);
    ~EditorWindow() override;

    // The controls, their fonts, help balloons and keys; once, before any
    // other call but Handle.
    void CreateContents();

    // The editor's behaviour: its fields, adding mode and named operations.
    ListEditor& Editor() { return editor_; }

    // After the list has loaded at start-up.
    void SetInitialLook() { editor_.SetInitialLook(); }

    // "Editer...": a hide first (which reloads the list, dropping unsaved
    // changes), then the editor centred and in front. A picture that cannot
    // be decoded raises its error and the window stays hidden.
    void OpenEditor();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void CreateKitControls();
    void LoadPictures();
    void ApplyFonts();
    void AttachBalloons(std::initializer_list<KitControl*> kitControls);
    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }

    void ShowLook(const EditorLook& look) override;
    void HideWindow() override;
    void ShowIconPicture(const std::string& path);
    void SetText(int id, const std::string& text);

    void UseKeyboard();
    void KeepFocusReachable(int focused);
    LRESULT DefaultControl();
    void OnKey(EditorKey key);
    void OnShortcut(WORD command);
    bool OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header);
    bool OnSetCursor(HWND target, int hitTest);
    LRESULT OnControlColour(HDC dc, HWND control);
    void PaintBanner();
    void OpenAuthorSite();

    EditorWindowServices& services_;
    HelpBalloonHints* hints_ = nullptr;
    ListEditor editor_;
    PngImage banner_;
    HCURSOR hand_ = nullptr;
    // The kit's controls: the commands with their pictures, the two glyph
    // buttons and the three clickable pictures.
    PngSpeedButton newButton_, saveButton_, deleteButton_, cancelButton_, importButton_, exportButton_;
    SpeedButton toggle_, pageChooser_;
    ClickablePicture balloonSwitch_, listen_, iconPreview_;
    UniqueAccelerators shortcuts_;
    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueFont noteFont_;
    UniqueFont linkFont_;
    std::optional<std::string> iconPath_;  // the icon file shown; none before the first
    bool toggleShownGlyph_ = true;
    bool picturesLoaded_ = false;
};
