// Bounded waits for tests under Wine: they pump this thread's messages, so
// windows, timers and modal loops go on while the test waits.
#pragma once
#include <windows.h>

#include <functional>

namespace wine_support {

// Pumps this thread's messages until done() is true or timeoutMs passes;
// returns done()'s last answer. Never a bare sleep.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Pumps messages for about ms milliseconds.
void PumpFor(DWORD ms);

}  // namespace wine_support
