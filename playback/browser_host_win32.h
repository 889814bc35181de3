// The hidden window that holds the two embedded browsers (the main window's
// TForm2): borderless, off-screen at (-1000, -1000), shown only while a
// navigation is being started.
#pragma once
#include <windows.h>

#include <memory>

#include "playback/browser_control_win32.h"
#include "playback/playback.h"
#include "win/window_win32.h"

class BrowserHost : public Window, public BrowserWindow {
public:
    static constexpr int kClientWidth = 295;
    static constexpr int kClientHeight = 62;
    static constexpr int kLeft = -1000;
    static constexpr int kTop = -1000;
    static constexpr RECT kFirstPlace{0, 0, 113, 49};
    static constexpr RECT kSecondPlace{160, 0, 281, 49};

    // Creates the hidden window and both controls. The thread must have OLE
    // initialised (the main window's OleSession) for the host's whole life.
    BrowserHost();
    ~BrowserHost() override;

    // Plays the entries; also the rotation window's jingle preview.
    EmbeddedBrowser& FirstBrowser() override { return Alive(first_); }
    // Plays the rotation's jingle between entries.
    EmbeddedBrowser& SecondBrowser() { return Alive(second_); }

    // Shows the host without taking the focus (it stays off-screen), and hides it.
    void Show() override;
    void Hide() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static EmbeddedBrowser& Alive(const std::unique_ptr<EmbeddedBrowser>& browser);
    void CloseBrowsers() noexcept;

    std::unique_ptr<EmbeddedBrowser> first_;
    std::unique_ptr<EmbeddedBrowser> second_;
};
