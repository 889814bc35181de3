#include "stream/stream_probe_win32.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace {
constexpr UINT kAnsweredMessage = WM_APP + 1;
}  // namespace

// Shared by the probe and the thread of one ask. Whoever takes the handles out
// under the lock closes them: the probe when it abandons the ask (which also
// breaks a call in progress), the thread when it ends first.
struct StreamProbe::AskState {
    std::string address;
    bool playlist = false;
    unsigned number = 0;
    HWND window = nullptr;
    std::mutex lock;
    bool abandoned = false;
    UniqueInternetHandle session;
    UniqueInternetHandle request;
    std::optional<StreamReport> report;
};

namespace {
using AskState = StreamProbe::AskState;

class WinInetConnection : public StreamConnection {
public:
    explicit WinInetConnection(HINTERNET request) : request_(request) {}
    std::string HeaderText() override {
        std::string headers(4096, '\0');
        DWORD size = static_cast<DWORD>(headers.size());
        if (!::HttpQueryInfoA(request_, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &size, nullptr)) {
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size > 4 * kMaxHeaderBytes) return {};
            headers.resize(size);
            if (!::HttpQueryInfoA(request_, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &size, nullptr)) return {};
        }
        headers.resize(std::min<std::size_t>(size, headers.size()));
        return headers;
    }
    std::size_t Read(char* buffer, std::size_t count) override {
        DWORD read = 0;
        if (!::InternetReadFile(request_, buffer, static_cast<DWORD>(std::min<std::size_t>(count, 65536)), &read))
            return 0;
        return read;
    }

private:
    HINTERNET request_;
};

ProbeFailure FailureOf(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return ProbeFailure::kNameNotFound;
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_CONNECTION_ABORTED: return ProbeFailure::kRefused;
    case ERROR_INTERNET_TIMEOUT: return ProbeFailure::kTimeOut;
    default: return ProbeFailure::kOther;
    }
}

StreamReport Failed(ProbeFailure failure) {
    StreamReport report;
    report.failure = failure;
    return report;
}

// Hands a handle to the shared state unless the ask was abandoned meanwhile;
// returns false (and closes the handle) when it was.
bool Publish(AskState& ask, UniqueInternetHandle& into, UniqueInternetHandle handle) {
    std::lock_guard<std::mutex> guard(ask.lock);
    if (ask.abandoned) return false;
    into = std::move(handle);
    return true;
}

std::optional<StreamReport> AskServer(AskState& ask) {
    UniqueInternetHandle session = StreamProbe::OpenSession();
    if (!session) return Failed(ProbeFailure::kOther);
    const HINTERNET sessionHandle = session.get();
    if (!Publish(ask, ask.session, std::move(session))) return std::nullopt;
    UniqueInternetHandle request(::InternetOpenUrlA(sessionHandle, ask.address.c_str(),
                                                    StreamProbe::kRequestHeaders, static_cast<DWORD>(-1),
                                                    StreamProbe::RequestFlags(), 0));
    if (!request) return Failed(FailureOf(::GetLastError()));
    const HINTERNET requestHandle = request.get();
    if (!Publish(ask, ask.request, std::move(request))) return std::nullopt;
    WinInetConnection connection(requestHandle);
    return ReadStreamAnswer(connection, ask.playlist);
}

void Finish(AskState& ask, StreamReport report) {
    std::lock_guard<std::mutex> guard(ask.lock);
    if (ask.abandoned) return;
    ask.request.reset();
    ask.session.reset();
    ask.report = std::move(report);
    ::PostMessageA(ask.window, kAnsweredMessage, ask.number, 0);
}

DWORD WINAPI RunAsk(void* parameter) {
    std::unique_ptr<std::shared_ptr<AskState>> owned(static_cast<std::shared_ptr<AskState>*>(parameter));
    AskState& ask = **owned;
    std::optional<StreamReport> report;
    try {
        report = AskServer(ask);
    } catch (...) {
        report = Failed(ProbeFailure::kOther);
    }
    if (report) Finish(ask, std::move(*report));
    return 0;
}
}  // namespace

StreamProbe::StreamProbe(OnReport onReport) : onReport_(std::move(onReport)) {
    CreateMessageOnly("SonorafluxStreamProbe");
}

StreamProbe::~StreamProbe() {
    const UniqueKernelHandle thread = std::move(thread_);
    Abandon();
    if (thread) ::WaitForSingleObject(thread.get(), kEndWaitMs);
    Destroy();
}

UniqueInternetHandle StreamProbe::OpenSession() {
    UniqueInternetHandle session(::InternetOpenA("Sonoraflux", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return session;
    DWORD limit = kTimeLimitMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionA(session.get(), option, &limit, sizeof limit);
    return session;
}

DWORD StreamProbe::RequestFlags() {
    // A stream never ends: nothing of it may go to the cache. Stations move
    // between http and https, which the library refuses to follow by default.
    return INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
           INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_NO_UI |
           INTERNET_FLAG_NO_COOKIES;
}

void StreamProbe::Ask(const std::string& address, bool playlist) {
    Abandon();
    auto ask = std::make_shared<AskState>();
    ask->address = address;
    ask->playlist = playlist;
    ask->number = ++lastNumber_;
    ask->window = Handle();
    auto* parameter = new std::shared_ptr<AskState>(ask);
    thread_.reset(::CreateThread(nullptr, 0, RunAsk, parameter, 0, nullptr));
    if (!thread_) {
        delete parameter;
        throw std::runtime_error("CreateThread failed");
    }
    ::SetTimer(Handle(), ask->number, kAskLimitMs, nullptr);
    current_ = std::move(ask);
}

void StreamProbe::Abandon() noexcept {
    if (!current_) return;
    ::KillTimer(Handle(), current_->number);
    {
        std::lock_guard<std::mutex> guard(current_->lock);
        current_->abandoned = true;
        current_->request.reset();
        current_->session.reset();
    }
    current_.reset();
    // The thread may stay blocked in the library (name resolution has no
    // limit): nothing waits for it; it ends on its own and finds itself abandoned.
    thread_.reset();
}

LRESULT StreamProbe::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const bool current = current_ && current_->number == static_cast<unsigned>(wp);
    if (msg == WM_TIMER) {
        ::KillTimer(Handle(), wp);
        if (current) Answer(Failed(ProbeFailure::kTimeOut));
        return 0;
    }
    if (msg != kAnsweredMessage) return MessageWindow::HandleMessage(msg, wp, lp);
    if (!current) return 0;  // a late answer
    std::optional<StreamReport> report;
    {
        std::lock_guard<std::mutex> guard(current_->lock);
        report = std::move(current_->report);
    }
    Answer(report);
    return 0;
}

// Ends the current ask (abandoning it, when it is still running) and hands its report on.
void StreamProbe::Answer(const std::optional<StreamReport>& report) {
    Abandon();
    if (report && onReport_) onReport_(*report);
}
