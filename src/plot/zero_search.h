// The one-dimensional searches of the point finder: a zero of a curve's value, slope or second
// derivative inside a bracket, the end of its domain, a jump. Each ends at neighbouring long
// doubles, and each notices when what it closes in on is a break rather than a zero.
#pragma once

#include <cmath>
#include <limits>

#include "plot/curve_function.h"

namespace kq {

// The quantity a search drives to zero: the value (roots, crossings), the slope (extrema) or
// the second derivative (inflections).
enum class Order { Value, Slope, Curvature };

// (These three are inline: the analysis asks them at every node of every pass.)
inline long double QuantityOf(const CurveSlopes& s, Order order) {
    switch (order) {
        case Order::Value: return s.value;
        case Order::Slope: return s.dx;
        case Order::Curvature: return s.dxx;
    }
    return s.value;
}
// Whether the quantity means something there (the slope of a kink does not).
inline bool Known(const CurveSlopes& s, Order order) {
    switch (order) {
        case Order::Value: return true;
        case Order::Slope: return s.first != SlopeStatus::NotDifferentiable && std::isfinite(s.dx);
        case Order::Curvature: return s.second != SlopeStatus::NotDifferentiable && std::isfinite(s.dxx);
    }
    return true;
}
// -1, 0 or 1; 0 also where the quantity is not known.
inline int SignOf(const CurveSlopes& s, Order order) {
    if (!Known(s, order)) return 0;
    const long double q = QuantityOf(s, order);
    return q > 0 ? 1 : (q < 0 ? -1 : 0);
}

struct SearchResult {
    enum Outcome {
        Zero,  // `at` is the zero
        Hole,  // the curve is undefined between `left` and `right`, its last points either side
        Jump,  // the curve jumps between `left` and `right`, neighbouring long doubles
        None,  // nothing there after all
    } outcome = None;
    CurveNode at, left, right;
};

// The zero of the quantity between a and b, where its signs are opposite and nonzero: Newton's
// method on the exact slope where there is one (the secant for the second derivative, whose
// slope the engine does not give), kept inside the bracket and falling back on bisection.
// Ends at the long double where the quantity is 0, at the one nearest the zero when Newton's
// step from it is below half a unit, or of the two neighbours across its change of sign the
// one where it is smaller; for a quantity computed in double, whose values are a double's
// steps, once the bracket is narrower than a double's spacing. `scale` is the size of the
// curve's values about there, against which a change of value across the final neighbours
// counts as a jump. A `guess` inside the bracket (from the values about it) is where the
// search starts.
SearchResult FindZero(CurveFunction& f, const CurveNode& a, const CurveNode& b, Order order, long double scale,
                      long double guess = std::numeric_limits<long double>::quiet_NaN());

// Where the curve through the points (xs[i], ys[i]) meets 0, read off the inverse
// interpolating polynomial: x as a polynomial in y through the points, at y = 0. NaN unless
// the ys are strictly monotonic. At most four points.
long double InverseInterpolation(const long double* xs, const long double* ys, int count);

// Between x `defined` (where the curve has a point) and x `undefined` (where it has none), the
// point of the curve nearest the undefined side.
CurveNode FindDomainEnd(CurveFunction& f, long double defined, long double undefined);

// The undefined stretch around x `undefined`, between defined points a < undefined < b.
SearchResult FindHole(CurveFunction& f, long double a, long double undefined, long double b);

// Whether the curve jumps between two points, neighbours or close: the change of value is a
// sizeable part of `scale` and far more than the slopes there account for.
bool IsJump(const CurveNode& a, const CurveNode& b, long double scale);

// A jump between a and b (both defined, a < b): halves toward the larger change of value until
// it is between neighbours; a Jump or Hole where there is one, else None.
SearchResult LocateJump(CurveFunction& f, const CurveNode& a, const CurveNode& b, long double scale);

// Where the quantity stops being exactly 0: between `zero` (where it is 0) and `other` (where
// it is not, either side of `zero`), the point nearest `other` where it is still 0.
CurveNode FindZeroRunEnd(CurveFunction& f, const CurveNode& zero, const CurveNode& other, Order order);

}  // namespace kq
