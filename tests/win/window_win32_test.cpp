#include "win/window_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/modal_boxes_win32.h"

namespace {
class ThrowingWindow : public MessageWindow {
public:
    static constexpr UINT kThrow = WM_APP + 1;
    ThrowingWindow() { CreateMessageOnly("SonorafluxTestThrowing"); }
    int handled = 0;
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kThrow) {
            ++handled;
            throw std::runtime_error("boom");
        }
        return MessageWindow::HandleMessage(msg, wp, lp);
    }
    void OnFinalMessage() override { destroyed = true; }
};
}  // namespace

TEST(Window, ExceptionInHandlerStopsAtDispatchAndShowsTheErrorBox) {
    ThrowingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    wine_support::BoxScript closer{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    const LRESULT r = ::SendMessageA(window.Handle(), ThrowingWindow::kThrow, 0, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(window.handled, 1);
    EXPECT_EQ(closer.Texts(), std::vector<std::string>{"boom."}) << "one box, the message with its full stop";
    EXPECT_EQ(::FindWindowA("#32770", "Sonoraflux"), nullptr);
}

TEST(Window, ForgetsItsHandleWhenTheSystemDestroysIt) {
    ThrowingWindow window;
    HWND hwnd = window.Handle();
    ASSERT_TRUE(::DestroyWindow(hwnd));
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.Handle(), nullptr);
}
