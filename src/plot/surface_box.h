// The light box around the surface: the edges of its far faces, drawn behind the surface, and
// the axis names with the range of each axis written at the ends of an outer edge.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plot/canvas.h"
#include "plot/surface_mesh.h"
#include "plot/surface_view.h"

namespace kq {

inline constexpr Rgb kBoxColor{175, 175, 175};
inline constexpr Rgb kRangeTextColor{95, 95, 95};
inline constexpr Rgb kAxisNameColor{30, 30, 30};

struct BoxEdge {
    BoxPoint a, b;
};

// The edges of the faces that turn their inside to the eye; they lie behind everything else.
std::vector<BoxEdge> FarBoxEdges(const Projector& projector);

struct BoxLabel {
    enum class Align { Start, Centre, End };
    double x = 0, y = 0;                                       // the anchor in canvas pixels
    Align horizontal = Align::Start, vertical = Align::Start;  // where the anchor is on the text
    std::string text;
    int points = 8;
    Rgb color = kRangeTextColor;
};

// The size of a text at a font size in points, as the canvas will draw it.
using TextMeasure = std::function<Size(const std::string& text, int points)>;

// For each axis: its name beside the middle of an outer edge parallel to it and the two ends
// of its range at the ends of that edge, all pushed away from the box.
std::vector<BoxLabel> BoxLabels(const Projector& projector, const ZRange& range, const TextMeasure& measure);

// The far edges (light lines) on a canvas.
void DrawFarEdges(Canvas& canvas, const Projector& projector);
// The labels on a canvas, placed by the sizes the canvas measures.
void DrawBoxLabels(Canvas& canvas, const Projector& projector, const ZRange& range);

// The range ends as the box shows them ("%.4Lg").
std::string AxisEndLabel(long double value);

}  // namespace kq
