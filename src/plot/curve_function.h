// What the point finder evaluates: one plotted formula, or the difference of two (whose zeros
// are where the curves cross), with its value and exact slopes at any x.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/translator.h"

namespace kq {

// What a point of a plane curve keeps of the engine's Slopes: a function of x alone has no
// d/dy, and a node is copied and scanned by the thousand (the smaller, the faster).
struct CurveSlopes {
    long double value = 0;
    long double dx = 0, dxx = 0;
    SlopeStatus first = SlopeStatus::Exact, second = SlopeStatus::Exact;
};

// A point of a curve with what is known there: always the value, the slopes only where
// they were asked for (they cost several times what the value does).
struct CurveNode {
    long double x = 0;
    CurveSlopes s;
    bool slopes = false;
};

class CurveFunction {
public:
    explicit CurveFunction(Translator& f) : f_(&f) {}
    // f - g.
    CurveFunction(Translator& f, Translator& g) : f_(&f), g_(&g) {}

    // The value and slopes at x; false where the curve has no point there (the formula fails,
    // or its value is an infinity or NaN, which no plot can show).
    bool At(long double x, CurveSlopes& out);
    bool At(long double x, CurveNode& out) {
        out.x = x;
        out.slopes = At(x, out.s);
        return out.slopes;
    }
    // Gives `node` its slopes if it has none yet; false where the curve has no point there.
    bool WithSlopes(CurveNode& node) { return node.slopes || At(node.x, node); }
    // The values at every x of `xs` in one go (the native column where there is one), with
    // whether each is a point of the curve.
    void Values(const std::vector<long double>& xs, std::vector<long double>& values, std::vector<char>& defined);
    // Only whether there is a point at x, the fast way.
    bool Defined(long double x);
    // The value alone, the fast way; false where there is no point.
    bool Value(long double x, long double& out);
    // A node with the value alone (no slopes), the fast way.
    bool ValueAt(long double x, CurveNode& out) {
        out.x = x;
        out.s = CurveSlopes{};
        out.slopes = false;
        return Value(x, out.s.value);
    }

private:
    Translator* f_;
    Translator* g_ = nullptr;
};

// A long double as stored: its 64-bit significand, and its sign and exponent. (Sizes order as
// the exponent and then the significand, which integer comparisons read without the x87 unit.)
struct LongDoubleBits {
    std::uint64_t significand = 0;
    std::uint16_t top = 0;
};
inline LongDoubleBits BitsOf(const long double& x) {
    LongDoubleBits b;
    std::memcpy(&b.significand, &x, 8);
    std::memcpy(&b.top, reinterpret_cast<const char*>(&x) + 8, 2);
    return b;
}

// A number between a and b (a < b) that halves the long doubles between them, so that
// bisection ends in at most about 80 steps whatever the magnitudes (an arithmetic mean would
// need thousands to reach a zero at 1e-300 from 1). Equals a when a and b are neighbours.
long double SplitPoint(long double a, long double b);

// The neighbour of x toward +inf / -inf.
long double Above(long double x);
long double Below(long double x);

}  // namespace kq
