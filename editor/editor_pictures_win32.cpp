#include "editor/editor_pictures_win32.h"

#include "ui/ui_pictures.h"

namespace {
const std::pair<EditorPicture, const char*> kResources[] = {
    {EditorPicture::Banner, ui_pictures::kBanner},
    {EditorPicture::HelpSwitch, ui_pictures::kHelpSwitch},
    {EditorPicture::Speaker, ui_pictures::kSpeaker},
    {EditorPicture::List, ui_pictures::kList},
    {EditorPicture::ListGrey, ui_pictures::kListGrey},
    {EditorPicture::PageChooser, ui_pictures::kPageChooser},
    {EditorPicture::New, ui_pictures::kNew},
    {EditorPicture::Save, ui_pictures::kSave},
    {EditorPicture::Delete, ui_pictures::kDelete},
    {EditorPicture::Cancel, ui_pictures::kCancel},
    {EditorPicture::Import, ui_pictures::kImport},
    {EditorPicture::Export, ui_pictures::kExport},
};
}  // namespace

EditorPictures::EditorPictures() {
    for (const auto& [picture, name] : kResources) {
        PngImage image = PngImage::FromResource(name);
        greyed_.emplace(picture, image.Greyed());
        pictures_.emplace(picture, std::move(image));
    }
}

void EditorPictures::Draw(HDC dc, EditorPicture picture, int x, int y, bool greyed) const {
    DrawPicture(dc, (greyed ? greyed_ : pictures_).at(picture), x, y);
}

SIZE EditorPictures::Size(EditorPicture picture) const {
    const PngImage& image = pictures_.at(picture);
    return SIZE{image.Width(), image.Height()};
}
