// The editor over a list file in memory: the real list file code on a memory
// file system, a menu that counts its rebuilds, and a window that only records.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "editor/help_balloons.h"
#include "editor/list_editor.h"
#include "list/program_folder.h"
#include "tests/support/platform_doubles.h"

class RecordingServices : public EditorServices {
public:
    RecordingServices(StreamList& list, MemoryFileSystem& files)
        : list_(list), files_(files), listFile_(folder.ListFile(), files, collation_, notices) {}

    void LoadStreamList() override { listFile_.LoadStreamList(list_); }
    void SaveStreamList() override { listFile_.SaveStreamList(list_); }
    void RebuildListMenu() override {
        ++rebuilds;
        menuItems = list_.RowCount();
        menuAddresses.clear();
        for (int i = 0; i < list_.RowCount(); ++i) menuAddresses.push_back(list_.Row(i).address);
    }
    int ListMenuItemCount() override { return menuItems; }
    void PlayMenuItem(int item) override {
        played.push_back(item);
        playedAddresses.push_back(menuAddresses.at(static_cast<size_t>(item)));
    }
    std::string ExistingIconPath(const std::string& iconFile) override {
        const std::string path = folder.Image(iconFile);
        return files_.FileExists(path) ? path : std::string();
    }
    void InformationBeep() override { sounds.push_back("asterisk"); }
    void ExclamationBeep() override { sounds.push_back("exclamation"); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }

    ProgramFolder folder{"C:\\Radio\\"};
    RecordedNotices notices;
    int rebuilds = 0;
    int menuItems = 0;
    std::vector<int> played;
    std::vector<std::string> menuAddresses;  // what each item of the menu plays
    std::vector<std::string> playedAddresses;
    std::vector<std::string> sounds;
    std::vector<std::string> warnings;

private:
    StreamList& list_;
    MemoryFileSystem& files_;
    AsciiCollation collation_;
    StreamListFile listFile_;
};

class RecordingView : public EditorView {
public:
    void ShowLook(const EditorLook& look) override { shown = look; }
    // As the window does: hiding it reports FormHide.
    void HideWindow() override {
        if (!visible) return;
        visible = false;
        editor->FormHide();
    }

    ListEditor* editor = nullptr;
    EditorLook shown;
    bool visible = false;
};

// A started program with the list file given as lines: list loaded, menu
// built, the editor's initial look set, balloons registered.
struct EditorBench {
    explicit EditorBench(const std::vector<std::string>& lines) {
        std::string content;
        for (const auto& line : lines) content += line + "\r\n";
        files.files[services.folder.ListFile()] = content;
        services.LoadStreamList();
        services.RebuildListMenu();
        view.editor = &editor;
        editor.RegisterBalloons();
        editor.SetInitialLook();
    }

    // "Editer...": the window is hidden (a hide only when it was shown), then shown.
    void Open() {
        editor.PrepareOpening();
        view.HideWindow();
        view.visible = true;
        editor.FormShow();
    }

    std::string File() { return files.files[services.folder.ListFile()]; }
    const EditorLook& Look() const { return editor.Look(); }

    MemoryFileSystem files;
    StreamList list;
    RecordingServices services{list, files};
    RecordingView view;
    HelpBalloons balloons;
    ListEditor editor{list, services, view, balloons};
};
