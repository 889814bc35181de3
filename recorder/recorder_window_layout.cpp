#include "recorder/recorder_window_layout.h"

#include <stdexcept>

namespace {

constexpr const char* kTimeHint = "Affiche le temps d'enregistrement restant";

// Title pictures: 0 the i balloon, 10 folder with a check mark, 11 the
// digital display, 12 folder with a disc. The digits are as wide as "00"
// in the window's font; the sizes here are those of its usual face.
constexpr RecorderElement kElements[] = {
    {RecorderElementId::Image14, 116, 28, 17, 17, "Choix du dossier et du nom pour l'enregistrement",
     "Enregistrer Sous...", 10, true, false},
    {RecorderElementId::Shape4, 216, 22, 41, 25, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Label19, 222, 28, 12, 13, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Label20, 237, 28, 12, 13, kTimeHint, "Chrono", 11, false, false},
    {RecorderElementId::Image12, 268, 27, 17, 17, "Juste une décoration pour symboliser le Flumen", "Symbole", 0,
     false, false},
    {RecorderElementId::BmpAnimator1, 289, 32, 27, 7, "Témoin d'enregistrement", "Animation", 0, false, false},
    {RecorderElementId::Image13, 320, 26, 17, 17, "Affiche le dossier contenant vos enregistrements",
     "Enregistrements", 12, true, false},
    {RecorderElementId::Image30, 343, 1, 17, 17, "Active / désactive les bulles d'aide", "Bulles d'aide", 0, true,
     true},
};

}  // namespace

std::span<const RecorderElement> RecorderElements() { return kElements; }

const RecorderElement& RecorderElementOf(RecorderElementId id) {
    for (const RecorderElement& e : kElements)
        if (e.id == id) return e;
    throw std::out_of_range("recorder element");
}
