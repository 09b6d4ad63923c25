// The view's arithmetic on a canvas: the 1:1 aspect, the zoom rectangle and zooming out.
#pragma once

#include <optional>

#include "plot/view_rect.h"

namespace kq {

// Equal bounds are pulled apart by 0.00001 (xmin, then ymin), as the 1:1 mode and zooming
// out do before working with a range.
void SeparateEqualBounds(ViewRect& view);

// The 1:1 adjustment: the x range widened or narrowed about its middle so that a unit has
// the same length on both axes of a W x H canvas, at any scale. Returns nothing when it cannot apply
// (zero-sized canvas, y range below 1e-12); `view` keeps the equal-bounds correction.
std::optional<ViewRect> OneToOne(ViewRect& view, int width, int height);

// In 1:1 mode the dragged corner's column follows its row, keeping the canvas's aspect.
int OneToOneColumn(int width, int height, int startColumn, int startRow, int row);

// The view inside a rectangle dragged on the canvas, whichever corner it started from.
ViewRect ZoomToRectangle(const ViewRect& view, int width, int height, int column1, int row1, int column2, int row2);

// Zooming out by a quarter of the x range on each side; nothing once |x| passes 4e7.
std::optional<ViewRect> ZoomOut(const ViewRect& view, int width, int height);

}  // namespace kq
