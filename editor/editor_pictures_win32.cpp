#include "editor/editor_pictures_win32.h"

EditorPictures::EditorPictures() = default;
EditorPictures::~EditorPictures() = default;

void EditorPictures::Draw(HDC dc, EditorPicture picture, int x, int y, bool) const {
    if (picture != EditorPicture::Banner) return;
    RECT area{x, y, x + 369, y + 73};
    HBRUSH brush = ::CreateSolidBrush(RGB(214, 228, 248));
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
}

SIZE EditorPictures::Size(EditorPicture picture) const {
    return picture == EditorPicture::Banner ? SIZE{369, 73} : SIZE{16, 16};
}
