// Image lists built from the program's PNG resources.
#include "ui/png_image_list_win32.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ui/ui_pictures.h"

namespace {
// A white 32-bit surface to draw on, read back by GetPixel.
class Surface {
public:
    Surface(int width, int height) : image_(PngImage::Blank(width, height)), dc_(::CreateCompatibleDC(nullptr)) {
        std::memset(image_.Pixels(), 255, static_cast<size_t>(width) * height * 4);
        old_ = ::SelectObject(dc_.get(), image_.Bitmap());
    }
    ~Surface() { ::SelectObject(dc_.get(), old_); }
    HDC Dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        return ::GetPixel(dc_.get(), x, y);
    }

private:
    PngImage image_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_;
};

COLORREF ColourOf(const PngImage& picture, int x, int y) {
    const std::uint8_t* p = picture.Pixels() + (y * picture.Width() + x) * 4;
    return RGB(p[2], p[1], p[0]);
}

// The first fully opaque pixel of a picture.
POINT OpaquePixel(const PngImage& picture) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixels()[(y * picture.Width() + x) * 4 + 3] == 255) return {x, y};
    return {-1, -1};
}

TEST(PngImageList, BalloonTitlePicturesLoadInOrderIntoA32BitSystemList) {
    const PngImageList list = PngImageList::FromResources(ui_pictures::kBalloonTitlePictures);
    EXPECT_EQ(list.Count(), 13);
    EXPECT_EQ(::ImageList_GetImageCount(list.Handle()), 13);
    int cx = 0x5555, cy = 0x5555;
    ASSERT_TRUE(::ImageList_GetIconSize(list.Handle(), &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    IMAGEINFO info;
    std::memset(&info, 0x55, sizeof info);
    ASSERT_TRUE(::ImageList_GetImageInfo(list.Handle(), 4, &info));
    BITMAP bitmap{};
    ::GetObjectA(info.hbmImage, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);

    // Picture 4 is the delete button's picture, as its own resource.
    const PngImage own = PngImage::FromResource(ui_pictures::kDelete);
    EXPECT_EQ(std::memcmp(own.Pixels(), list.Picture(4).Pixels(), 16 * 16 * 4), 0);
    // The system list holds the same picture: ImageList_Draw shows it.
    const POINT opaque = OpaquePixel(own);
    ASSERT_GE(opaque.x, 0);
    Surface surface(16, 16);
    ASSERT_TRUE(::ImageList_Draw(list.Handle(), 4, surface.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(surface.At(opaque.x, opaque.y), ColourOf(own, opaque.x, opaque.y));
}

TEST(PngImageList, StripIsCutIntoFramesLeftToRight) {
    const PngImageList list = PngImageList::FromStrip(ui_pictures::kIndicator, ui_pictures::kIndicatorFrameWidth);
    ASSERT_EQ(list.Count(), ui_pictures::kIndicatorFrameCount);
    EXPECT_EQ(list.Width(), 27);
    EXPECT_EQ(list.Height(), 7);
    const PngImage strip = PngImage::FromResource(ui_pictures::kIndicator);
    for (int frame = 0; frame < list.Count(); ++frame) {
        for (int y = 0; y < 7; ++y)
            ASSERT_EQ(std::memcmp(list.Picture(frame).Pixels() + y * 27 * 4,
                                  strip.Pixels() + (y * strip.Width() + frame * 27) * 4, 27 * 4),
                      0)
                << "frame " << frame << " row " << y;
    }
    EXPECT_NE(std::memcmp(list.Picture(0).Pixels(), list.Picture(1).Pixels(), 27 * 7 * 4), 0)
        << "the frames must differ or the indicator shows no motion";
}

TEST(PngImageList, PicturesOfAnotherSizeAreRefused) {
    PngImageList list(16, 16);
    EXPECT_THROW(list.Add(PngImage::FromResource(ui_pictures::kHelpSwitch)), PngError);
    EXPECT_THROW(list.AddStrip(PngImage::Blank(40, 16)), PngError) << "not a whole number of frames";
    EXPECT_THROW(list.AddStrip(PngImage::Blank(32, 17)), PngError) << "wrong height";
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(::ImageList_GetImageCount(list.Handle()), 0);
    list.AddStrip(PngImage::Blank(48, 16));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_THROW(list.Picture(3), std::out_of_range);
    EXPECT_THROW(list.Picture(-1), std::out_of_range);
}

TEST(PngImageList, DrawsWithAlphaOpaqueOrGreyedAndNothingForAMissingIndex) {
    const PngImageList list = PngImageList::FromResources({ui_pictures::kInfo, ui_pictures::kDelete});
    const PngImage& cross = list.Picture(1);
    const POINT opaque = OpaquePixel(cross);
    POINT clear{-1, -1};
    for (int i = 0; i < 256 && clear.x < 0; ++i)
        if (cross.Pixels()[i * 4 + 3] == 0) clear = {i % 16, i / 16};
    ASSERT_GE(clear.x, 0);

    Surface surface(64, 16);
    list.Draw(surface.Dc(), 1, 0, 0);
    list.DrawOpaque(surface.Dc(), 1, 16, 0, RGB(0, 0, 255));
    list.DrawGreyed(surface.Dc(), 1, 32, 0);
    list.Draw(surface.Dc(), 2, 48, 0);
    list.Draw(surface.Dc(), -1, 48, 0);
    EXPECT_EQ(surface.At(opaque.x, opaque.y), ColourOf(cross, opaque.x, opaque.y));
    EXPECT_EQ(surface.At(clear.x, clear.y), RGB(255, 255, 255));
    EXPECT_EQ(surface.At(16 + clear.x, clear.y), RGB(0, 0, 255)) << "background under the clear pixels";
    EXPECT_EQ(surface.At(16 + opaque.x, opaque.y), ColourOf(cross, opaque.x, opaque.y));
    const COLORREF grey = surface.At(32 + opaque.x, opaque.y);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey)) << std::hex << grey;
    for (int x = 48; x < 64; ++x) EXPECT_EQ(surface.At(x, 8), RGB(255, 255, 255)) << "drawn for a missing index";
}
}  // namespace
