// Moving the plane view by hand: zooming about a point of the canvas, panning by a dragged
// distance or by a share of the view. Pixels here are the canvas's continuous coordinates.
#pragma once

#include "plot/view_rect.h"

namespace kq {

// The growth of both ranges for one wheel notch outwards; a notch inwards divides by it.
inline constexpr long double kWheelStep = 1.25L;

// Both ranges scaled by `scale` about the point under (column, row) of a W x H canvas, so
// that point stays where it is; the aspect of the view is kept. A degenerate view or canvas
// comes back unchanged.
ViewRect ZoomAbout(const ViewRect& view, int width, int height, long double column, long double row, long double scale);

// The same about the middle of the canvas.
ViewRect ZoomAboutCentre(const ViewRect& view, long double scale);

// The view as it is after the picture was dragged by (dx, dy) pixels: what was under the
// pointer at the press is under it again.
ViewRect PanByPixels(const ViewRect& view, int width, int height, long double dx, long double dy);

// The view moved by a share of its own width and height (+x right, +y up).
ViewRect PanByShare(const ViewRect& view, long double shareX, long double shareY);

// How much the ranges grow for a wheel turn of `notches` (positive towards the user zooms in).
long double WheelScale(long double notches);

}  // namespace kq
