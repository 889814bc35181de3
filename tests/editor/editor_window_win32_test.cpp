// The editor window driven through its controls' messages, as another program
// or the user would: the controls' places, texts and enabled states, the
// scroller's notifications, typed fields, the buttons, the list file written,
// the hand cursor and a help balloon.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "editor/editor_controls.h"
#include "editor/editor_keys.h"
#include "editor/editor_window_win32.h"
#include "list/program_folder.h"
#include "tests/support/platform_doubles.h"
#include "tests/support/keyboard_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/resource_probe_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "ui/png_image_win32.h"
#include "ui/ui_pictures.h"
#include "win/platform_win32.h"

using namespace editor_controls;

namespace {
class NoHost : public MainWindowHost {
public:
    void OnOwnerMessage(UINT, WPARAM, LPARAM) override {}
    void OnMenuCommand(UINT id) override {
        if (onMenuCommand) onMenuCommand(id);
    }
    std::function<void(UINT)> onMenuCommand;
    bool OnMeasureItem(MEASUREITEMSTRUCT&) override { return false; }
    bool OnDrawItem(const DRAWITEMSTRUCT&) override { return false; }
    void OnMainWindowDestroyed() override {}
    void OnSessionEnding() override {}
};

// The real list file in a scratch folder; the menu, the sounds and the
// choosers' clicks recorded; the pictures the program's unless given.
class FolderServices : public EditorWindowServices {
public:
    using PictureSource = std::function<PngImage(const char* name)>;
    FolderServices(StreamList& list, const std::string& root, MainWindowHost& host, HelpBalloonHints& hints,
                   PictureSource pictures)
        : list_(list), host_(host), hints_(hints), pictures_(std::move(pictures)), folder_(root),
          file_(folder_.ListFile(), files_, collation_, notices_) {}
    MainWindowHost& Host() override { return host_; }
    StreamList& List() override { return list_; }
    HelpBalloons& Balloons() override { return hints_.Balloons(); }
    HelpBalloonHints& BalloonHints() override { return hints_; }
    void ChoosePage() override { chosen.push_back("page"); }
    void ChooseIcon() override { chosen.push_back("icon"); }
    void ImportList() override { chosen.push_back("import"); }
    void ExportList() override { chosen.push_back("export"); }
    PngImage Picture(const char* name) override {
        return pictures_ ? pictures_(name) : EditorWindowServices::Picture(name);
    }
    void LoadStreamList() override { file_.LoadStreamList(list_); }
    void SaveStreamList() override { file_.SaveStreamList(list_); }
    void RebuildListMenu() override { menuItems = list_.RowCount(); }
    int ListMenuItemCount() override { return menuItems; }
    void PlayMenuItem(int item) override { played.push_back(item); }
    std::string ExistingIconPath(const std::string& iconFile) override {
        const std::string path = folder_.Image(iconFile);
        return files_.FileExists(path) ? path : std::string();
    }
    void InformationBeep() override {}
    void ExclamationBeep() override {}
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }

    int menuItems = 0;
    std::vector<int> played;
    std::vector<std::string> warnings;
    std::vector<std::string> chosen;

private:
    StreamList& list_;
    MainWindowHost& host_;
    HelpBalloonHints& hints_;
    PictureSource pictures_;
    ProgramFolder folder_;
    Win32FileSystem files_;
    UserLocaleCollation collation_;
    RecordedNotices notices_;
    StreamListFile file_;
};

std::string Text(HWND control) {
    char text[512] = {};
    ::SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

class EditorWindowTest : public ::testing::Test {
protected:
    void Start(const std::string& fileContent, FolderServices::PictureSource pictures = {}) {
        ASSERT_FALSE(scratch.Path().empty());
        ASSERT_TRUE(wine_support::WriteFileBytes(scratch.Path() + "Sonoraflux.ini", fileContent));
        hints = std::make_unique<HelpBalloonHints>(balloons);
        services = std::make_unique<FolderServices>(list, scratch.Path(), host, *hints, std::move(pictures));
        services->LoadStreamList();
        services->RebuildListMenu();
        window = std::make_unique<EditorWindow>(::GetModuleHandleA(nullptr), nullptr, *services);
        window->CreateContents();
        window->SetInitialLook();
    }
    void TearDown() override {
        window.reset();
        hints.reset();
    }

    HWND Main() const { return window->Handle(); }
    HWND Control(int id) const { return ::GetDlgItem(Main(), id); }
    std::string TextOf(int id) const { return Text(Control(id)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    RECT Place(int id) const {
        RECT r{};
        ::GetWindowRect(Control(id), &r);
        ::MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    int Width(int id) const {
        const RECT r = Place(id);
        return r.right - r.left;
    }
    void Open() {
        window->OpenEditor();
        wine_support::PumpFor(200);
    }
    void Click(int id) { ::SendMessageA(Control(id), BM_CLICK, 0, 0); }
    // A click on a picture, as the mouse gives it.
    void ClickPicture(int id) {
        ::SendMessageA(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::SendMessageA(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    void Type(int id, const std::string& text) {
        ::SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // As the scroller asks its parent before it moves.
    void Step(int delta) {
        NMUPDOWN change{};
        change.hdr.hwndFrom = Control(kScroller);
        change.hdr.idFrom = kScroller;
        change.hdr.code = UDN_DELTAPOS;
        change.iPos = static_cast<int>(::SendMessageA(Control(kScroller), UDM_GETPOS32, 0, 0));
        change.iDelta = delta;
        ::SendMessageA(Main(), WM_NOTIFY, kScroller, reinterpret_cast<LPARAM>(&change));
    }
    std::string File() {
        std::string bytes;
        wine_support::ReadFileBytes(scratch.Path() + "Sonoraflux.ini", bytes);
        return bytes;
    }

    wine_support::ScratchFolder scratch{"editor"};
    StreamList list;
    NoHost host;
    HelpBalloons balloons;
    std::unique_ptr<FolderServices> services;
    std::unique_ptr<HelpBalloonHints> hints;
    std::unique_ptr<EditorWindow> window;
};

// The pictures are decoded at the first showing: one that fails there gives
// its error in the program's error box (the window's procedure catches it),
// the window stays hidden and works on; the next "Editer..." tries again.
TEST_F(EditorWindowTest, APictureThatFailsAtTheFirstShowingLeavesTheWindowHidden) {
    bool failing = true;
    Start("FIP;http://fip;;1\r\n", [&](const char* name) {
        if (failing && std::string(name) == ui_pictures::kSpeaker) throw PngError("Ooops ! Image illisible (speaker)");
        return PngImage::FromResource(name);
    });
    host.onMenuCommand = [this](UINT) { window->OpenEditor(); };
    {
        wine_support::BoxScript boxes{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
        ::SendMessageA(Main(), WM_COMMAND, 100, 0);
        ASSERT_TRUE(wine_support::PumpUntil([&] { return !boxes.Texts().empty(); }, 5000)) << "no error box";
        EXPECT_NE(boxes.Texts().front().find("speaker"), std::string::npos) << boxes.Texts().front();
    }
    EXPECT_FALSE(::IsWindowVisible(Main()));
    Type(kTitleField, "encore vivant");
    EXPECT_EQ(TextOf(kTitleField), "encore vivant");
    failing = false;
    ::SendMessageA(Main(), WM_COMMAND, 100, 0);
    wine_support::PumpFor(200);
    EXPECT_TRUE(::IsWindowVisible(Main()));
    EXPECT_EQ(TextOf(kTitleField), "FIP");
}

TEST_F(EditorWindowTest, ControlsSitAtTheirPlacesWithTheirCaptions) {
    Start("Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\n");
    struct Expected {
        int id;
        RECT place;  // left, top, right, bottom in the client area
        const char* text;
    } controls[] = {
        {kBalloonSwitch, {326, 1, 343, 18}, "Bulles d'aide"},
        {kGroup, {8, 78, 241, 185}, " Editer cet élément "},
        {kListen, {167, 78, 183, 95}, "Ecouter"},
        {kScroller, {194, 78, 227, 93}, ""},
        {kIconPreview, {67, 102, 89, 123}, "Choix image"},
        {kTitleField, {93, 102, 198, 123}, ""},
        {kToggle, {202, 102, 225, 123}, "Liste"},
        {kAddressField, {67, 126, 201, 147}, ""},
        {kPageChooser, {202, 126, 225, 148}, "Choix Page"},
        {kNew, {248, 84, 337, 114}, "Nouveau"},
        {kSave, {248, 118, 337, 148}, "Enregistrer"},
        {kDelete, {248, 152, 337, 182}, "Supprimer"},
        {kCancel, {248, 193, 337, 223}, "Annuler    "},
        {kImport, {8, 193, 103, 223}, "Importer..."},
        {kExport, {128, 193, 223, 223}, "Exporter..."},
        {kHeaderTitle, {108, 7, 328, 21}, "Créez votre liste musicale !"},
        {kTitleLabel, {23, 106, 67, 120}, "Titre  ->"},
        {kAddressLabel, {23, 130, 65, 144}, "URL  ->"},
        {kListenLabel, {120, 79, 165, 93}, "Ecouter :"},
        {kAuthorLink, {108, 158, 228, 172}, "www.sonoraflux.fr"},
    };
    RECT client{};
    ::GetClientRect(Main(), &client);
    EXPECT_EQ(client.right, 342);
    EXPECT_EQ(client.bottom, 229);
    EXPECT_EQ((::GetWindowLongA(Main(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)), 0);
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(Control(c.id), nullptr);
        const RECT place = Place(c.id);
        EXPECT_EQ(place.left, c.place.left);
        EXPECT_EQ(place.top, c.place.top);
        EXPECT_EQ(place.right, c.place.right);
        EXPECT_EQ(place.bottom, c.place.bottom);
        EXPECT_EQ(TextOf(c.id), c.text);
    }
    EXPECT_FALSE(::IsWindowVisible(Control(kIconName))) << "the icon-name holder is never seen";

    // The six clickable elements show the hand, the fields do not.
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), "CURSOR");
    ASSERT_NE(hand, nullptr);
    Open();
    for (int id : {kAuthorLink, kBalloonSwitch, kIconPreview, kListen, kToggle, kPageChooser, kTitleField}) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::SendMessageA(Control(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(id)),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor() == hand, id != kTitleField) << "control " << id;
    }
}

// The choosers and the list's import and export are the program's: each
// control hands its click on to the one it names.
TEST_F(EditorWindowTest, TheChoosersControlsHandTheirClicksOn) {
    Start("Radio Alpha;alpha.htm;;1\r\n");
    Open();
    for (int id : {kPageChooser, kIconPreview, kImport, kExport}) ClickPicture(id);
    EXPECT_EQ(services->chosen, (std::vector<std::string>{"page", "icon", "import", "export"}));
}

// What the system's Tab walks is the editor's order, also once the title
// field has widened over the toggle and back; every stop has a name; an act
// that takes the focused control away hands the focus to the title field.
TEST_F(EditorWindowTest, TabWalksTheEditorsOrderEveryStopIsNamedAndTheFocusStaysReachable) {
    Start("Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\n");
    auto expectedWalk = [&] {
        std::vector<int> stops = ReachableStops(EditorTabStops(window->Editor().Look()));
        std::rotate(stops.begin(), std::find(stops.begin(), stops.end(), kTitleField), stops.end());
        return stops;
    };
    Open();
    EXPECT_EQ(::GetFocus(), Control(kTitleField)) << "the title field on opening";
    EXPECT_EQ(wine_support::TabWalk(Main(), kTitleField), expectedWalk());
    for (int id : expectedWalk()) EXPECT_NE(wine_support::ControlName(Control(id)), "") << "control " << id;
    EXPECT_EQ(wine_support::ControlName(Control(kTitleField)), "Titre  ->");

    // Enter on a focused picture button presses it, and Space a picture.
    ::SetFocus(Control(kToggle));
    wine_support::PressKey(VK_RETURN);
    EXPECT_EQ(list.Row(0).shownInMenu, "0") << "Enter on the list toggle";
    ::SetFocus(Control(kListen));
    wine_support::PressKey(VK_SPACE);
    EXPECT_EQ(services->played, std::vector<int>{0}) << "Space on the listen picture";

    ::SetFocus(Control(kNew));
    Click(kNew);
    EXPECT_EQ(::GetFocus(), Control(kTitleField)) << "Nouveau disabled itself";
    EXPECT_EQ(Width(kTitleField), kTitleWidthWide);
    EXPECT_EQ(wine_support::TabWalk(Main(), kTitleField), expectedWalk()) << "adding mode";
    Click(kCancel);
    EXPECT_EQ(Width(kTitleField), kTitleWidthNarrow);
    EXPECT_EQ(wine_support::TabWalk(Main(), kTitleField), expectedWalk()) << "back from adding mode";
}

TEST_F(EditorWindowTest, StepRenameAndSaveWritesTheFileAndReloadsItSorted) {
    Start("Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\nRadio Gamma;g.htm;;1\r\n");
    Open();
    ASSERT_TRUE(::IsWindowVisible(Main()));
    EXPECT_EQ(TextOf(kTitleField), "Radio Alpha");
    EXPECT_EQ(::SendMessageA(Control(kScroller), UDM_GETRANGE32, 0, 0), 0) << "the low end";
    int low = -1, high = -1;
    ::SendMessageA(Control(kScroller), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(high, 2) << "the range follows the list";

    Step(+1);
    EXPECT_EQ(TextOf(kTitleField), "Radio Bêta");
    EXPECT_EQ(TextOf(kAddressField), "http://b/");
    EXPECT_EQ(::SendMessageA(Control(kScroller), UDM_GETPOS32, 0, 0), 1);
    Type(kTitleField, "Zapping");
    Step(+1);
    Step(+1);
    EXPECT_EQ(TextOf(kTitleField), "Radio Gamma") << "no step past the last entry";
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("editor.png").empty());

    Click(kSave);
    EXPECT_FALSE(::IsWindowVisible(Main())) << "saving hides the editor";
    EXPECT_EQ(File(), "Radio Alpha;alpha.htm;;1\r\nZapping;http://b/;;0\r\nRadio Gamma;g.htm;;1\r\n");
    Open();
    EXPECT_EQ(TextOf(kTitleField), "Radio Alpha");
    Step(+1);
    EXPECT_EQ(TextOf(kTitleField), "Radio Gamma") << "reloaded in sorted order";
}

// The look of each mode reaches the controls; the buttons and pictures reach
// the editor.
TEST_F(EditorWindowTest, AddingModeAndTheEmptyListShowInTheControls) {
    Start("Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\n");
    Open();
    Click(kNew);
    EXPECT_EQ(TextOf(kSave), "Ajouter");
    EXPECT_EQ(Width(kTitleField), 129);
    EXPECT_FALSE(::IsWindowVisible(Control(kToggle)));
    const std::map<int, bool> adding = {{kScroller, false}, {kListen, false}, {kDelete, false},
                                        {kSave, true},      {kNew, false},    {kCancel, true}};
    for (const auto& [id, on] : adding) EXPECT_EQ(Enabled(id), on) << "control " << id;
    Type(kTitleField, "Radio Ajoutée");
    Type(kAddressField, "http://nouvelle/");
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("editor-adding.png").empty());

    Click(kSave);
    EXPECT_EQ(TextOf(kSave), "Enregistrer");
    EXPECT_EQ(Width(kTitleField), 105);
    EXPECT_TRUE(::IsWindowVisible(Control(kToggle)));
    EXPECT_EQ(::SendMessageA(Control(kScroller), UDM_GETPOS32, 0, 0), 2);
    ClickPicture(kListen);
    EXPECT_EQ(services->played, std::vector<int>{2});
    Click(kDelete);
    EXPECT_EQ(TextOf(kTitleField), "Radio Bêta");
    EXPECT_EQ(File(), "Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\n") << "never saved";

    // The list is read again when the window hides.
    ASSERT_TRUE(wine_support::WriteFileBytes(scratch.Path() + "Sonoraflux.ini", "Vide;;;1\r\n"));
    Click(kCancel);
    EXPECT_FALSE(::IsWindowVisible(Main()));
    Open();
    EXPECT_EQ(TextOf(kTitleField), "");
    EXPECT_EQ(Width(kTitleField), 129);
    for (int id : {kSave, kDelete, kScroller}) EXPECT_FALSE(Enabled(id)) << "control " << id;
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("editor-empty.png").empty());
    Click(kNew);
    Click(kCancel);
    EXPECT_EQ(Width(kTitleField), 153) << "over the toggle on the placeholder";
}

TEST_F(EditorWindowTest, RestingOnAControlShowsItsBalloonOnceSwitchedOn) {
    Start("Radio Alpha;alpha.htm;;1\r\nRadio Bêta;http://b/;;0\r\n");
    Open();
    HWND title = Control(kTitleField);
    auto hover = [&](HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    };
    auto balloonShown = [&] { return hints->Balloon().Visible(); };

    hover(title);
    wine_support::PumpFor(900);
    EXPECT_FALSE(balloonShown()) << "balloons are off at start";
    EXPECT_EQ(balloons.Title(), "Titre");

    ClickPicture(kBalloonSwitch);
    ASSERT_TRUE(balloons.On());
    hover(Control(kAddressField));
    ASSERT_TRUE(wine_support::PumpUntil(balloonShown, 2000));
    EXPECT_EQ(balloons.Title(), "Page / Adresse");
    wine_support::PumpFor(400);
    EXPECT_FALSE(wine_support::SaveScreenshot("balloon.png").empty());
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !balloonShown(); }, 4000)) << "closes after its time";
}

// A long session's editing: open, step to the other entry (its picture is
// loaded), rename it, save; the handles and GDI objects stay where they were.
TEST_F(EditorWindowTest, FiftyOpenEditSaveCyclesLeaveNoHandlesOrGdiObjectsBehind) {
    ASSERT_TRUE(::CreateDirectoryA((scratch.Path() + "Images").c_str(), nullptr));
    ASSERT_TRUE(wine_support::WriteFileBytes(scratch.Path() + "Images\\note.bmp", wine_support::SmallBitmapFile()));
    Start("A;http://a/;note.bmp;1\r\nB 0;http://b/;;1\r\n");
    int saves = 0;
    const std::string grown = wine_support::ResourcesGrownBy(50, [&] {
        Open();
        Step(+1);
        Type(kTitleField, "B " + std::to_string(++saves));
        Click(kSave);
    });
    EXPECT_EQ(grown, "");
    EXPECT_EQ(File(), "A;http://a/;note.bmp;1\r\nB " + std::to_string(saves) + ";http://b/;;1\r\n");
    EXPECT_EQ(saves, 55);
}
}  // namespace
