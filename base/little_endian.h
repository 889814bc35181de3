// WAV headers, dropped shell records and the encoder's settings record hold
// their numbers least significant byte first, whatever the machine reading them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

inline std::uint32_t ReadLittleEndian(const void* bytes, std::size_t count) {
    const auto* b = static_cast<const unsigned char*>(bytes);
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | b[i];
    return value;
}

inline std::uint16_t ReadLe16(const void* bytes) { return static_cast<std::uint16_t>(ReadLittleEndian(bytes, 2)); }
inline std::uint32_t ReadLe32(const void* bytes) { return ReadLittleEndian(bytes, 4); }
inline std::uint16_t ReadLe16(std::string_view bytes, std::size_t at) { return ReadLe16(bytes.data() + at); }
inline std::uint32_t ReadLe32(std::string_view bytes, std::size_t at) { return ReadLe32(bytes.data() + at); }
