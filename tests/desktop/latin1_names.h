// Latin-1 stands in for the ANSI code page in the platform-free drop tests:
// a name converts when every unit fits in one byte.
#pragma once
#include <optional>
#include <string>
#include <string_view>

inline std::optional<std::string> Latin1Name(std::u16string_view wide) {
    std::string name;
    for (char16_t unit : wide) {
        if (unit > 0xFF) return std::nullopt;
        name += static_cast<char>(unit);
    }
    return name;
}
