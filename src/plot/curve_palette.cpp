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

}  // namespace kq
