#include "ui/dialog_font_win32.h"


namespace {
UniqueFont CreateDialogFont(const char* face, int height, int weight) {
    return UniqueFont(::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

RECT MeasuredText(HFONT font, const char* text, int width, UINT format) {
    RECT area{0, 0, width, 0};
    HDC dc = ::GetDC(nullptr);
    {
        SelectedObject selected(dc, font);
        ::DrawTextA(dc, text, -1, &area, DT_CALCRECT | DT_NOPREFIX | format);
    }
    ::ReleaseDC(nullptr, dc);
    return area;
}
}  // namespace

UniqueFont DialogFontThatFits(const std::function<bool(HFONT)>& fits, int weight) {
    const struct {
        const char* face;
        int height;
    } candidates[] = {{"MS Sans Serif", -11},         {"Arial Narrow", -11},          {"Liberation Sans Narrow", -11},
                      {"DejaVu Sans Condensed", -11}, {"MS Sans Serif", -10},         {"DejaVu Sans Condensed", -10},
                      {"DejaVu Sans Condensed", -9}};
    for (const auto& candidate : candidates) {
        UniqueFont font = CreateDialogFont(candidate.face, candidate.height, weight);
        if (font && fits(font.get())) return font;
    }
    return CreateDialogFont("MS Sans Serif", -11, weight);
}

UniqueFont SameFontWithWeight(HFONT font, int weight) {
    LOGFONTA description{};
    ::GetObjectA(font, sizeof description, &description);
    description.lfWeight = weight;
    return UniqueFont(::CreateFontIndirectA(&description));
}

int TextWidth(HFONT font, const char* text) {
    const RECT area = MeasuredText(font, text, 0, DT_SINGLELINE);
    return area.right - area.left;
}

int WrappedTextHeight(HFONT font, const char* text, int width) {
    const RECT area = MeasuredText(font, text, width, DT_WORDBREAK);
    return area.bottom - area.top;
}
