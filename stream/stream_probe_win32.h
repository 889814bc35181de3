// The stream probe: asks a stream's server what it plays through the system's
// internet library (the user's proxies, TLS and redirects), on a thread of its
// own, one ask at a time. The user-interface thread never waits on the
// network: the answer comes back as a message to the probe's hidden window,
// and an abandoned ask has its connection closed and its answer ignored.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "stream/stream_report.h"
#include "win/handles_win32.h"
#include "win/window_win32.h"

namespace handles {
inline void CloseInternetHandle(HINTERNET h) { ::InternetCloseHandle(h); }
}  // namespace handles
using UniqueInternetHandle = UniqueHandle<HINTERNET, NullHandleTraits<HINTERNET, handles::CloseInternetHandle>>;

class StreamProbe : private MessageWindow {
public:
    // Connect, send and each read; name resolution has no limit of its own.
    static constexpr DWORD kTimeLimitMs = 10000;
    // An ask that has not ended by then is a time-out, whatever the library
    // does (Wine keeps no read limit set on a session, and name resolution
    // has none anywhere).
    static constexpr DWORD kAskLimitMs = 15000;
    // The longest the probe's end waits for a thread still blocked in the library.
    static constexpr DWORD kEndWaitMs = 500;

    using OnReport = std::function<void(const StreamReport&)>;
    // onReport runs on the thread that made the probe, once per ask that ends
    // without being abandoned.
    explicit StreamProbe(OnReport onReport);
    ~StreamProbe() override;

    // Asks about an http or https address; an ask in progress is abandoned.
    void Ask(const std::string& address, bool playlist);
    void Abandon() noexcept;
    bool Asking() const noexcept { return current_ != nullptr; }

    // What every ask is made with; the tests read them back.
    static UniqueInternetHandle OpenSession();
    static DWORD RequestFlags();
    static constexpr const char* kRequestHeaders = "Icy-MetaData: 1\r\n";

    struct AskState;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Answer(const std::optional<StreamReport>& report);

    OnReport onReport_;
    std::shared_ptr<AskState> current_;
    UniqueKernelHandle thread_;
    unsigned lastNumber_ = 0;
};
