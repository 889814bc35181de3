// The main window (TForm1): the list editor, hidden until "Editer...". It is
// the program's main window, so the tray icon and its menu report to it and
// closing it ends the program; it passes those messages on to the program
// root, which owns the services, and keeps only the editor's own work.
#pragma once
#include <windows.h>

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
    // The editor was hidden: every hide reloads the list.
    virtual void OnEditorHidden() = 0;
    // The window is being destroyed: the program ends.
    virtual void OnMainWindowDestroyed() = 0;
};

class EditorWindow : public Window {
public:
    static constexpr int kClientWidth = 342;
    static constexpr int kClientHeight = 229;

    // Creates the hidden window; host must outlive it.
    EditorWindow(HINSTANCE instance, MainWindowHost& host);
    ~EditorWindow() override;

    // "Editer...": a hide first (which reloads the list, dropping unsaved
    // changes), then the editor centred and in front.
    void OpenEditor();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    MainWindowHost& host_;
};
