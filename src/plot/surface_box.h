// The light box around the surface: the edges of its far faces, drawn behind the surface, the
// axis names with the sampled range of each axis at the ends of an outer edge (the z axis
// labelled at round values along it), and a note under the picture when the box cuts values.
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
inline constexpr Rgb kNoteColor{160, 0, 0};

struct BoxEdge {
    BoxPoint a, b;
};

// The edges of the faces that turn their inside to the eye; they lie behind everything else.
std::vector<BoxEdge> FarBoxEdges(const Projector& projector);

// What the box's labels tell: the x and y ranges that were sampled and the z range with the
// values it is labelled with.
struct BoxAxes {
    long double xLow = kGridFrom, xHigh = kGridTo, yLow = kGridFrom, yHigh = kGridTo;
    ZRange z;
};
BoxAxes AxesOf(const SurfaceMesh& mesh, const ZRange& range);

struct BoxLabel {
    enum class Align { Start, Centre, End };
    double x = 0, y = 0;                                       // the anchor in canvas pixels
    Align horizontal = Align::Start, vertical = Align::Start;  // where the anchor is on the text
    std::string text;
    int points = 8;
    Rgb color = kRangeTextColor;
};

// A short stroke at a labelled value of the z axis, pointing away from the box.
struct BoxTick {
    ScreenPoint from, to;
};

// The size of a text at a font size in points, as the canvas will draw it.
using TextMeasure = std::function<Size(const std::string& text, int points)>;

// For each axis: its name beside the middle of an outer edge parallel to it and the two ends
// of its range at the ends of that edge, all pushed away from the box; along the z edge also
// the round values between the ends that find room.
std::vector<BoxLabel> BoxLabels(const Projector& projector, const BoxAxes& axes, const TextMeasure& measure);
// The strokes at every labelled z value.
std::vector<BoxTick> BoxTicks(const Projector& projector, const BoxAxes& axes);

// The line under the picture when the box leaves out values of the surface
// ("z обрезано: значения до 5000 вне рамки"); empty when it leaves out none.
std::string CutNote(const ZRange& range);

// The far edges (light lines) on a canvas.
void DrawFarEdges(Canvas& canvas, const Projector& projector);
// The labels, the strokes and the note on a canvas, placed by the sizes the canvas measures.
void DrawBoxLabels(Canvas& canvas, const Projector& projector, const BoxAxes& axes, Rgb background);

// The ends of the x and y ranges as the box shows them ("%.4Lg").
std::string AxisEndLabel(long double value);

}  // namespace kq
