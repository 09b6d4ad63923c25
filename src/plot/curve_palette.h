// The colours of the list formulas when graphs are coloured: dark enough to read on white,
// apart from each other on screen and in print. The main formula is always black.
#pragma once

#include "plot/canvas.h"

namespace kq {

inline constexpr int kCurvePaletteSize = 10;

// The colour of list formula i (1-based, in list order); the palette repeats after ten.
Rgb ListCurveColour(int i);

}  // namespace kq
