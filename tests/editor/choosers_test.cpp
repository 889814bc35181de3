#include "editor/choosers.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>
#include <stdexcept>
#include <vector>

#include "tests/editor/editor_doubles.h"

namespace {
const ProgramFolder kFolder("C:\\Radio\\");

class FakeServices : public ChooserServices {
public:
    std::set<std::string> files;
    std::set<std::string> unreadablePictures;
    std::vector<std::string> calls;

    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    void ExclamationBeep() override { calls.push_back("beep !"); }
    void InformationBeep() override { calls.push_back("beep i"); }
    void ShowWarning(const std::string& text) override { calls.push_back("warning " + text); }
    void CheckPicture(const std::string& path) override {
        if (unreadablePictures.count(path)) throw std::runtime_error("Image bitmap non valide : " + path);
    }
};

// Answers each dialog with the next prepared answer; nothing is a cancel.
class ScriptedDialogs : public FileDialogs {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> shown;

    std::optional<std::string> Show(const FileDialogRequest& request) override {
        shown.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

struct FieldState {
    std::string address = "ancienne.htm";
    std::string title = "Ancien titre";
    std::string iconName = "ancienne.bmp";
    std::string picture = "C:\\Radio\\Images\\ancienne.bmp";
    bool adding = false;
    bool operator==(const FieldState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FieldState& s) {
    return out << "{" << s.address << " | " << s.title << " | " << s.iconName << " | " << s.picture
               << (s.adding ? " | adding}" : " | editing}");
}

// The editor's fields, with the default icon shown as an empty picture path.
class FakeFields : public ChooserFields {
public:
    FieldState state;
    void SetAddressField(const std::string& address) override { state.address = address; }
    void SetTitleField(const std::string& title) override { state.title = title; }
    void SetIconChoice(const std::string& iconName, const std::string& picturePath) override {
        state.iconName = iconName;
        state.picture = picturePath;
    }
    void EnterAddingLook() override {
        state.adding = true;
        state.picture = "";
    }
};

class ChoosersTest : public testing::Test {
protected:
    FakeServices services;
    ScriptedDialogs dialogs;
    FakeFields fields;
    EditorChoosers choosers{kFolder, dialogs, services, fields};
};

// A chosen file counts when a file of its name lies directly in the folder.
TEST(NameInFolderTest, TakesTheNameOfAFileLyingDirectlyInTheFolder) {
    struct Case {
        const char* chosen;
        std::set<std::string> files;
        std::optional<std::string> expected;
    };
    const std::string pages = "C:\\Radio\\Pages\\";
    const Case cases[] = {
        {"C:\\Radio\\Pages\\jazz.htm", {pages + "jazz.htm"}, "jazz.htm"},
        {"D:\\Autres\\jazz.htm", {pages + "jazz.htm"}, "jazz.htm"},
        {"D:\\Autres\\jazz.htm", {"D:\\Autres\\jazz.htm"}, std::nullopt},
        {"C:\\Radio\\Pages\\Rock\\live.htm", {pages + "Rock\\live.htm"}, std::nullopt},
        {"C:\\Radio\\Pages\\Rock\\live.htm", {pages + "Rock\\live.htm", pages + "live.htm"}, "live.htm"},
        {"C:\\Radio\\Pages\\..\\jazz.htm", {pages + "jazz.htm"}, "jazz.htm"},
        {"C:\\Radio\\Pages\\..\\jazz.htm", {"C:\\Radio\\jazz.htm"}, std::nullopt},
        {"C:\\Radio\\Pages\\Rock/live.htm", {pages + "Rock/live.htm"}, std::nullopt},
        {"C:\\Radio\\Pages\\Rock/live.htm", {pages + "live.htm"}, "live.htm"},
        {"C:\\Radio\\Pages\\", {pages}, std::nullopt},
        {"C:\\Radio\\Pages\\..", {pages + ".."}, std::nullopt},
        {"jazz.htm", {pages + "jazz.htm"}, "jazz.htm"},
    };
    for (const Case& c : cases) {
        FakeServices services;
        services.files = c.files;
        EXPECT_EQ(NameInFolder(pages, c.chosen, services), c.expected) << c.chosen;
    }
}

using Click = void (EditorChoosers::*)();

TEST_F(ChoosersTest, EachButtonAsksItsOwnDialog) {
    const std::string up16 = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\";
    const struct {
        Click click;
        FileDialogRequest expected;
    } cases[] = {
        {&EditorChoosers::SpeedButton3Click,
         {FileDialogKind::Page, "Sélectionnez une page html jouant un \"Flumen\"", "Pages HTML (*.htm; *.html)",
          "*.htm;*.html", "C:\\Radio\\Pages\\"}},
        {&EditorChoosers::Image4Click,
         {FileDialogKind::Icon, "Choisissez une image (16x16 - *.bmp) pour illustrer votre \"Flumen\"",
          "Images 16x16 (*.bmp)", "*.bmp", "C:\\Radio\\Images\\"}},
        {&EditorChoosers::PngSpeedButton6Click,
         {FileDialogKind::Import, "Sélectionnez la liste à importer...", "Listes Sonoraflux (*.zip)", "*.zip", up16}},
        {&EditorChoosers::PngSpeedButton5Click,
         {FileDialogKind::Export, "Choisissez un dossier d'enregistrement pour exporter votre liste",
          "Listes Sonoraflux (*.zip)", "*.zip", up16}},
    };
    EXPECT_EQ(up16.size(), 48u);
    for (const auto& c : cases) {
        dialogs.shown.clear();
        (choosers.*c.click)();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        const FileDialogRequest& shown = dialogs.shown[0];
        SCOPED_TRACE(c.expected.title);
        EXPECT_EQ(shown.kind, c.expected.kind);
        EXPECT_EQ(shown.title, c.expected.title);
        EXPECT_EQ(shown.filterName, c.expected.filterName);
        EXPECT_EQ(shown.patterns, c.expected.patterns);
        EXPECT_EQ(shown.startFolder, c.expected.startFolder);
    }
    EXPECT_EQ(fields.state, FieldState{}) << "cancelled dialogs change nothing";
    EXPECT_TRUE(services.calls.empty()) << services.calls.front();
}

// What each answer of a dialog does to the fields, and what the user hears and reads.
TEST(EditorChoosersTest, AnswersFillTheFieldsOrWarn) {
    const std::string notFinished = "warning \n\rOoops ! D\xE9sol\xE9, cette fonction n'a pas encore \xE9t\xE9 finalis\xE9" "e...";
    struct Case {
        const char* name;
        Click click;
        std::string answer;
        FieldState expected;
        std::vector<std::string> calls;
    };
    const FieldState unchanged;
    FieldState page = unchanged, icon = unchanged;
    page.address = "jazz.htm";
    icon.iconName = "note.bmp";
    icon.picture = "D:\\Copies\\note.bmp";
    const Case cases[] = {
        {"page in the folder", &EditorChoosers::SpeedButton3Click, "C:\\Radio\\Pages\\jazz.htm", page, {}},
        {"page outside", &EditorChoosers::SpeedButton3Click, "D:\\Autres\\rock.htm", unchanged,
         {"beep !", "warning Ooops ! La page choisie doit obligatoirement se trouver dans le dossier\r\nC:\\Radio\\Pages\\"}},
        {"icon of a name in the folder, shown as chosen", &EditorChoosers::Image4Click, "D:\\Copies\\note.bmp", icon, {}},
        {"icon in a subfolder", &EditorChoosers::Image4Click, "C:\\Radio\\Images\\Rock\\guitare.bmp", unchanged,
         {"beep !",
          "warning Ooops ! L'icône choisie doit obligatoirement se trouver dans le dossier\r\nC:\\Radio\\Images\\"}},
        {"import", &EditorChoosers::PngSpeedButton6Click, "C:\\Radio\\Pages\\jazz.htm", unchanged, {"beep i", notFinished}},
        {"export", &EditorChoosers::PngSpeedButton5Click, "C:\\liste.zip", unchanged, {"beep i", notFinished}},
    };
    for (const Case& c : cases) {
        FakeServices services;
        services.files = {"C:\\Radio\\Pages\\jazz.htm", "C:\\Radio\\Images\\note.bmp",
                          "C:\\Radio\\Images\\Rock\\guitare.bmp"};
        ScriptedDialogs dialogs;
        dialogs.answers = {c.answer};
        FakeFields fields;
        EditorChoosers choosers{kFolder, dialogs, services, fields};
        (choosers.*c.click)();
        EXPECT_EQ(fields.state, c.expected) << c.name;
        EXPECT_EQ(services.calls, c.calls) << c.name;
    }
}

TEST_F(ChoosersTest, UnreadableIconStopsBeforeItsNameIsTaken) {
    services.files = {"C:\\Radio\\Images\\casse.bmp"};
    services.unreadablePictures = {"C:\\Radio\\Images\\casse.bmp"};
    dialogs.answers = {"C:\\Radio\\Images\\casse.bmp"};
    EXPECT_THROW(choosers.Image4Click(), std::runtime_error);
    EXPECT_EQ(fields.state, FieldState{});
}

// The drop on the real editor: what the user sees afterwards, and what the
// list holds (nothing new until "Ajouter").
TEST(UrlDropTarget1DropTest, StartsANewEntryWhateverTheMode) {
    struct Case {
        const char* name;
        std::vector<std::string> file;
        std::function<void(EditorBench&)> before;
        std::string url, title;
        std::string address, titleField, iconName;
        bool newEnabled, saveEnabledBefore;
    };
    const auto opened = [](EditorBench&) {};
    const auto adding = [](EditorBench& b) {
        b.editor.NewClick();
        b.editor.TitleTyped("Tapé");
        b.editor.AddressTyped("tape.htm");
    };
    const std::vector<std::string> two = {"Alpha;a.htm;note.bmp;1", "Beta;http://b/;;0"};
    const Case cases[] = {
        {"address and title", two, opened, "http://radio.example/", "Radio Example", "http://radio.example/",
         "Radio Example", "", true, true},
        {"address without title", two, opened, "http://radio.example/", "", "http://radio.example/", "", "", true,
         true},
        {"text over several lines gives its first", two, opened, "http://radio.example/\r\nsuite", "Radio\nsuite",
         "http://radio.example/", "Radio", "", true, true},
        {"while adding, replaces what was typed", two, adding, "http://b/", "B", "http://b/", "B", "", false, true},
        {"no address: the fields stay", two, opened, "", "Titre seul", "a.htm", "Alpha", "note.bmp", true, true},
        {"on the empty list the save button comes on", {"Vide;;;1"}, opened, "http://x/", "X", "http://x/", "X", "",
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorBench b(c.file);
        b.files.files[b.services.folder.Image("note.bmp")] = "BM";
        b.Open();
        c.before(b);
        ASSERT_EQ(b.Look().saveEnabled, c.saveEnabledBefore);
        if (c.file == two && !b.editor.Adding()) {
            ASSERT_EQ(b.Look().iconPicture, b.services.folder.Image("note.bmp")) << "the entry's icon before";
        }
        const std::string fileBefore = b.File();
        const int rowsBefore = b.list.RowCount();

        b.editor.UrlDropTarget1Drop(c.url, c.title);
        const EditorLook& look = b.Look();
        EXPECT_EQ(look.address, c.address);
        EXPECT_EQ(look.title, c.titleField);
        EXPECT_EQ(look.iconName, c.iconName);
        EXPECT_EQ(look.iconPicture, "") << "the default icon";
        EXPECT_TRUE(b.editor.Adding());
        EXPECT_FALSE(look.scrollerEnabled);
        EXPECT_FALSE(look.listenEnabled);
        EXPECT_FALSE(look.deleteEnabled);
        EXPECT_TRUE(look.saveEnabled);
        EXPECT_FALSE(look.toggleVisible);
        EXPECT_EQ(look.titleWidth, 129);
        EXPECT_EQ(look.newEnabled, c.newEnabled) << "\"Nouveau\" keeps its state";
        EXPECT_EQ(b.view.shown, look) << "the window shows the new look";
        EXPECT_EQ(b.list.RowCount(), rowsBefore);
        EXPECT_EQ(b.File(), fileBefore);
    }
}

TEST(UrlDropTarget1DropTest, DroppedAddressIsAddedByAjouterAndWrittenByEnregistrer) {
    EditorBench b({"Alpha;a.htm;;1"});
    b.Open();
    b.editor.UrlDropTarget1Drop("http://radio.example/", "");
    b.editor.SaveClick();
    ASSERT_EQ(b.list.RowCount(), 2);
    EXPECT_EQ(b.list.Row(1).address, "http://radio.example/");
    EXPECT_EQ(b.list.Row(1).title, "");
    EXPECT_EQ(b.list.Row(1).shownInMenu, "1");
    EXPECT_TRUE(b.services.warnings.empty()) << "an address alone is enough to add";
    b.editor.SaveClick();
    EXPECT_NE(b.File().find(";http://radio.example/;;1\r\n"), std::string::npos) << b.File();
}
}  // namespace
