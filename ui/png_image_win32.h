// PNG pictures decoded into DIB sections.
//
//   PngImage::Decode(data, size)        PNG bytes -> picture; throws PngError
//   PngImage::FromResource(name[, module])  the RCDATA resource `name` of the
//                                       module (the program when omitted)
//   image.Bitmap()                      32-bit top-down DIB section, BGRA with
//                                       premultiplied alpha (ready for
//                                       GdiAlphaBlend and 32-bit image lists)
//   image.Width(), Height(), Pixels()   size and the BGRA bytes (4 per pixel,
//                                       rows top first, no padding)
//   image.Greyed()                      a copy in the disabled look
//   DrawPicture(dc, image, x, y)        alpha-blends the whole picture at x, y
//
// The image owns its bitmap; it is move-only.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "win/handles_win32.h"

class PngError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PngImage {
public:
    PngImage() = default;
    PngImage(PngImage&&) noexcept = default;
    PngImage& operator=(PngImage&&) noexcept = default;

    // Pictures larger than this on either side are refused before any memory
    // is taken: a damaged header must not ask for gigabytes.
    static constexpr int kMaxSide = 4096;

    static PngImage Decode(const void* data, std::size_t size);
    static PngImage FromResource(const char* name, HMODULE module = nullptr);

    // An image of the given size, every pixel transparent.
    static PngImage Blank(int width, int height);

    PngImage Greyed() const;

    explicit operator bool() const noexcept { return static_cast<bool>(bitmap_); }
    HBITMAP Bitmap() const noexcept { return bitmap_.get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    const std::uint8_t* Pixels() const noexcept { return bits_; }
    std::uint8_t* Pixels() noexcept { return bits_; }

private:
    UniqueBitmap bitmap_;
    std::uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Draws the picture with its alpha at x, y (its own size).
void DrawPicture(HDC dc, const PngImage& image, int x, int y);
