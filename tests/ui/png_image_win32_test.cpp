// PNG decoding into DIB sections, and the program's PNG resources.
#include "ui/png_image_win32.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/ui_pictures.h"

namespace {
// RGBA rows (straight alpha) written as a PNG with libpng's own writer.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    bytes.resize(size);
    return bytes;
}

// A 3x2 picture: opaque red, green, blue on top; transparent, half-white, quarter-blue below.
const std::vector<std::uint8_t> kKnownRgba = {
    255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,  //
    9, 9, 9, 0, 255, 255, 255, 128, 0, 0, 200, 64};
// The same as premultiplied BGRA, top row first.
const std::vector<std::uint8_t> kKnownBgra = {
    0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255,  //
    0, 0, 0, 0, 128, 128, 128, 128, 50, 0, 0, 64};

TEST(PngImage, DecodesKnownPixelsExactlyIntoATopDown32BitDibSection) {
    const std::vector<std::uint8_t> png = EncodePng(3, 2, kKnownRgba);
    ASSERT_FALSE(png.empty());
    const PngImage image = PngImage::Decode(png.data(), png.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(std::vector<std::uint8_t>(image.Pixels(), image.Pixels() + 24), kKnownBgra);

    DIBSECTION dib;
    memset(&dib, 0x55, sizeof dib);
    ASSERT_EQ(::GetObjectA(image.Bitmap(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
    EXPECT_EQ(dib.dsBmih.biWidth, 3);
    EXPECT_EQ(dib.dsBm.bmHeight, 2);
    EXPECT_EQ(dib.dsBm.bmBits, image.Pixels());
}

TEST(PngImage, DamagedOrMissingDataIsRefusedWithAnErrorNotACrash) {
    const std::vector<std::uint8_t> good = EncodePng(3, 2, kKnownRgba);
    ASSERT_GT(good.size(), 40u);
    std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
    std::vector<std::uint8_t> badCrc = good;
    badCrc[good.size() - 20] ^= 0xFF;  // inside the image data chunk
    std::vector<std::uint8_t> notPng = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    // A valid header claiming 100000 x 1 pixels.
    std::vector<std::uint8_t> huge = good;
    huge[16] = 0;
    huge[17] = 1;
    huge[18] = 0x86;
    huge[19] = 0xA0;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {{"truncated", truncated}, {"bad crc", badCrc}, {"not png", notPng}, {"huge", huge}, {"empty", {}}};
    for (const auto& c : cases) {
        try {
            PngImage::Decode(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const PngError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Ooops !", 0), 0u) << c.name << ": " << error.what();
        }
    }
}

TEST(PngResources, EveryPictureOfTheProgramDecodesAtItsSize) {
    using namespace ui_pictures;
    const struct {
        const char* name;
        int width, height;
    } pictures[] = {
        {kInfo, 16, 16},        {kList, 16, 16},         {kListGrey, 16, 16},     {kNew, 16, 16},
        {kSave, 16, 16},        {kDelete, 16, 16},       {kCancel, 16, 16},       {kExport, 16, 16},
        {kImport, 16, 16},      {kSpeaker, 16, 16},      {kFolder, 16, 16},       {kFolderCheck, 16, 16},
        {kDisplay, 16, 16},     {kFolderDisc, 16, 16},   {kPageChooser, 16, 16},  {kClock, 16, 16},
        {kJingleChooser, 16, 16}, {kHelpSwitch, 17, 17}, {kRecordTarget, 17, 17}, {kRecordingsFolder, 17, 17},
        {kFlumenSymbol, 17, 17}, {kBanner, 369, 73},
        {kIndicator, kIndicatorFrameWidth * kIndicatorFrameCount, 7},
    };
    for (const auto& p : pictures) {
        try {
            const PngImage image = PngImage::FromResource(p.name);
            EXPECT_EQ(image.Width(), p.width) << p.name;
            EXPECT_EQ(image.Height(), p.height) << p.name;
            int opaque = 0;
            for (int i = 0; i < image.Width() * image.Height(); ++i) opaque += image.Pixels()[i * 4 + 3] == 255;
            EXPECT_GT(opaque, image.Width() * image.Height() / 8) << p.name << ": hardly anything drawn";
        } catch (const PngError& error) {
            ADD_FAILURE() << error.what();
        }
    }
    for (const char* name : kBalloonTitlePictures) EXPECT_NO_THROW(PngImage::FromResource(name)) << name;
}

TEST(PngResources, AMissingResourceIsNamedInTheError) {
    try {
        PngImage::FromResource("PNG_NOT_THERE");
        ADD_FAILURE() << "accepted";
    } catch (const PngError& error) {
        EXPECT_NE(std::string(error.what()).find("PNG_NOT_THERE"), std::string::npos) << error.what();
    }
}
}  // namespace
