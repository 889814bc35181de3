// The choosers on the real system: files on disk, the warning box as the user
// sees it, the picture check, and the real icon dialog with its preview.
#include "editor/choosers_win32.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"
#include "win/window_text_win32.h"

namespace {
bool ShowsTheWarningIcon(const wine_support::Box& box) { return box.icon == ::LoadIconA(nullptr, IDI_WARNING); }

class AnsweringDialogs : public FileDialogs {
public:
    std::optional<std::string> answer;
    std::optional<std::string> Show(const FileDialogRequest&) override { return answer; }
};

class RecordingFields : public ChooserFields {
public:
    std::vector<std::string> calls;
    void SetAddressField(const std::string& address) override { calls.push_back("address " + address); }
    void SetTitleField(const std::string& title) override { calls.push_back("title " + title); }
    void SetIconChoice(const std::string& name, const std::string& picture) override {
        calls.push_back("icon " + name + " " + picture);
    }
    void EnterAddingLook() override { calls.push_back("adding"); }
};

class ChoosersWin32Test : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.Path().empty());
        for (const char* sub : {"Pages", "Images", "Autres"}) ::CreateDirectoryA((root.Path() + sub).c_str(), nullptr);
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Pages\\jazz.htm", "<html></html>"));
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Images\\note.bmp", wine_support::SmallBitmapFile()));
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Images\\casse.bmp", "pas une image"));
        ASSERT_TRUE(wine_support::WriteFileBytes(root.Path() + "Autres\\rock.htm", "<html></html>"));
    }

    wine_support::ScratchFolder root{"choosers"};
    ProgramFolder folder{root.Path()};
    AnsweringDialogs dialogs;
    Win32ChooserServices services{nullptr};
    RecordingFields fields;
    EditorChoosers choosers{folder, dialogs, services, fields};
};

TEST_F(ChoosersWin32Test, PagesOnDiskAreTakenByNameOrRefusedWithTheWarningBox) {
    dialogs.answer = root.Path() + "Pages\\jazz.htm";
    choosers.SpeedButton3Click();
    EXPECT_EQ(fields.calls, std::vector<std::string>{"address jazz.htm"});

    // A folder of the page's name is no page.
    ::CreateDirectoryA((root.Path() + "Pages\\rock.htm").c_str(), nullptr);
    fields.calls.clear();
    dialogs.answer = root.Path() + "Autres\\rock.htm";
    wine_support::BoxScript warnings{wine_support::BoxOwner::ThisThread(), "Warning"};
    choosers.SpeedButton3Click();
    ASSERT_EQ(warnings.Boxes().size(), 1u);
    EXPECT_EQ(warnings.Boxes()[0].text,
              "Ooops ! La page choisie doit obligatoirement se trouver dans le dossier\r\n" + root.Path() + "Pages\\");
    EXPECT_TRUE(ShowsTheWarningIcon(warnings.Boxes()[0]));
    EXPECT_TRUE(fields.calls.empty());
}

TEST_F(ChoosersWin32Test, IconsAreCheckedAsPicturesBeforeTheirNameIsTaken) {
    dialogs.answer = root.Path() + "Images\\note.bmp";
    choosers.Image4Click();
    EXPECT_EQ(fields.calls, std::vector<std::string>{"icon note.bmp " + root.Path() + "Images\\note.bmp"});

    fields.calls.clear();
    dialogs.answer = root.Path() + "Images\\casse.bmp";
    try {
        choosers.Image4Click();
        ADD_FAILURE() << "a file that is no picture was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("casse.bmp"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fields.calls.empty());
}

TEST_F(ChoosersWin32Test, ImportAndExportSayTheyAreNotFinishedAndWriteNothing) {
    dialogs.answer = root.Path() + "Autres\\liste.zip";
    wine_support::BoxScript warnings{wine_support::BoxOwner::ThisThread(), "Warning"};
    for (auto click : {&EditorChoosers::PngSpeedButton6Click, &EditorChoosers::PngSpeedButton5Click}) (choosers.*click)();
    ASSERT_EQ(warnings.Boxes().size(), 2u);
    for (const wine_support::Box& box : warnings.Boxes()) {
        EXPECT_EQ(box.text, "\n\rOoops ! D\xE9sol\xE9, cette fonction n'a pas encore \xE9t\xE9 finalis\xE9" "e...");
        EXPECT_TRUE(ShowsTheWarningIcon(box));
    }
    EXPECT_EQ(::GetFileAttributesA((root.Path() + "Autres\\liste.zip").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(fields.calls.empty());
}

HWND FindDescendant(HWND parent, const char* className) {
    HWND found = ::FindWindowExA(parent, nullptr, className, nullptr);
    for (HWND child = ::GetWindow(parent, GW_CHILD); !found && child; child = ::GetWindow(child, GW_HWNDNEXT))
        found = FindDescendant(child, className);
    return found;
}

HWND FindControl(HWND parent, int id) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) return child;
        if (HWND found = FindControl(child, id)) return found;
    }
    return nullptr;
}

// The real icon dialog opens on "Images" with its filter, previews the
// selected picture, and a cancel gives no choice.
TEST_F(ChoosersWin32Test, RealIconDialogOpensOnImagesPreviewsAndCancels) {
    const FileDialogRequest request = IconDialogRequest(folder);
    std::string folderShown, filterShown, screenshot;
    bool dialogSeen = false, previewShown = false;
    int ticks = 0, ticksWithPreview = 0;
    HWND dialog = nullptr;
    auto answerOnceShown = [&](const wine_support::Box& box) {
        if (!dialog) {
            dialog = box.window;
            dialogSeen = true;
            char path[MAX_PATH] = {};
            ::SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(path));
            folderShown = path;
            filterShown = WindowText(::GetDlgItem(dialog, cmb1));
            // Select the picture, as a click in the list would.
            if (HWND list = FindDescendant(dialog, "SysListView32")) {
                LVFINDINFOA find{LVFI_STRING, "note.bmp"};
                const auto index = ::SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(&find));
                LVITEMA item{};
                item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
                ::SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
            }
            return false;
        }
        ++ticks;
        if (!previewShown) {
            HWND preview = FindControl(dialog, kIconPreviewControl);
            previewShown = preview && ::SendMessageA(preview, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        } else if (++ticksWithPreview == 10) {
            // Painted by now: the picture shows the dialog as the user sees it.
            screenshot = wine_support::SaveScreenshot("icon-chooser.png");
        }
        if (screenshot.empty() && ticks < 120) return false;
        if (screenshot.empty()) screenshot = wine_support::SaveScreenshot("icon-chooser.png");
        return true;
    };
    wine_support::BoxScript script{wine_support::BoxOwner::ThisThread(), request.title.c_str(), IDCANCEL, answerOnceShown};
    Win32FileDialogs real(nullptr);
    EXPECT_EQ(real.Show(request), std::nullopt);
    ASSERT_TRUE(dialogSeen) << "the dialog titled \"" << request.title << "\" never appeared";
    std::string expectedFolder = root.Path() + "Images";
    EXPECT_EQ(folderShown, expectedFolder);
    EXPECT_EQ(filterShown, "Images 16x16 (*.bmp)");
    EXPECT_TRUE(previewShown) << "the selected picture never reached the preview";
    EXPECT_FALSE(screenshot.empty());
}
}  // namespace
