// Filling the editor without the keyboard, on the real main window: addresses
// dropped on it (the program root creates the drop target, registers the
// window and binds the drop to the editor; the target goes with the window),
// and the buttons that open the file dialogs. The program runs in this
// process, on a scratch program folder, so that the registered target can be
// called directly.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/program_win32.h"
#include "tests/app/program_driver.h"
#include "editor/editor_controls.h"
#include "tests/support/drop_data_double_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "tray/tray_menu_win32.h"
#include "win/com_object_win32.h"
#include "win/ole_session_win32.h"
#include "win/window_text_win32.h"

namespace {
using namespace editor_controls;

// A link dragged from a browser: the address, and the page title as the name
// of the shortcut file the browser would create.
std::vector<Offer> BrowserLink(const std::string& url, const std::string& title) {
    std::string group(sizeof(FILEGROUPDESCRIPTORA), '\0');
    auto* descriptor = reinterpret_cast<FILEGROUPDESCRIPTORA*>(group.data());
    descriptor->cItems = 1;
    std::strcpy(descriptor->fgd[0].cFileName, (title + ".url").c_str());
    return {{Registered("UniformResourceLocator"), url + '\0'}, {Registered("FileGroupDescriptor"), group}};
}

// Lets the drag go on for a few rounds, then drops where the pointer is.
class DropAfterAWhile : public ComObject<DropAfterAWhile, IDropSource> {
public:
    static const InterfaceEntry<DropAfterAWhile> kInterfaces[1];
    int rounds = 0;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return ++rounds < 4 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

const InterfaceEntry<DropAfterAWhile> DropAfterAWhile::kInterfaces[1] = {
    {&IID_IDropSource, [](DropAfterAWhile* self) -> IUnknown* { return static_cast<IDropSource*>(self); }},
};

class ProgramDropTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.Path().empty());
        for (const char* sub : {"Pages", "Images"}) ::CreateDirectoryA((root.Path() + sub).c_str(), nullptr);
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Pages\\jazz.htm", "<html></html>"));
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Sonoraflux.ini",
                                                 "Alpha;a.htm;;1\r\nBeta;http://b.example/;;1\r\n"));
        program.emplace(::GetModuleHandleA(nullptr), root.Path());
        main = ::FindWindowA(kMainWindowClass, nullptr);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override {
        if (::IsWindow(main)) ::DestroyWindow(main);
        program.reset();
        // The main window's end posts the quit message; it is not for the next test.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // The target OLE keeps for the window: what a drag from any program calls.
    IDropTarget* RegisteredTarget() const {
        return static_cast<IDropTarget*>(::GetPropA(main, "OleDropTargetInterface"));
    }

    void OpenEditor() {
        ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCommandEdit, 0), 0);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
        wine_support::PumpFor(300);
    }

    POINTL Inside() const {
        RECT place{};
        ::GetWindowRect(main, &place);
        return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }

    HWND Control(int id) const { return ::GetDlgItem(main, id); }

    void Click(int id) {
        ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
    }

    void ExpectEditingEntry(const std::string& title, const std::string& address) {
        EXPECT_EQ(WindowText(Control(kTitleField)), title);
        EXPECT_EQ(WindowText(Control(kAddressField)), address);
        EXPECT_EQ(WindowText(Control(kSave)), "Enregistrer");
        EXPECT_TRUE(::IsWindowEnabled(Control(kScroller)));
    }

    void ExpectAddingEntry(const std::string& title, const std::string& address) {
        EXPECT_EQ(WindowText(Control(kTitleField)), title);
        EXPECT_EQ(WindowText(Control(kAddressField)), address);
        EXPECT_EQ(WindowText(Control(kIconName)), "");
        EXPECT_EQ(WindowText(Control(kSave)), "Ajouter");
        EXPECT_TRUE(::IsWindowEnabled(Control(kSave)));
        EXPECT_FALSE(::IsWindowEnabled(Control(kScroller)));
        EXPECT_FALSE(::IsWindowEnabled(Control(kListen)));
        EXPECT_FALSE(::IsWindowEnabled(Control(kDelete)));
        EXPECT_FALSE(::IsWindowVisible(Control(kToggle)));
    }

    OleSession ole;
    wine_support::ScratchFolder root{"drop_program"};
    wine_support::BoxScript errorBoxes{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    std::optional<Program> program;
    HWND main = nullptr;
};

TEST_F(ProgramDropTest, LinkDroppedOnTheEditorStartsANewEntry) {
    OpenEditor();
    ExpectEditingEntry("Alpha", "a.htm");
    IDropTarget* target = RegisteredTarget();
    ASSERT_NE(target, nullptr) << "the main window is no drop target";

    auto data = TestDataObject::Create(BrowserLink("http://radio.example/jazz", "Radio Jazz"));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    ASSERT_EQ(target->DragEnter(data.get(), MK_LBUTTON, Inside(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ExpectEditingEntry("Alpha", "a.htm");  // nothing happens before the drop
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    ASSERT_EQ(target->Drop(data.get(), 0, Inside(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(data->performedEffect.has_value());
    EXPECT_EQ(*data->performedEffect, static_cast<DWORD>(DROPEFFECT_COPY));

    ExpectAddingEntry("Radio Jazz", "http://radio.example/jazz");
    wine_support::PumpFor(500);
    EXPECT_FALSE(wine_support::SaveScreenshot("editor-after-drop.png").empty());

    // "Ajouter" then takes it into the list, "Enregistrer" into the file.
    Click(kSave);
    EXPECT_EQ(WindowText(Control(kSave)), "Enregistrer");
    Click(kSave);
    std::string file;
    ASSERT_TRUE(wine_support::ReadFileBytes(root.Path() + "Sonoraflux.ini", file));
    EXPECT_NE(file.find("Radio Jazz;http://radio.example/jazz;;1\r\n"), std::string::npos) << file;
}

TEST_F(ProgramDropTest, DataWithoutAnAddressIsRefusedAndChangesNothing) {
    OpenEditor();
    IDropTarget* target = RegisteredTarget();
    ASSERT_NE(target, nullptr);
    auto data = TestDataObject::Create(std::vector<Offer>{{CF_TEXT, std::string("radio.example") + '\0'}});
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, Inside(), &effect), DV_E_CLIPFORMAT);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(data.get(), 0, Inside(), &effect), E_UNEXPECTED);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(data->performedEffect.has_value());
    ExpectEditingEntry("Alpha", "a.htm");
}

// Each button opens its own dialog; a cancel changes nothing, and a page typed
// into the page dialog lands in the address field.
TEST_F(ProgramDropTest, ChooserButtonsOpenTheirDialogs) {
    OpenEditor();
    struct Button {
        int id;
        const char* title;
        const char* typed;  // chosen by name in the dialog, or cancelled when null
    };
    const Button buttons[] = {
        {kIconPreview, "Choisissez une image (16x16 - *.bmp) pour illustrer votre \"Flumen\"", nullptr},
        {kImport, "S\xE9lectionnez la liste \xE0 importer...", nullptr},
        {kExport, "Choisissez un dossier d'enregistrement pour exporter votre liste", nullptr},
        {kPageChooser, "S\xE9lectionnez une page html jouant un \"Flumen\"", nullptr},
        {kPageChooser, "S\xE9lectionnez une page html jouant un \"Flumen\"", "jazz.htm"},
    };
    for (const Button& button : buttons) {
        SCOPED_TRACE(button.title);
        wine_support::BoxScript dialogs{wine_support::BoxOwner::ThisThread(), button.title,
                                        button.typed ? IDOK : IDCANCEL, [&](const wine_support::Box& dialog) {
                                            if (button.typed) ::SetDlgItemTextA(dialog.window, cmb13, button.typed);
                                            return true;
                                        }};
        Click(button.id);
        EXPECT_EQ(dialogs.Boxes().size(), 1u) << "no dialog with that title";
        ExpectEditingEntry("Alpha", button.typed ? button.typed : "a.htm");
    }
}

TEST_F(ProgramDropTest, TargetIsRevokedAndFreedWithTheMainWindow) {
    IDropTarget* target = RegisteredTarget();
    ASSERT_NE(target, nullptr);
    target->AddRef();
    ASSERT_EQ(::RegisterDragDrop(main, target), DRAGDROP_E_ALREADYREGISTERED);

    ::DestroyWindow(main);
    ASSERT_FALSE(::IsWindow(main));
    auto data = TestDataObject::Create(BrowserLink("http://radio.example/", "Radio"));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(data.get(), 0, POINTL{0, 0}, &effect), E_UNEXPECTED) << "the component is gone";
    EXPECT_EQ(target->Release(), 0u) << "something still holds the drop target";
}
// A drag from another program, as from a browser: OLE carries the calls across
// the two processes.
TEST(ProgramDragFromAnotherProcessTest, LinkDraggedFromHereLandsInTheRunningProgram) {
    OleSession ole;
    const std::string folder = wine_support::CopyProgramFolder();
    ASSERT_FALSE(folder.empty()) << "program folder not staged";
    program_driver::RunningProgram running(folder);
    ASSERT_TRUE(running.Started());
    ASSERT_TRUE(running.WaitForMainWindow(20000));
    HWND main = running.MainWindow();
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCommandEdit, 0), 0);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 10000));
    wine_support::PumpFor(500);

    RECT place{};
    ::GetWindowRect(main, &place);
    const POINT inside{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ASSERT_TRUE(::SetCursorPos(inside.x, inside.y));
    auto data = TestDataObject::Create(BrowserLink("http://radio.example/blues", "Radio Blues"));
    auto source = DropAfterAWhile::Create();
    DWORD effect = 0x55;
    const HRESULT result = ::DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    EXPECT_EQ(result, DRAGDROP_S_DROP) << std::hex << result;
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));

    // Another process's edit controls answer WM_GETTEXT, not GetWindowText.
    const auto text = [&](int id) {
        char buffer[512] = {};
        ::SendMessageTimeoutA(::GetDlgItem(main, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                              SMTO_ABORTIFHUNG, 5000, nullptr);
        return std::string(buffer);
    };
    EXPECT_TRUE(wine_support::PumpUntil([&] { return text(kAddressField) == "http://radio.example/blues"; }, 5000))
        << text(kAddressField);
    EXPECT_EQ(text(kTitleField), "Radio Blues");
    EXPECT_EQ(text(kSave), "Ajouter");
}
}  // namespace
