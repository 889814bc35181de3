#include "ui/png_image_list_win32.h"

#include <cstring>
#include <stdexcept>
#include <string>

PngImageList::PngImageList(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) throw PngError("Ooops ! Taille d'image impossible");
    list_.reset(::ImageList_Create(width, height, ILC_COLOR32, 4, 4));
    if (!list_) throw PngError("Ooops ! Liste d'images impossible à créer");
}

PngImageList PngImageList::FromPictures(std::vector<PngImage> pictures) {
    if (pictures.empty()) throw PngError("Ooops ! Liste d'images vide");
    PngImageList list(pictures.front().Width(), pictures.front().Height());
    for (PngImage& picture : pictures) list.Add(std::move(picture));
    return list;
}

PngImageList PngImageList::FromStrip(const char* name, int frameWidth, HMODULE module) {
    const PngImage strip = PngImage::FromResource(name, module);
    PngImageList list(frameWidth, strip.Height());
    list.AddStrip(strip);
    return list;
}

int PngImageList::Add(PngImage picture) {
    if (picture.Width() != width_ || picture.Height() != height_)
        throw PngError("Ooops ! Image de " + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()) +
                       " dans une liste de " + std::to_string(width_) + "x" + std::to_string(height_));
    if (::ImageList_Add(list_.get(), picture.Bitmap(), nullptr) < 0)
        throw PngError("Ooops ! Image refusée par la liste d'images");
    greyed_.push_back(picture.Greyed());
    pictures_.push_back(std::move(picture));
    return Count() - 1;
}

void PngImageList::AddStrip(const PngImage& strip) {
    if (strip.Height() != height_ || strip.Width() == 0 || strip.Width() % width_ != 0)
        throw PngError("Ooops ! Bande d'images de " + std::to_string(strip.Width()) + "x" +
                       std::to_string(strip.Height()) + " pour des images de " + std::to_string(width_) + "x" +
                       std::to_string(height_));
    const int rowBytes = width_ * 4;
    for (int left = 0; left < strip.Width(); left += width_) {
        PngImage frame = PngImage::Blank(width_, height_);
        for (int y = 0; y < height_; ++y)
            std::memcpy(frame.Pixels() + y * rowBytes, strip.Pixels() + (y * strip.Width() + left) * 4, rowBytes);
        Add(std::move(frame));
    }
}

const PngImage& PngImageList::Picture(int index) const {
    if (!Has(index)) throw std::out_of_range("Ooops ! Image " + std::to_string(index) + " absente de la liste");
    return pictures_[index];
}

void PngImageList::Draw(HDC dc, int index, int x, int y) const {
    if (Has(index)) DrawPicture(dc, pictures_[index], x, y);
}

void PngImageList::DrawOpaque(HDC dc, int index, int x, int y, COLORREF background) const {
    if (!Has(index)) return;
    UniqueBrush brush(::CreateSolidBrush(background));
    RECT square{x, y, x + width_, y + height_};
    ::FillRect(dc, &square, brush.get());
    DrawPicture(dc, pictures_[index], x, y);
}

void PngImageList::DrawGreyed(HDC dc, int index, int x, int y) const {
    if (Has(index)) DrawPicture(dc, greyed_[index], x, y);
}
