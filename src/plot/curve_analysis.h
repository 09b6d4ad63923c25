// The zeros of a sampled curve's value, slope and second derivative: roots, extrema and
// inflections, found by passes over its nodes from the second derivative down to the value,
// each pass adding the points it finds as nodes, so that the next one sees every change of
// sign between samples (two roots either side of a minimum inside one sampling interval).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "plot/curve_nodes.h"

namespace kq {

enum class EventKind { Root, Min, Max, Inflection };
inline constexpr std::size_t kEventKinds = 4;

struct CurveEvents {
    std::array<std::vector<CurveNode>, kEventKinds> found;  // by EventKind, each in x order
    std::array<bool, kEventKinds> more{};                   // the kind's limit cut the list
};

struct AnalysisOptions {
    bool extrema = true;      // report minima and maxima (they are looked for anyway)
    bool inflections = true;  // look for inflections
    // Subdivide where neighbouring slopes show the curve turning more often than the nodes
    // can tell (sin(1/x) near 0), with at most this many more evaluations; when they run out
    // the lists of roots, extrema and inflections say there may be more.
    std::size_t resolveBudget = 16384;
    std::size_t limit = 1000;  // points of each kind at most
};

// Breaks met on the way (a pole the special points did not name) join the curve's breaks and
// cut its nodes there.
CurveEvents AnalyseCurve(CurveFunction& f, SampledCurve& curve, const AnalysisOptions& options);

}  // namespace kq
