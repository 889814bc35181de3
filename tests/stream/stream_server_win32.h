// The loopback stream server of tests/stream/stream_server.py, started for one
// test and ended with it (it also ends itself after 90 s).
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

class StreamServer {
public:
    StreamServer() {
        std::string script;
        if (!wine_support::ReadFileBytes(wine_support::WindowsPathOf(SONORAFLUX_STREAM_SERVER), script)) return;
        wine_support::WriteFileBytes(folder_.Path() + "server.py", script);
        wine_support::RunUnixShell("cd '" + wine_support::UnixPathOf(folder_.Path()) +
                                   "' && (timeout 95 python3 -u server.py > server.log 2>&1 & echo $! > server.pid)");
        wine_support::PumpUntil(
            [&] {
                const std::string log = Log();
                if (log.rfind("port ", 0) != 0 || log.find('\n') == std::string::npos) return false;
                port_ = log.substr(5, log.find('\n') - 5);
                return true;
            },
            10000);
    }
    ~StreamServer() {
        wine_support::RunUnixShell("cd '" + wine_support::UnixPathOf(folder_.Path()) + "' && kill $(cat server.pid)");
    }
    StreamServer(const StreamServer&) = delete;
    StreamServer& operator=(const StreamServer&) = delete;

    bool Up() const { return !port_.empty(); }
    std::string Address(const std::string& path) const { return "http://127.0.0.1:" + port_ + path; }
    // Every request line and header line the server was sent, each after "> ".
    std::string Log() const {
        std::string log;
        wine_support::ReadFileBytes(folder_.Path() + "server.log", log);
        return log;
    }

private:
    wine_support::ScratchFolder folder_{"streams_"};
    std::string port_;
};
