// The editor window's pictures: the header banner and the glyphs of its
// clickable images and buttons, from the program's PNG resources.
#pragma once
#include <windows.h>

#include <map>

#include "ui/png_image_win32.h"

enum class EditorPicture { Banner, HelpSwitch, Speaker, List, ListGrey, PageChooser, New, Save, Delete, Cancel, Import, Export };

class EditorPictures {
public:
    // Loads every picture; a missing resource throws PngError.
    EditorPictures();

    // Draws the picture with its alpha, its top left corner at x, y; greyed
    // for a disabled control.
    void Draw(HDC dc, EditorPicture picture, int x, int y, bool greyed = false) const;
    SIZE Size(EditorPicture picture) const;
    const PngImage& Picture(EditorPicture picture) const { return pictures_.at(picture); }

private:
    std::map<EditorPicture, PngImage> pictures_;
    std::map<EditorPicture, PngImage> greyed_;
};
