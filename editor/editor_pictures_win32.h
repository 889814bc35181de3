// The editor window's pictures: the header banner and the glyphs of its
// clickable images and buttons.
#pragma once
#include <windows.h>

enum class EditorPicture { Banner, HelpSwitch, Speaker, List, ListGrey, PageChooser, New, Save, Delete, Cancel, Import, Export };

class EditorPictures {
public:
    EditorPictures();
    EditorPictures(const EditorPictures&) = delete;
    EditorPictures& operator=(const EditorPictures&) = delete;
    ~EditorPictures();

    // Draws the picture with its top left corner at x, y; greyed for a
    // disabled control.
    void Draw(HDC dc, EditorPicture picture, int x, int y, bool greyed = false) const;
    SIZE Size(EditorPicture picture) const;
};
