// The arithmetic with failures that every evaluator shares: division, power, root, the
// trigonometric poles and the functions of the table. Nothing here throws; a failure is
// returned as a status.
#pragma once

#include <cfloat>
#include <cmath>

#include "engine/eval_status.h"
#include "engine/function_codes.h"

namespace kq {

// π as the language knows it: the double-precision value held in extended form; with exact
// functions the long double nearest to π.
inline constexpr long double kPi = 3.141592653589793;
inline constexpr long double kExactPi = 0xC90FDAA22168C235p-62L;

// What one degree is in radians, for the direct trigonometric functions in degrees mode.
inline constexpr long double kRadiansPerDegree = 0.0174532925199432957692369076848861271L;

// Magnitudes the language treats as zero: a divisor below it fails, and so do a tangent whose
// cosine and a cotangent whose sine are not above it.
inline constexpr long double kNegligible = 1e-14L;

// std::trunc(v), bit for bit (the sign of a zero too), without the two changes of the x87
// control word that the library's makes: they stall the unit, and a plot asks this at
// every pixel column.
inline long double TowardZero(long double v) {
    constexpr long double kRounder = 0xC000000000000000p0L;  // 1.5 * 2^63: adding it rounds to an integer
    if (!(std::fabs(v) < 0x1p62L)) return std::trunc(v);       // integers already, infinities, NaN
    long double r = (v + kRounder) - kRounder;                 // the nearest integer
    if (v >= 0 ? r > v : r < v) r -= v >= 0 ? 1 : -1;
    return r == 0 ? std::copysign(0.0L, v) : r;
}

// a^b: a negative base with a fractional exponent takes the odd root; 0^0 fails with "err2",
// 0 to a negative power with "/0".
EvalStatus Power(long double a, long double b, long double& out);

// |a|^(1/n), negated for negative a, which needs an odd integer n.
EvalStatus Root(long double a, long double n, long double& out);

// a / b, failing when |b| < kNegligible.
inline EvalStatus Divide(long double a, long double b, long double& out) {
    const long double m = b < 0 ? -b : b;
    if (!(m >= kNegligible)) return EvalStatus::DivisionByZero;
    out = a / b;
    return EvalStatus::Ok;
}

// tg t given cos t, ctg t given sin t, and 1/v for sec (v = cos t) and csc (v = sin t): each
// fails at its poles, where that cosine or sine is not above kNegligible (cos(π/2) is not
// exactly 0, and the reciprocal of what it is would be a finite 1.6e16).
// With `exact` the value is sin t / cos t (cos t / sin t) in long double, else the double
// tangent (its reciprocal).
EvalStatus Tangent(long double t, long double cosine, long double& out, bool exact = false);
EvalStatus Cotangent(long double t, long double sine, long double& out, bool exact = false);
// The same where the formula has no such cosine or sine: the pole test decides as it would on
// them, at the cost of the reduction of t alone.
EvalStatus Tangent(long double t, long double& out, bool exact = false);
EvalStatus Cotangent(long double t, long double& out, bool exact = false);
// The same of an angle t in degrees (the cosine or sine given is that of t degrees).
EvalStatus TangentDegrees(long double t, long double cosine, long double& out, bool exact);
EvalStatus CotangentDegrees(long double t, long double sine, long double& out, bool exact);
EvalStatus TangentDegrees(long double t, long double& out, bool exact);
EvalStatus CotangentDegrees(long double t, long double& out, bool exact);
// sin, cos, tg, ctg, sec or csc (`code`) of t degrees, as the program's instructions give it.
EvalStatus ApplyInDegrees(FunctionCode code, long double t, long double& out, bool exact);
inline EvalStatus TrigReciprocal(long double v, long double& out) {
    if (std::fabs(v) <= kNegligible) return EvalStatus::FunctionPole;
    out = 1.0L / v;
    return EvalStatus::Ok;
}

// Whether v is held in double as it is in long double's range: it rounds to a normal double,
// or it is 0, an infinity or NaN.
inline bool FitsDouble(long double v) {
    const double d = static_cast<double>(v);
    return std::isnormal(d) || std::isnan(d) || ((d == 0 || std::isinf(d)) && d == v);
}

// A function of double precision at t. Where t fits a double and the result is a normal
// double (or NaN) the value is the double one, bit for bit; where either would leave double's
// range it is computed in long double instead (lg(1e400) is 400, exp(1000) about 1.97e434).
// 0 and the infinities keep the double value.
template <class InDouble, class InExtended>
long double DoublePrecisionValue(long double t, InDouble inDouble, InExtended inExtended) {
    const double d = static_cast<double>(t);
    if (std::isnormal(d)) {
        const double r = inDouble(d);
        if (std::isnormal(r) || std::isnan(r)) return r;
        return inExtended(t);
    }
    return FitsDouble(t) ? inDouble(d) : inExtended(t);
}
inline long double DoublePrecisionValue(long double t, double (*inDouble)(double),
                                        long double (*inExtended)(long double)) {
    return DoublePrecisionValue<double (*)(double), long double (*)(long double)>(t, inDouble, inExtended);
}

// Value of function `code` for argument t in radians. `n` is the number written after rt/pw.
// With `exact` the functions of double precision are computed in long double.
EvalStatus ApplyFunction(FunctionCode code, const long double& n, const long double& argument, long double& out,
                         bool exact = false);

}  // namespace kq
