#include "ui/picture_pixels.h"

namespace picture_pixels {
namespace {
// Rounded c * a / 255 without a division per channel.
std::uint8_t Scale(unsigned c, unsigned a) {
    const unsigned t = c * a + 128;
    return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}
}  // namespace

void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i) {
        std::uint8_t* p = pixels + i * 4;
        const unsigned a = p[3];
        if (a == 255) continue;
        p[0] = Scale(p[0], a);
        p[1] = Scale(p[1], a);
        p[2] = Scale(p[2], a);
    }
}

void GreyBgra(std::uint8_t* pixels, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i) {
        std::uint8_t* p = pixels + i * 4;
        const unsigned a = p[3];
        // Luma of the premultiplied colour is the premultiplied luma.
        const unsigned luma = (p[2] * 299u + p[1] * 587u + p[0] * 114u + 500u) / 1000u;
        // Half way to white keeps the shape readable and says "not available".
        const unsigned lifted = (luma + a + 1) / 2;
        const auto grey = static_cast<std::uint8_t>(lifted > a ? a : lifted);
        p[0] = p[1] = p[2] = grey;
    }
}

}  // namespace picture_pixels
