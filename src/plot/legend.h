// A picture's legend: the formulas drawn, each in its curve's colour, one a line under the graph.
#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"

namespace kq {

struct LegendEntry {
    std::string text;  // UTF-8
    Rgb colour;
};

// How the legend sits under a graph: its height and how many entries it shows. A legend
// takes at most half the picture; entries beyond that are counted in a last line instead.
struct LegendLayout {
    int height = 0;
    int rowHeight = 0;
    int shown = 0;
    int hidden = 0;
};

// Measured on `canvas` (at the legend's font size) for a picture `pictureHeight` high; no
// rows at all for no entries or a picture too small for a row.
LegendLayout LayOutLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, int pictureHeight);

// Draws the legend from row `top` across `width` pixels on white: a short stroke in each
// formula's colour and its text in the same colour.
void DrawLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, const LegendLayout& layout, int top,
                int width);

}  // namespace kq
