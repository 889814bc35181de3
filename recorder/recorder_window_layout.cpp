#include "recorder/recorder_window_layout.h"

namespace {

constexpr const char* kTimeHint = "Affiche le temps d'enregistrement restant";
constexpr const char* kSwitchHint = "Active / désactive les bulles d'aide";

// The digit labels' size is the extent of "00" in the window's font.
constexpr RecorderElement kElements[] = {
    {RecorderElementId::Label19, 222, 28, 12, 13, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Label20, 237, 28, 12, 13, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Shape4, 216, 22, 41, 25, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Image14, 116, 28, 17, 17, "Choix du dossier et du nom pour l'enregistrement",
     "Enregistrer Sous...", 10, true, false},
    {RecorderElementId::Image12, 268, 27, 17, 17, "Juste une décoration pour symboliser le Flumen", "Symbole", 0,
     false, false},
    {RecorderElementId::BmpAnimator1, 289, 32, 27, 7, "Témoin d'enregistrement", "Animation", 0, false, false},
    {RecorderElementId::Image13, 320, 26, 17, 17, "Affiche le dossier contenant vos enregistrements",
     "Enregistrements", 12, true, false},
    {RecorderElementId::Image30, 343, 1, 17, 17, kSwitchHint, "Bulles d'aide", 0, true, true},
};

bool Contains(int left, int top, int width, int height, int x, int y) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

}  // namespace

std::span<const RecorderElement> RecorderElements() { return kElements; }

const RecorderElement* ReachableRecorderElement(int x, int y, bool panelInFront, bool switchVisible) {
    if (panelInFront && Contains(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, x, y)) return nullptr;
    for (const RecorderElement& e : kElements) {
        if (!Contains(e.left, e.top, e.width, e.height, x, y)) continue;
        if (e.id == RecorderElementId::Image30 && !switchVisible) return nullptr;
        return &e;
    }
    return nullptr;
}
