// The axes of the plane graph: lines, ticks and integer labels, each label placed where it
// can be read whole. The lines go under the curves, the labels over them.
#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"
#include "plot/view_rect.h"

namespace kq {

// A label laid out by the axes: its top-left corner, its font size, and whether it is the
// number of an axis out of view (always grey, along the canvas edge).
struct AxisLabel {
    int x = 0, y = 0;
    int fontSize = 6;
    bool edge = false;
    std::string text;
};

// Draws the axis lines and ticks of `view` on a width x height canvas and lays out their
// labels, none over another or over the frame; nothing is written yet.
std::vector<AxisLabel> DrawAxes(Canvas& canvas, const ViewRect& view, const PixelMap& map, int width, int height);

// Writes the labels, each on a small white halo so that a curve under it does not hide it;
// grey when asked, else in the canvas's font colour.
void DrawAxisLabels(Canvas& canvas, const std::vector<AxisLabel>& labels, bool greyLabels);

}  // namespace kq
