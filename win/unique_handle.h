// One move-only owner for every kind of system handle. A Traits type names the
// "no handle" value and how to close one, so HMENU, HKEY, HANDLE (whose invalid
// value differs by API), HMMIO and the rest share the same code.
#pragma once
#include <utility>

template <typename T, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    T release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void reset(T handle = Traits::Invalid()) noexcept {
        T old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

    // For out-parameters: closes what is held first, so taking the address never leaks.
    T* put() noexcept {
        reset();
        return &handle_;
    }

private:
    T handle_ = Traits::Invalid();
};

// Traits for handles whose "none" value is a null pointer or zero.
template <typename T, auto CloseFn>
struct NullHandleTraits {
    static constexpr T Invalid() noexcept { return T{}; }
    static void Close(T handle) noexcept { CloseFn(handle); }
};
