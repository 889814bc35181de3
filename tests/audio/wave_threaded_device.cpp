#include "tests/audio/wave_threaded_device.h"

#include <chrono>
#include <exception>
#include <stdexcept>

namespace {
constexpr uintptr_t kThreadedHandle = 0x7EAD;

// True once done() holds; false when limitMs passed first.
bool SleepUntil(const std::function<bool()>& done, uint32_t limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
}  // namespace

CallbackThreads::~CallbackThreads() {
    std::map<uintptr_t, std::shared_ptr<Queue>> queues;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        queues.swap(queues_);
    }
    for (auto& [id, queue] : queues) {
        {
            std::lock_guard<std::mutex> guard(queue->mutex);
            queue->quit = true;
        }
        queue->ready.notify_all();
        if (queue->thread.joinable()) queue->thread.join();
    }
}

uintptr_t CallbackThreads::Start(WaveMessageDispatch dispatch) {
    auto queue = std::make_shared<Queue>();
    uintptr_t id = 0;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        id = nextId_++;
        queues_[id] = queue;
    }
    Queue* q = queue.get();
    queue->thread = std::thread([q, dispatch = std::move(dispatch)] {
        for (;;) {
            std::pair<uint32_t, uintptr_t> message;
            {
                std::unique_lock<std::mutex> lock(q->mutex);
                q->ready.wait(lock, [q] { return q->quit || !q->messages.empty(); });
                if (q->messages.empty()) return;  // quit, and nothing before it
                message = q->messages.front();
                q->messages.pop_front();
            }
            if (message.first == 0) return;  // the quit message
            dispatch(message.first, message.second);
        }
    });
    return id;
}

bool CallbackThreads::Post(uintptr_t target, uint32_t message, uintptr_t param) {
    std::shared_ptr<Queue> queue;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        auto found = queues_.find(target);
        if (found == queues_.end()) return false;
        queue = found->second;
    }
    {
        std::lock_guard<std::mutex> guard(queue->mutex);
        if (queue->quit) return false;
        queue->messages.emplace_back(message, param);
        // Quit is a message too: what was posted before it is still handled.
        if (message == 0) queue->quit = true;
    }
    queue->ready.notify_all();
    return true;
}

void CallbackThreads::Quit(uintptr_t target) { Post(target, 0, 0); }

void CallbackThreads::JoinEnded(uintptr_t live) {
    std::vector<std::shared_ptr<Queue>> ended;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        for (auto it = queues_.begin(); it != queues_.end();) {
            bool quit = false;
            {
                std::lock_guard<std::mutex> queueGuard(it->second->mutex);
                quit = it->second->quit;
            }
            if (it->first != live && quit) {
                ended.push_back(it->second);
                it = queues_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& queue : ended)
        if (queue->thread.joinable()) queue->thread.join();
}

ThreadedCallbackHost::~ThreadedCallbackHost() {
    if (const uintptr_t live = live_.exchange(0)) threads_.Quit(live);
    threads_.JoinEnded(0);
}

WaveCallbackHost::Target ThreadedCallbackHost::Create(bool async, WaveMessageDispatch dispatch) {
    if (!async) throw std::logic_error("the threaded host serves thread mode only");
    const uintptr_t id = threads_.Start(std::move(dispatch));
    live_ = id;
    return {id, kCallbackThread};
}

void ThreadedCallbackHost::Destroy() {
    if (const uintptr_t live = live_.exchange(0)) threads_.Quit(live);
}

bool ThreadedCallbackHost::WaitForClose(const std::function<bool()>& closed, uint32_t limitMs) {
    const bool inTime = SleepUntil(closed, limitMs);
    threads_.JoinEnded(live_);
    return inTime;
}

bool ThreadedCallbackHost::WaitForOpen(const std::function<bool()>& opening, uint32_t limitMs) {
    return SleepUntil([&] { return !opening(); }, limitMs);
}

void ThreadedCallbackHost::ReportException() noexcept {
    std::lock_guard<std::mutex> guard(mutex_);
    try {
        throw;
    } catch (const std::exception& e) {
        reported_.push_back(e.what());
    } catch (...) {
        reported_.push_back("?");
    }
}

std::vector<std::string> ThreadedCallbackHost::Reported() {
    std::lock_guard<std::mutex> guard(mutex_);
    return reported_;
}

void ThreadedWaveInDevice::Log(const std::string& call) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    calls_.push_back(call);
}

std::vector<std::string> ThreadedWaveInDevice::Calls() {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return calls_;
}

bool ThreadedWaveInDevice::Capture(uint32_t count) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (!started_ || queued_.empty()) return false;
    WaveHeader* header = queued_.Oldest();
    while (count > 0 && header->bytesRecorded < header->bufferLength) {
        header->data[header->bytesRecorded++] = static_cast<char>(captured_++ * 7 + 3);
        --count;
    }
    queued_.ReturnOldest();
    threads_.Post(target_, kMmWimData, reinterpret_cast<uintptr_t>(header));
    return true;
}

uint32_t ThreadedWaveInDevice::GetDevCaps(uint32_t, std::string& productName, uint32_t& formats) {
    productName = "Threaded input";
    formats = 0;
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::Open(uintptr_t& handle, uint32_t, const WaveFormatEx&, uintptr_t callback,
                                    uint32_t callbackType) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Log("Open");
    if (callbackType != kCallbackThread) throw std::logic_error("opened for another callback kind");
    handle = kThreadedHandle;
    target_ = callback;
    open_ = true;
    threads_.Post(target_, kMmWimOpen, 0);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::PrepareHeader(uintptr_t, WaveHeader& header) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    WaveBufferQueue::Prepare(header);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::UnprepareHeader(uintptr_t, WaveHeader& header) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (uint32_t refused = WaveBufferQueue::CheckUnprepare(header)) return refused;
    WaveBufferQueue::Unprepare(header);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::AddBuffer(uintptr_t, WaveHeader& header) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (uint32_t refused = WaveBufferQueue::CheckAdd(header)) return refused;
    queued_.Add(header);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::Start(uintptr_t) {
    Log("Start");
    if (onStart) onStart();
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    started_ = true;
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::Stop(uintptr_t) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Log("Stop");
    started_ = false;
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::Reset(uintptr_t) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Log("Reset");
    started_ = false;
    for (WaveHeader* header : queued_.ReturnAll()) threads_.Post(target_, kMmWimData, reinterpret_cast<uintptr_t>(header));
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::Close(uintptr_t) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (!queued_.empty()) return kWaveStillPlaying;
    Log("Close");
    open_ = false;
    threads_.Post(target_, kMmWimClose, 0);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::GetPosition(uintptr_t, WaveTime& time) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    time.type = kTimeBytes;
    time.u.cb = static_cast<uint32_t>(captured_);
    return kMmSysNoError;
}

uint32_t ThreadedWaveInDevice::GetErrorText(uint32_t code, std::string& text) {
    if (code != kMmSysError) return kMmSysInvalParam;
    text = "Unspecified error";
    return kMmSysNoError;
}
