// The colours of the list formulas when graphs are coloured: dark enough to read on white,
// apart from each other on screen and in print. The main formula is always black.
#pragma once

#include <vector>

#include "plot/canvas.h"

namespace kq {

inline constexpr int kCurvePaletteSize = 10;

// The colour of list formula i (1-based, in list order); the palette repeats after ten.
Rgb ListCurveColour(int i);

// The palette slot (1-based) for a list entry that needs a colour of its own: the one least
// shown by the ticked entries, then least held by the others (entries keep their colour
// while unticked), the earliest in the palette on a tie. So while at most ten entries are
// ticked, no two curves share a colour, and an entry's colour never depends on the others'.
int FreeColourSlot(const std::vector<int>& tickedSlots, const std::vector<int>& otherSlots);

}  // namespace kq
