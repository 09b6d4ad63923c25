#include "plot/zero_search.h"

#include <cmath>
#include <limits>

namespace kq {
namespace {

// Part of the values' size below which a change across neighbours is rounding, not a jump.
constexpr long double kJumpShare = 0x1p-40L;
// More than this many times what the slopes account for is no continuous change.
constexpr long double kJumpFactor = 8;
// A little more than the relative spacing of doubles.
constexpr long double kDoubleSpacing = 0x1p-50L;
// Enough halvings to go from any bracket of long doubles to neighbours, with room to spare.
constexpr int kMostSteps = 200;

bool Neighbours(long double a, long double b) { return !(Above(a) < b); }

}  // namespace

bool IsJump(const CurveNode& a, const CurveNode& b, long double scale) {
    const long double change = std::fabs(b.s.value - a.s.value);
    if (!(change > kJumpShare * scale) || !(change > 0)) return false;
    long double slopes = std::fabs(a.s.dx) + std::fabs(b.s.dx);
    if (std::isnan(slopes)) slopes = 0;
    // The functions computed in double are steps a double's spacing wide: a continuous curve
    // changes that much between neighbouring long doubles at a step's edge.
    const long double width = std::max(std::fabs(b.x - a.x), kDoubleSpacing * std::max(std::fabs(a.x), std::fabs(b.x)));
    return change > kJumpFactor * slopes * width;
}

CurveNode FindDomainEnd(CurveFunction& f, long double defined, long double undefined) {
    for (int step = 0; step < kMostSteps; ++step) {
        const bool up = defined < undefined;
        const long double m = up ? SplitPoint(defined, undefined) : SplitPoint(undefined, defined);
        if (m == (up ? defined : undefined)) break;  // neighbours
        (f.Defined(m) ? defined : undefined) = m;
    }
    CurveNode end;
    if (!f.At(defined, end)) end.x = defined;  // the fast path said defined: keep the place
    return end;
}

SearchResult FindHole(CurveFunction& f, long double a, long double undefined, long double b) {
    SearchResult r;
    r.outcome = SearchResult::Hole;
    r.left = FindDomainEnd(f, a, undefined);
    r.right = FindDomainEnd(f, b, undefined);
    return r;
}

long double InverseInterpolation(const long double* xs, const long double* ys, int count) {
    const long double nothing = std::numeric_limits<long double>::quiet_NaN();
    if (count < 2 || count > 4) return nothing;
    const bool rising = ys[1] > ys[0];
    for (int i = 1; i < count; ++i)
        if (rising ? !(ys[i] > ys[i - 1]) : !(ys[i] < ys[i - 1])) return nothing;
    // Offsets from the first point keep the rounding at the scale of the bracket.
    long double x = 0;
    for (int i = 0; i < count; ++i) {
        long double weight = 1;
        for (int j = 0; j < count; ++j)
            if (j != i) weight *= ys[j] / (ys[j] - ys[i]);
        x += weight * (xs[i] - xs[0]);
    }
    return xs[0] + x;
}

SearchResult FindZero(CurveFunction& f, const CurveNode& a, const CurveNode& b, Order order, long double scale,
                      long double guess) {
    CurveNode lo = a, hi = b;
    // The second derivative's zero needs the slopes at the ends; the others start by false
    // position where the ends have only values.
    if (order != Order::Value && (!f.WithSlopes(lo) || !f.WithSlopes(hi))) return {};
    long double qlo = QuantityOf(lo.s, order), qhi = QuantityOf(hi.s, order);
    // The slopes' size about the bracket, against which a slope is 0 to the last bit (a pole
    // of the curve inside has far steeper ones).
    const long double slopeScale = std::max(std::fabs(qlo), std::fabs(qhi));
    const bool positiveLow = qlo > 0;
    bool lastLow = std::fabs(qlo) < std::fabs(qhi);  // the end evaluated last (or the better one)
    // Newton's steps (the secant's through the last two points, for the second derivative,
    // which has no exact slope of its own) must at least halve every other step, else the
    // bracket is halved instead.
    long double stepBefore = hi.x - lo.x, lastStep = stepBefore;
    bool stalling = false;  // the last step stayed on its side and did not even halve the quantity
    bool havePrevious = false;
    long double previousX = 0, previousQ = 0;
    // For a root the exact slope takes the first Newton step; after it the secant through
    // the last two points converges as fast (its error is about the product of theirs), and
    // the value alone costs a fraction of the slopes.
    bool stepped = false;
    for (int step = 0; step < kMostSteps && !Neighbours(lo.x, hi.x); ++step) {
        const CurveNode& p = lastLow ? lo : hi;
        const long double qp = QuantityOf(p.s, order);
        const Order next = order == Order::Value ? Order::Slope : Order::Curvature;
        long double c = 0;
        bool secant = false;
        if (step == 0 && guess > lo.x && guess < hi.x) {
            c = guess;
            secant = true;
        } else if (order != Order::Curvature && p.slopes && Known(p.s, next) && QuantityOf(p.s, next) != 0) {
            c = p.x - qp / QuantityOf(p.s, next);
        } else if (havePrevious && previousQ != qp) {
            c = p.x - qp * (p.x - previousX) / (qp - previousQ);
            secant = true;
        } else {
            c = lo.x + (hi.x - lo.x) * (qlo / (qlo - qhi));  // false position, to start
            secant = true;
        }
        if (c == p.x) {
            // A step below half the spacing of long doubles: p is the long double nearest the
            // zero, unless it is that close to a pole, where the quantity is no small one.
            if (!secant && order != Order::Curvature &&
                std::fabs(qp) <= kJumpShare * (order == Order::Value ? scale : slopeScale)) {
                SearchResult r;
                r.outcome = SearchResult::Zero;
                r.at = p;
                return r;
            }
            c = lastLow ? Above(lo.x) : Below(hi.x);  // look at the neighbour across
        }
        // Steps as fine as a double's spacing that hardly change the quantity (a function
        // computed in double answers only a double's steps): aim past the zero, so that the
        // bracket closes from both sides.
        if (stalling && c != p.x && std::fabs(c - p.x) < kDoubleSpacing * std::fabs(p.x)) {
            const long double beyond = c + (c - p.x);
            if (beyond > lo.x && beyond < hi.x) c = beyond;
        }
        const long double size = std::fabs(c - p.x);
        const bool bisect = !(c > lo.x && c < hi.x) || (!(size <= stepBefore / 2) && !(secant && step == 0));
        stepBefore = lastStep;
        lastStep = bisect ? (hi.x - lo.x) / 2 : size;
        havePrevious = true;
        previousX = p.x;
        previousQ = qp;
        if (bisect) c = SplitPoint(lo.x, hi.x);
        const bool valueOnly = order == Order::Value && stepped;
        stepped = stepped || (!secant && !bisect);
        CurveNode n;
        if (!(valueOnly ? f.ValueAt(c, n) : f.At(c, n))) return FindHole(f, lo.x, c, hi.x);
        const long double q = QuantityOf(n.s, order);
        if (std::isnan(q)) return {};
        if (q == 0) {
            SearchResult r;
            r.outcome = SearchResult::Zero;
            r.at = n;
            return r;
        }
        const bool low = (q > 0) == positiveLow;
        const bool stalled = stalling;
        stalling = low == lastLow && std::fabs(q) > std::fabs(qp) / 2;
        if (low) {
            lo = n;
            qlo = q;
        } else {
            hi = n;
            qhi = q;
        }
        lastLow = low;
        // Twice stuck inside a double's spacing: the quantity is a double's staircase there
        // (tg, ln and the others computed in double), which says nothing finer.
        if (stalled && stalling && hi.x - lo.x < kDoubleSpacing * std::fabs(n.x)) break;
    }
    SearchResult r;
    if (std::fabs(hi.s.value - lo.s.value) > kJumpShare * scale && f.WithSlopes(lo) && f.WithSlopes(hi) &&
        IsJump(lo, hi, scale)) {
        r.outcome = SearchResult::Jump;
        r.left = lo;
        r.right = hi;
        return r;
    }
    r.outcome = SearchResult::Zero;
    r.at = std::fabs(QuantityOf(lo.s, order)) <= std::fabs(QuantityOf(hi.s, order)) ? lo : hi;
    return r;
}

SearchResult LocateJump(CurveFunction& f, const CurveNode& a, const CurveNode& b, long double scale) {
    // Values only on the way: the slopes matter only between the final neighbours.
    long double lo = a.x, hi = b.x, vlo = a.s.value, vhi = b.s.value;
    for (int step = 0; step < kMostSteps; ++step) {
        const long double m = SplitPoint(lo, hi);
        if (m == lo) break;
        long double v = 0;
        if (!f.Value(m, v)) return FindHole(f, lo, m, hi);
        if (std::fabs(v - vlo) >= std::fabs(vhi - v)) {
            hi = m;
            vhi = v;
        } else {
            lo = m;
            vlo = v;
        }
    }
    SearchResult r;
    if (!f.At(lo, r.left) || !f.At(hi, r.right)) return {};
    if (IsJump(r.left, r.right, scale)) r.outcome = SearchResult::Jump;
    return r;
}

CurveNode FindZeroRunEnd(CurveFunction& f, const CurveNode& zero, const CurveNode& other, Order order) {
    const bool up = other.x > zero.x;
    // Most runs are a single point: its neighbour is already off zero.
    CurveNode next;
    const long double beside = up ? Above(zero.x) : Below(zero.x);
    if (!(beside != other.x) || !f.At(beside, next) || QuantityOf(next.s, order) != 0) return zero;
    CurveNode z = next;
    long double o = other.x;
    for (int step = 0; step < kMostSteps; ++step) {
        const long double m = up ? SplitPoint(z.x, o) : SplitPoint(o, z.x);
        if (m == (up ? z.x : o)) break;
        CurveNode n;
        if (f.At(m, n) && QuantityOf(n.s, order) == 0)
            z = n;
        else
            o = m;
    }
    return z;
}

}  // namespace kq
