// The system's text for an error code.
#pragma once
#include <windows.h>

#include <string>

// The message of the code, without its trailing line end; a plain
// "System error N" when the system has none.
std::string SystemErrorText(DWORD code);
