// Which frame an animation shows: frames 0 .. count-1 in order, wrapping to
// 0; back to frame 0 when stopped. An animation without frames stays at 0.
#pragma once

class FrameCycle {
public:
    explicit FrameCycle(int count = 0) noexcept { SetCount(count); }

    void SetCount(int count) noexcept {
        count_ = count > 0 ? count : 0;
        if (current_ >= count_) current_ = 0;
    }
    int Count() const noexcept { return count_; }
    int Current() const noexcept { return current_; }

    void Advance() noexcept { current_ = count_ > 0 ? (current_ + 1) % count_ : 0; }
    void Reset() noexcept { current_ = 0; }

private:
    int count_ = 0;
    int current_ = 0;
};
