// OLE for the user-interface thread, for as long as the object lives: the
// embedded browsers and drag and drop need it. The main window owns one,
// created before the browser host and the drop target and destroyed after them.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <stdexcept>

class OleSession {
public:
    OleSession() {
        // S_FALSE (already initialised on this thread) still has to be paired
        // with OleUninitialize.
        if (FAILED(::OleInitialize(nullptr))) throw std::runtime_error("Impossible d'initialiser OLE");
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() { ::OleUninitialize(); }
};
