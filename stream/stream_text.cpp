#include "stream/stream_text.h"

#include <algorithm>
#include <cstdint>

namespace {
bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Lines without their CR LF or LF; the last one may be unended.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!visit(line)) return;
        if (end == std::string_view::npos) return;
        text.remove_prefix(end + 1);
    }
}

bool IsStatusLine(std::string_view line) { return StartsWith(line, "HTTP/") || StartsWith(line, "ICY "); }

int StatusOf(std::string_view line) {
    const std::size_t space = line.find(' ');
    int status = 0;
    for (std::size_t i = space + 1; space != std::string_view::npos && i < line.size() && i < space + 4; ++i) {
        if (line[i] < '0' || line[i] > '9') return 0;
        status = status * 10 + (line[i] - '0');
    }
    return status;
}

bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// "Name: value" with a token for name and no control character.
bool IsHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) return false;
    if (!std::all_of(line.begin(), line.begin() + colon, IsTokenChar)) return false;
    return std::none_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

// Digits only; values past kMaxMetaInterval are kept just past it, so no sum
// with them can overflow.
std::size_t MetaIntervalOf(std::string_view value) {
    if (value.empty()) return 0;
    std::size_t interval = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return 0;
        interval = std::min<std::size_t>(interval * 10 + static_cast<std::size_t>(c - '0'), kMaxMetaInterval + 1);
    }
    return interval;
}

void TakeHeader(std::string_view line, StreamHeaders& headers) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string name = LowerCase(Trimmed(line.substr(0, colon)));
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (name == "content-type")
        headers.contentType = LowerCase(Trimmed(value.substr(0, value.find(';'))));
    else if (name == "icy-name")
        headers.name = StreamTitleText(value);
    else if (name == "icy-metaint")
        headers.metaInterval = MetaIntervalOf(value);
}

// Unicode characters of code page 1252 in 0x80..0x9F, by their byte.
constexpr std::uint16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                         0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code page 1252 byte of a character; '?' when it has none, 0 for C1 controls.
char AnsiOf(std::uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    if (code < 0xA0) return 0;
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == code) return static_cast<char>(0x80 + i);
    return '?';
}

// Bytes that follow a UTF-8 lead byte; -1 for a byte that cannot lead.
int ContinuationCount(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

// UTF-8 in code page 1252, or nothing when the text is not valid UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
std::optional<std::string> AnsiFromUtf8(std::string_view text) {
    std::string ansi;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = ContinuationCount(lead);
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
        std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        if (const char c = AnsiOf(code)) ansi += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return ansi;
}

// The value of name="..." in a tag-wrapped title; empty when it has none.
std::string_view AttributeOf(std::string_view tags, std::string_view name) {
    for (std::size_t at = tags.find(name); at != std::string_view::npos; at = tags.find(name, at + 1)) {
        const bool wordStart = at == 0 || tags[at - 1] == ' ';
        const std::string_view rest = tags.substr(at + name.size());
        if (!wordStart || !StartsWith(rest, "=\"")) continue;
        const std::string_view value = rest.substr(2);
        return value.substr(0, value.find('"'));
    }
    return {};
}

// Servers that wrap the title in their own tags start it with name="...".
std::string Unwrapped(std::string_view raw) {
    const std::size_t equals = raw.find("=\"");
    if (equals == 0 || equals == std::string_view::npos ||
        !std::all_of(raw.begin(), raw.begin() + equals, IsTokenChar))
        return std::string(raw);
    if (const std::string_view text = AttributeOf(raw, "text"); !text.empty()) return std::string(text);
    const std::string_view artist = AttributeOf(raw, "artist"), title = AttributeOf(raw, "title");
    if (!artist.empty() && !title.empty()) return std::string(artist) + " - " + std::string(title);
    return std::string(title.empty() ? artist : title);
}

bool IsShownByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7F && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 &&
           byte != 0x9D;
}
}  // namespace

StreamHeaders ParseHeaderLines(std::string_view text) {
    StreamHeaders headers;
    bool first = true;
    ForEachLine(text.substr(0, kMaxHeaderBytes), [&](std::string_view line) {
        if (line.empty()) return false;
        if (first && IsStatusLine(line))
            headers.status = StatusOf(line);
        else
            TakeHeader(line, headers);
        first = false;
        return true;
    });
    return headers;
}

std::optional<BodyHeaders> HeadersAtBodyStart(std::string_view body) {
    body = body.substr(0, kMaxHeaderBytes);
    std::size_t length = 0;
    bool ended = false, valid = true;
    ForEachLine(body, [&](std::string_view line) {
        const std::size_t next = body.find('\n', length);
        if (next == std::string_view::npos) return valid = false;  // the blank line is not in reach
        if (line.empty()) {
            ended = length > 0;
            length = next + 1;
            return false;
        }
        valid = IsHeaderLine(line) || (length == 0 && IsStatusLine(line));
        length = next + 1;
        return valid;
    });
    if (!valid || !ended) return std::nullopt;
    return BodyHeaders{ParseHeaderLines(body.substr(0, length)), length};
}

std::string StreamTitleOf(std::string_view block) {
    block = block.substr(0, block.find('\0'));
    static constexpr std::string_view kKey = "StreamTitle='";
    const std::size_t start = block.find(kKey);
    if (start == std::string_view::npos) return {};
    std::string_view title = block.substr(start + kKey.size());
    const std::size_t end = title.find("';");
    title = title.substr(0, end);
    if (end == std::string_view::npos && !title.empty() && title.back() == '\'') title.remove_suffix(1);
    return StreamTitleText(title);
}

std::string StreamTitleText(std::string_view raw) {
    const std::string unwrapped = Unwrapped(raw);
    std::string text = AnsiFromUtf8(unwrapped).value_or(unwrapped);
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return !IsShownByte(c); }), text.end());
    const std::string_view trimmed = Trimmed(std::string_view(text).substr(0, kMaxTitleLength));
    return std::string(trimmed);
}
