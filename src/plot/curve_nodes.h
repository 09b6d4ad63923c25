// A curve of a view sampled finer than the pixels and cut where it breaks: the points known
// on it in x order, the gaps between those across which it is not continuous, and the breaks
// and domain ends found on the way (through the engine's special points and bisection).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "plot/curve_function.h"

namespace kq {

// (Derived, not holding one, so that its marks take the padding at a CurveNode's end: the
// finder moves and scans these by the thousand, and every byte counts.)
struct SampledNode : CurveNode {
    bool gapAfter = false;  // the curve is not continuous between this node and the next
    bool extremum = false;  // the node is a zero of the slope found by the finder
    std::int32_t sample = -1;  // the sampling grid's point the node is at, or -1 (between)
};

// A break: the curve jumps or is undefined between `left` and `right` (its last points on
// either side, present when `hasLeft`, `hasRight`), at x.
struct CurveBreak {
    long double x = 0;
    CurveNode left, right;
    bool hasLeft = true, hasRight = true;
};

struct SampledCurve {
    std::vector<SampledNode> nodes;
    std::vector<CurveBreak> breaks;
    std::vector<CurveNode> ends;  // the last points of the domain inside the view
    long double scale = 0;        // the largest size of the values at the samples
    long double spacing = 0;      // between samples
    long double floor = 0;        // the least size of values that a jump is measured against
    bool moreBreaks = false;      // the search for breaks stopped at its limit
};

// The size of the values about [a, b] against which a jump counts as one.
long double LocalScale(const SampledCurve& curve, const CurveNode& a, const CurveNode& b);

struct SamplingPlan {
    std::vector<long double> xs;  // increasing
    long double spacing = 0;      // between them
    // Values of this size matter (the view's height): a change far below it between
    // neighbouring long doubles is rounding (a function computed in double is a staircase of
    // a double's steps), never a jump.
    long double extent = 0;
    std::size_t limit = 1000;  // breaks looked for at most
};

// Samples f at every x of the plan and finds its breaks and domain ends among them: stretches
// where it is undefined (a break where the stretch is narrower than the spacing, two domain
// ends where it is wider), poles and jumps at the formula's special points, and jumps the
// values show. `specials` answers for the formula f is made of.
SampledCurve SampleCurve(CurveFunction& f, const SpecialPointSet& specials, const SamplingPlan& plan);

}  // namespace kq
