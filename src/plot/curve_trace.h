// The trace under the plane graph: at the pointer's x the value of every drawn curve, and the
// curve the pointer is within a few pixels of, with its value and slope there, so that the
// pointer can be snapped onto it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/slopes.h"
#include "plot/canvas.h"
#include "plot/pointer_line.h"

namespace kq {

class Graphiq;

struct TraceValue {
    int curve = 0;  // 0 the main formula, i list formula i
    std::optional<long double> value;
};

struct TraceSnap {
    int curve = 0;
    long double y = 0;                    // as drawn (the lower branch of |y| mode is -f)
    std::optional<long double> slope;     // dy/dx as drawn, where the curve has one
};

struct TraceReading {
    std::vector<TraceValue> values;  // every drawn curve, in drawing order
    std::optional<TraceSnap> snap;
};

// The curves of `graph` at x, and the one whose drawn point lies within `reach` pixel rows of
// `row` (the nearest) on a canvas `height` rows high.
TraceReading ReadCurves(Graphiq& graph, long double x, double row, int width, int height, double reach);

// One piece of the line, in its curve's colour.
struct TracePiece {
    std::string text;
    Rgb colour;
};

// "x = 1.25   y = -0.40   f(x) = 0.95   sin(x) = 0.84": the main formula's value is "f(x)",
// a list formula's goes by its text; snapped, y is the curve's value and its slope follows
// its value as "наклон = 2.5" (6 digits).
std::vector<TracePiece> TraceLine(const Graphiq& graph, const PointerReading& at, const TraceReading& reading);

}  // namespace kq
