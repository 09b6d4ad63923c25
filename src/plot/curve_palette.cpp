#include "plot/curve_palette.h"

namespace kq {
namespace {

// Hues told apart with the common colour-vision deficiencies too, none lighter than a
// mid-tone (no yellow or pastel that fades on white paper).
constexpr Rgb kPalette[kCurvePaletteSize] = {
    {0, 114, 178},    // blue
    {213, 94, 0},     // vermilion
    {0, 158, 115},    // bluish green
    {204, 121, 167},  // reddish purple
    {230, 159, 0},    // orange
    {86, 180, 233},   // sky blue
    {136, 34, 85},    // wine
    {51, 34, 136},    // indigo
    {17, 119, 51},    // green
    {153, 153, 51},   // olive
};

}  // namespace

Rgb ListCurveColour(int i) {
    if (i < 1) return kBlack;
    return kPalette[(i - 1) % kCurvePaletteSize];
}

int FreeColourSlot(const std::vector<int>& tickedSlots, const std::vector<int>& otherSlots) {
    int ticked[kCurvePaletteSize] = {}, held[kCurvePaletteSize] = {};
    for (int slot : tickedSlots)
        if (slot >= 1) ++ticked[(slot - 1) % kCurvePaletteSize];
    for (int slot : otherSlots)
        if (slot >= 1) ++held[(slot - 1) % kCurvePaletteSize];
    int best = 0;
    for (int k = 1; k < kCurvePaletteSize; ++k)
        if (ticked[k] < ticked[best] || (ticked[k] == ticked[best] && held[k] < held[best])) best = k;
    return best + 1;
}

}  // namespace kq
