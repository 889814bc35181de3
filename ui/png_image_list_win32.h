// A list of same-sized PNG pictures, as the kit's controls and the balloon
// hint draw them, with a 32-bit system image list of the same pictures.
//
//   PngImageList(width, height)              empty list of pictures of that size
//   PngImageList::FromResources(names[, module])  one picture per RCDATA name,
//                                            in order; the first sets the size
//   PngImageList::FromStrip(name, frameWidth[, module])  one horizontal strip
//                                            cut into frames of frameWidth
//   Add(picture) -> index                    PngError when the size differs
//   AddStrip(strip)                          PngError unless the strip is a
//                                            whole number of frames high as the list
//   Count(), Width(), Height()
//   Picture(i)                               std::out_of_range when i is not a picture
//   Draw(dc, i, x, y)                        with its alpha over what is there
//   DrawOpaque(dc, i, x, y, background)      over a filled square of background
//   DrawGreyed(dc, i, x, y)                  the disabled look, with alpha
//   Handle()                                 the HIMAGELIST (ILC_COLOR32, alpha
//                                            kept), owned by the list
// Drawing an index that is not a picture draws nothing.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "ui/png_image_win32.h"
#include "win/handles_win32.h"

class PngImageList {
public:
    PngImageList(int width, int height);
    PngImageList(PngImageList&&) noexcept = default;
    PngImageList& operator=(PngImageList&&) noexcept = default;

    template <typename Names>
    static PngImageList FromResources(const Names& names, HMODULE module = nullptr) {
        std::vector<PngImage> pictures;
        for (const char* name : names) pictures.push_back(PngImage::FromResource(name, module));
        return FromPictures(std::move(pictures));
    }
    static PngImageList FromResources(std::initializer_list<const char*> names, HMODULE module = nullptr) {
        return FromResources<std::initializer_list<const char*>>(names, module);
    }
    static PngImageList FromStrip(const char* name, int frameWidth, HMODULE module = nullptr);

    int Add(PngImage picture);
    void AddStrip(const PngImage& strip);

    int Count() const noexcept { return static_cast<int>(pictures_.size()); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    HIMAGELIST Handle() const noexcept { return list_.get(); }
    const PngImage& Picture(int index) const;

    void Draw(HDC dc, int index, int x, int y) const;
    void DrawOpaque(HDC dc, int index, int x, int y, COLORREF background) const;
    void DrawGreyed(HDC dc, int index, int x, int y) const;

private:
    static PngImageList FromPictures(std::vector<PngImage> pictures);
    bool Has(int index) const noexcept { return index >= 0 && index < Count(); }

    int width_;
    int height_;
    UniqueImageList list_;
    std::vector<PngImage> pictures_;
    std::vector<PngImage> greyed_;
};
