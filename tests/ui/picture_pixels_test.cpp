#include "ui/picture_pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

using picture_pixels::GreyBgra;
using picture_pixels::PremultiplyBgra;

namespace {
using Pixel = std::array<std::uint8_t, 4>;  // B, G, R, A

std::string Text(const Pixel& p) {
    return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + "," + std::to_string(p[3]);
}

TEST(PicturePixels, PremultiplyScalesColourByAlphaWithRounding) {
    struct Case {
        Pixel in, out;
    } cases[] = {
        {{10, 200, 255, 255}, {10, 200, 255, 255}},  // opaque: unchanged
        {{10, 200, 255, 0}, {0, 0, 0, 0}},           // transparent: black
        {{255, 255, 255, 128}, {128, 128, 128, 128}},
        {{100, 101, 3, 128}, {50, 51, 2, 128}},  // 50.2 -> 50, 50.7 -> 51, 1.5 -> 2
        {{255, 0, 128, 1}, {1, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        Pixel p = c.in;
        PremultiplyBgra(p.data(), 1);
        EXPECT_EQ(p, c.out) << Text(c.in) << " gave " << Text(p);
    }
}

TEST(PicturePixels, PremultiplyTouchesEveryPixelOfTheRun) {
    std::array<std::uint8_t, 12> run = {200, 200, 200, 0, 200, 200, 200, 255, 200, 200, 200, 51};
    PremultiplyBgra(run.data(), 3);
    EXPECT_EQ(run, (std::array<std::uint8_t, 12>{0, 0, 0, 0, 200, 200, 200, 255, 40, 40, 40, 51}));
}

TEST(PicturePixels, GreyKeepsAlphaMakesGreyLighterThanTheColourAndStaysPremultiplied) {
    const Pixel cases[] = {{0, 0, 255, 255}, {255, 0, 0, 255}, {0, 0, 0, 255}, {40, 30, 20, 64}, {0, 0, 0, 0}};
    for (const Pixel& in : cases) {
        Pixel p = in;
        GreyBgra(p.data(), 1);
        EXPECT_EQ(p[0], p[1]) << Text(p);
        EXPECT_EQ(p[1], p[2]) << Text(p);
        EXPECT_EQ(p[3], in[3]) << "alpha kept";
        EXPECT_LE(p[0], p[3]) << "a premultiplied colour never exceeds its alpha: " << Text(p);
        EXPECT_GE(p[0], p[3] / 2) << "lifted half way to white: " << Text(p);
    }
    Pixel black = {0, 0, 0, 255}, white = {255, 255, 255, 255};
    GreyBgra(black.data(), 1);
    GreyBgra(white.data(), 1);
    EXPECT_EQ(black[0], 128);
    EXPECT_EQ(white[0], 255);
}
}  // namespace
