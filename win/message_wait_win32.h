// Handling this thread's waiting messages from inside a long operation: the
// platform's "process messages" step, and a wait that keeps the thread's
// windows alive while it blocks.
#pragma once
#include <windows.h>

// Handles what is waiting in this thread's queue; false once WM_QUIT was seen
// (it is posted again for the thread's own loop). With dropInput, keyboard and
// mouse messages are thrown away instead.
bool PumpWaitingMessages(bool dropInput);

// PumpWaitingMessages keeping the user's input.
bool ProcessPendingMessages();

// Waits for handle while handling this thread's posted, sent, timer and paint
// messages; keyboard and mouse input is dropped meanwhile. WM_QUIT ends the
// wait (and is posted again for the thread's own loop). Returns the last
// result of MsgWaitForMultipleObjects.
DWORD MessagePumpingWait(HANDLE handle, DWORD timeoutMs);
