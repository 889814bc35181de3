#include "win/message_wait_win32.h"

#include "win/dialog_keys_win32.h"
#include "win/handles_win32.h"

namespace {
bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}
}  // namespace

bool PumpWaitingMessages(bool dropInput) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (dropInput && IsUserInput(msg.message)) continue;
        if (HandleDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

bool ProcessPendingMessages() { return PumpWaitingMessages(false); }

DWORD MessagePumpingWait(HANDLE handle, DWORD timeoutMs) {
    // The pseudo-handles of the current thread or process cannot be waited on as such.
    UniqueKernelHandle duplicate;
    if (handle == ::GetCurrentThread() || handle == ::GetCurrentProcess()) {
        ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), duplicate.put(), SYNCHRONIZE, FALSE, 0);
        handle = duplicate.get();
    }
    DWORD result;
    do {
        const DWORD start = ::GetTickCount();
        result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs,
                                             QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 + 1) {
            if (!PumpWaitingMessages(true)) break;
            if (timeoutMs != INFINITE) {
                const DWORD elapsed = ::GetTickCount() - start;
                timeoutMs = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
            }
        }
    } while (result == WAIT_OBJECT_0 + 1);
    return result;
}
