#include "audio/wave_stream.h"

#include <algorithm>
#include <cstring>

int64_t MemoryByteStream::Seek(int64_t offset, SeekOrigin origin) {
    const int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_
                                                                                          : static_cast<int64_t>(bytes_.size());
    if (base + offset < 0) throw EStreamError("Seek before the start of the stream");
    position_ = base + offset;
    return position_;
}

int32_t MemoryByteStream::Read(void* buffer, int32_t count) {
    const int64_t available = std::max<int64_t>(0, static_cast<int64_t>(bytes_.size()) - position_);
    const int32_t n = static_cast<int32_t>(std::clamp<int64_t>(count, 0, available));
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int32_t MemoryByteStream::Write(const void* buffer, int32_t count) {
    if (count <= 0) return 0;
    // Writing past the end leaves zero bytes in the gap, as a file does.
    const auto end = static_cast<size_t>(position_ + count);
    if (bytes_.size() < end) bytes_.resize(end, '\0');
    std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

void MemoryByteStream::SetSize(int64_t size) {
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    position_ = std::min<int64_t>(position_, static_cast<int64_t>(bytes_.size()));
}
