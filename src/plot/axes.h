// The axes of the plane graph: lines, ticks and integer labels, each label placed where it
// can be read whole.
#pragma once

#include "plot/canvas.h"
#include "plot/view_rect.h"

namespace kq {

// Draws the axes of `view` on a width x height canvas; the labels are grey when asked.
void DrawAxes(Canvas& canvas, const ViewRect& view, const PixelMap& map, int width, int height, bool greyLabels);

}  // namespace kq
