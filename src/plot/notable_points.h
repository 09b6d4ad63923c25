// The notable points of the curves of a plane view: roots, extrema, inflections, crossings,
// breaks and domain ends with x in the view's x range, each to the full precision of the
// engine. A pure function of translated formulas and a view, so that a worker thread with
// translators of its own can compute them off the paint path, and the command line can print them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "engine/translator.h"
#include "plot/view_rect.h"

namespace kq {

// In the order points at one x are listed.
enum class PointKind : unsigned char { Root, Min, Max, Inflection, Cross, Break, End };

// "root", "min", "max", "inflection", "cross", "break", "end": the words of text output.
const char* PointKindWord(PointKind kind);
// "корень", "минимум", "максимум", "перегиб", "пересечение", "разрыв", "край области" (UTF-8).
const char* PointKindName(PointKind kind);

struct NotablePoint {
    PointKind kind = PointKind::Root;
    int curve = 0;   // the curve's number (PlotCurve::number); for a crossing the first of the two
    int other = -1;  // the second curve of a crossing
    long double x = 0;
    long double y = 0;  // the curve's value there as drawn; none for a break
    bool hasY = true;
    friend bool operator==(const NotablePoint&, const NotablePoint&) = default;
};

// A curve (or, for crossings, a pair) and a kind whose list the limit cut.
struct PointLimit {
    int curve = 0;
    int other = -1;
    PointKind kind = PointKind::Root;
    friend bool operator==(const PointLimit&, const PointLimit&) = default;
};

struct NotablePoints {
    // Sorted by x, then by kind, then by curve (and the second curve), then by y.
    std::vector<NotablePoint> points;
    std::vector<PointLimit> more;
};

struct PlotCurve {
    Translator* formula = nullptr;  // translated; evaluated only (its scratch changes)
    int number = 0;                 // what points of it say: 0 the main formula, i list formula i
};

struct PointOptions {
    ViewRect view;
    int columns = 1920;        // pixel columns of the view: it is sampled at least twice as finely
    bool absolute = false;     // |y| = f(x): each curve drawn as ±f where f >= 0
    std::size_t limit = 1000;  // points per curve and kind (per pair for crossings)
    int threads = 1;           // that share the curves and the pairs; the points do not depend on it
};

// Samples per view at the least, whatever the columns.
inline constexpr int kLeastPointSamples = 4096;

// Every notable point of `curves` in the view's x range. The formulas are taken as they
// evaluate: one that rounds its values is a staircase, so leave rounding off and round the
// values found (PointFinder does). With several threads each curve's formula is evaluated on
// one thread at a time, and copies of the formulas serve the other threads' crossings; curves
// that share one translator are done on one thread.
NotablePoints FindNotablePoints(std::span<const PlotCurve> curves, const PointOptions& options);

}  // namespace kq
