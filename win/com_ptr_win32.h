// Owning COM interface pointer: AddRef on copy, Release on reset, no way to
// leak through put() or assignment.
#pragma once
#include <unknwn.h>
#include <utility>

template <typename I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(I* raw) noexcept {
        ComPtr p;
        p.ptr_ = raw;
        return p;
    }
    // Adds a reference of its own.
    static ComPtr Share(I* raw) noexcept {
        if (raw) raw->AddRef();
        return Attach(raw);
    }
    ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComPtr() { reset(); }

    I* get() const noexcept { return ptr_; }
    I* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    void reset() noexcept {
        if (I* old = std::exchange(ptr_, nullptr)) old->Release();
    }
    I** put() noexcept {
        reset();
        return &ptr_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    template <typename Other>
    ComPtr<Other> As() const noexcept {
        ComPtr<Other> result;
        if (ptr_) ptr_->QueryInterface(__uuidof(Other), result.putVoid());
        return result;
    }

private:
    I* ptr_ = nullptr;
};
