// What a stream server hands us: a selector byte (0 headers, 1 headers at the
// start of a body, 2 a metadata block, 3 a playlist, 4 a page), then the bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "stream/stream_address.h"
#include "stream/stream_text.h"

namespace {
void CheckTitle(const std::string& title) {
    FUZZ_CHECK(title.size() <= kMaxTitleLength, "titles are cut");
    for (char c : title)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "no control character in a title");
    FUZZ_CHECK(title.empty() || (title.front() != ' ' && title.back() != ' '), "titles are trimmed");
}

void CheckHeaders(const StreamHeaders& headers) {
    FUZZ_CHECK(headers.metaInterval <= kMaxMetaInterval + 1, "the interval stays bounded");
    FUZZ_CHECK(headers.status >= 0 && headers.status <= 999, "a status has three digits");
    CheckTitle(headers.name);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 5) {
    case 0: CheckHeaders(ParseHeaderLines(bytes)); break;
    case 1:
        if (const auto found = HeadersAtBodyStart(bytes)) {
            FUZZ_CHECK(found->length > 0 && found->length <= kMaxHeaderBytes && found->length <= bytes.size(),
                       "headers lie inside the bound");
            FUZZ_CHECK(bytes[found->length - 1] == '\n', "headers end with their blank line");
            CheckHeaders(found->headers);
        }
        break;
    case 2: CheckTitle(StreamTitleOf(bytes)); break;
    case 3: {
        const std::string first = FirstPlaylistAddress(bytes);
        FUZZ_CHECK(first.empty() || IsHttpAddress(first), "only web addresses come out of a playlist");
        FUZZ_CHECK(bytes.find(first) != std::string_view::npos, "the address is one of the playlist's");
        break;
    }
    default:
        FUZZ_CHECK(FirstPageAudioAddress(bytes).size() <= bytes.size(), "the address comes from the page");
        break;
    }
    return 0;
}
