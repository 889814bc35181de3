// A user's journeys through the real Sonoraflux.exe, staged as shipped and
// driven from outside as a person would: the tray menu chosen by what it
// reads, the editor's controls by their ids, the files it writes, and what a
// local web server sees the hidden browser ask for.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/editor_controls.h"
#include "tests/app/program_driver.h"
#include "tests/support/wine_support.h"

using namespace program_driver;
using namespace editor_controls;

namespace {
class JourneyTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = wine_support::CopyProgramFolder();
        ASSERT_FALSE(folder.empty()) << "program folder not staged";
        wine_support::PumpUntil([] { return VisibleBalloon() == nullptr; }, 15000);
    }

    // Starts the program and waits for its ready notice.
    void Start(const std::string& list) {
        ASSERT_TRUE(wine_support::WriteFileBytes(folder + "Sonoraflux.ini", list));
        program = std::make_unique<RunningProgram>(folder);
        ASSERT_TRUE(program->WaitForMainWindow(20000));
        ASSERT_TRUE(wine_support::PumpUntil([] { return VisibleBalloon() != nullptr; }, 20000)) << "ready notice";
    }

    HWND Editor() const { return program->MainWindow(); }

    void OpenEditor() {
        // Hiding the editor keeps the program busy for a moment under Wine
        // without a window manager: the menu is answered once it is free.
        DWORD_PTR answer = 0;
        ASSERT_NE(::SendMessageTimeoutA(Editor(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
        ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Editer..."}));
        ASSERT_TRUE(wine_support::PumpUntil([&] { return ::IsWindowVisible(Editor()) != FALSE; }, 5000));
    }

    std::string Text(int id) const {
        char buffer[512] = {};
        ::SendMessageA(::GetDlgItem(Editor(), id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    void Type(int id, const char* text) {
        ::SendMessageA(::GetDlgItem(Editor(), id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    void Click(int id) { ::PostMessageA(::GetDlgItem(Editor(), id), BM_CLICK, 0, 0); }

    std::string ListFile() const {
        std::string bytes;
        wine_support::ReadFileBytes(folder + "Sonoraflux.ini", bytes);
        return bytes;
    }

    std::string folder;
    std::unique_ptr<RunningProgram> program;
};

// A web server on the loopback that keeps the path of every request.
class LoopbackServer {
public:
    LoopbackServer() : port_(20000 + static_cast<int>(::GetCurrentProcessId() % 20000)) {
        log_ = wine_support::Env("SONORAFLUX_BENCH", "/tmp") + "/journey-http-" + std::to_string(port_) + ".log";
        wine_support::RunUnixShell("cd /tmp && (setsid python3 -m http.server " + std::to_string(port_) +
                                   " --bind 127.0.0.1 > '" + log_ + "' 2>&1 & echo $! > '" + log_ + ".pid')");
        wine_support::PumpFor(800);
    }
    ~LoopbackServer() { wine_support::RunUnixShell("kill $(cat '" + log_ + ".pid'); rm -f '" + log_ + "' '" + log_ + ".pid'"); }

    std::string Address(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    bool Saw(const std::string& path) const {
        std::string log;
        wine_support::ReadFileBytes(wine_support::WindowsPathOf(log_), log);
        return log.find("\"GET " + path + " ") != std::string::npos;
    }

private:
    int port_;
    std::string log_;
};

TEST_F(JourneyTest, PlayAStationThenAnotherThenStop) {
    LoopbackServer server;
    // Captions that read well on the screen.
    Start("Jazz du soir;" + server.Address("/jazz") + ";;1\r\nFrance Culture;" + server.Address("/culture") +
          ";;1\r\n");
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "Jazz du soir"}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/jazz"); }, 10000)) << "the browser asks for it";
    EXPECT_FALSE(server.Saw("/culture"));
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Ma liste", "France Culture"}));
    EXPECT_TRUE(wine_support::PumpUntil([&] { return server.Saw("/culture"); }, 10000)) << "then for the other";
    ASSERT_TRUE(ChooseTrayMenuItem(*program, {"Arrêter"}));
    wine_support::PumpFor(1000);
    EXPECT_EQ(FindProcessWindow(program->Pid(), "#32770"), nullptr) << "no error box";
    EXPECT_FALSE(program->WaitForExit(100)) << "still running";
}

TEST_F(JourneyTest, AddAnEntryThenCancelLeavesTheListAsItWas) {
    const std::string list = "Alpha;a.htm;;1\r\nBeta;b.htm;;1\r\n";
    Start(list);
    OpenEditor();
    Click(kNew);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Text(kSave) == "Ajouter"; }, 3000)) << "adding mode";
    Type(kTitleField, "Gamma");
    Type(kAddressField, "http://gamma/");
    Click(kCancel);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return Text(kSave) == "Enregistrer"; }, 3000)) << "back to editing";
    EXPECT_TRUE(::IsWindowVisible(Editor())) << "the first cancel only leaves adding mode";
    Click(kCancel);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000)) << "the second hides";
    EXPECT_EQ(ListFile(), list) << "nothing written";
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Alpha") << "the editor opens on the first entry";
}

TEST_F(JourneyTest, DeletingTheLastEntryAndSavingLeavesThePlaceholder) {
    Start("Seule;s.htm;;1\r\n");
    OpenEditor();
    EXPECT_EQ(Text(kTitleField), "Seule");
    Click(kDelete);
    ASSERT_TRUE(wine_support::PumpUntil([&] { return Text(kTitleField).empty(); }, 3000))
        << "the placeholder shows an empty title, read: " << Text(kTitleField);
    wine_support::PumpFor(300);
    EXPECT_FALSE(wine_support::SaveScreenshot("journey-last-entry-deleted.png").empty());
    Click(kSave);
    EXPECT_TRUE(wine_support::PumpUntil([&] { return ListFile() == "Vide;;;1\r\n"; }, 5000)) << ListFile();
    EXPECT_TRUE(wine_support::PumpUntil([&] { return !::IsWindowVisible(Editor()); }, 5000));
}
}  // namespace
