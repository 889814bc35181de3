#include "ui/png_image_win32.h"

#include <png.h>

#include <cstring>

#include "ui/picture_pixels.h"

namespace {
// libpng's simplified reader runs its own setjmp/longjmp inside the library:
// every error comes back here as a zero result with a message, and no C++
// object ever lives across the jump.
struct PngReader {
    png_image image;
    PngReader() {
        std::memset(&image, 0, sizeof(image));
        image.version = PNG_IMAGE_VERSION;
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader() { png_image_free(&image); }
    std::string Message() const { return image.message[0] ? image.message : "données illisibles"; }
};

UniqueBitmap MakeDib(int width, int height, std::uint8_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!bitmap || !memory) throw PngError("Ooops ! Mémoire insuffisante pour une image");
    bits = static_cast<std::uint8_t*>(memory);
    return bitmap;
}
}  // namespace

PngImage PngImage::Blank(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        throw PngError("Ooops ! Taille d'image impossible");
    PngImage result;
    result.bitmap_ = MakeDib(width, height, result.bits_);
    result.width_ = width;
    result.height_ = height;
    std::memset(result.bits_, 0, static_cast<std::size_t>(width) * height * 4);
    return result;
}

PngImage PngImage::Decode(const void* data, std::size_t size) {
    if (!data || size == 0) throw PngError("Ooops ! Image PNG vide");
    PngReader reader;
    if (!png_image_begin_read_from_memory(&reader.image, data, size))
        throw PngError("Ooops ! Image PNG illisible : " + reader.Message());
    const int width = static_cast<int>(reader.image.width);
    const int height = static_cast<int>(reader.image.height);
    if (reader.image.width > static_cast<png_uint_32>(kMaxSide) || reader.image.height > static_cast<png_uint_32>(kMaxSide) ||
        width <= 0 || height <= 0)
        throw PngError("Ooops ! Image PNG trop grande");
    reader.image.format = PNG_FORMAT_BGRA;
    PngImage result = Blank(width, height);
    if (!png_image_finish_read(&reader.image, nullptr, result.bits_, width * 4, nullptr))
        throw PngError("Ooops ! Image PNG illisible : " + reader.Message());
    picture_pixels::PremultiplyBgra(result.bits_, static_cast<std::size_t>(width) * height);
    ::GdiFlush();
    return result;
}

PngImage PngImage::FromResource(const char* name, HMODULE module) {
    if (!module) module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) throw PngError(std::string("Ooops ! Image introuvable dans le programme : ") + name);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) throw PngError(std::string("Ooops ! Image illisible dans le programme : ") + name);
    try {
        return Decode(data, ::SizeofResource(module, found));
    } catch (const PngError& error) {
        throw PngError(std::string(error.what()) + " (" + name + ")");
    }
}

PngImage PngImage::Greyed() const {
    if (!bitmap_) return {};
    PngImage copy = Blank(width_, height_);
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    std::memcpy(copy.bits_, bits_, count * 4);
    picture_pixels::GreyBgra(copy.bits_, count);
    return copy;
}

void DrawPicture(HDC dc, const PngImage& image, int x, int y) {
    if (!image) return;
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory) return;
    SelectedObject picture(memory.get(), image.Bitmap());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, x, y, image.Width(), image.Height(), memory.get(), 0, 0, image.Width(), image.Height(), blend);
}
