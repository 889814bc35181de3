// The message wait that long operations use: posted messages handled, input
// dropped, WM_QUIT kept for the thread's own loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/handles_win32.h"
#include "win/message_wait_win32.h"
#include "win/window_win32.h"

namespace {

// Counts the messages that reach it.
class CountingWindow : public MessageWindow {
public:
    CountingWindow() { CreateMessageOnly("SonorafluxTestCounting"); }
    int app = 0, keys = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_APP) ++app;
        if (msg == WM_KEYDOWN) ++keys;
        return MessageWindow::HandleMessage(msg, wp, lp);
    }
};

TEST(MessagePumpingWait, HandlesPostedMessagesDropsInputAndEndsOnTheHandle) {
    CountingWindow window;
    UniqueKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(MessagePumpingWait(event.get(), 50), static_cast<DWORD>(WAIT_TIMEOUT));

    struct Poster {
        HWND window;
        HANDLE event;
    } poster{window.Handle(), event.get()};
    UniqueKernelHandle thread(::CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* args = static_cast<Poster*>(p);
            ::Sleep(50);
            ::PostMessageA(args->window, WM_KEYDOWN, 'A', 0);
            ::PostMessageA(args->window, WM_APP, 0, 0);
            ::Sleep(100);
            ::SetEvent(args->event);
            return 0;
        },
        &poster, 0, nullptr));
    EXPECT_EQ(MessagePumpingWait(event.get(), INFINITE), WAIT_OBJECT_0);
    ::WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_EQ(window.app, 1);
    EXPECT_EQ(window.keys, 0) << "input waits are not the moment to type";

    ::ResetEvent(event.get());
    ::PostQuitMessage(3);
    EXPECT_EQ(MessagePumpingWait(event.get(), INFINITE), WAIT_OBJECT_0 + 1) << "WM_QUIT ends the wait";
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and stays for the thread's loop";
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
