// The arithmetic with failures that every evaluator shares: division, power, root, the
// trigonometric poles and the functions of the table. Nothing here throws; a failure is
// returned as a status.
#pragma once

#include <cfloat>
#include <cmath>

#include "engine/eval_status.h"
#include "engine/function_codes.h"

namespace kq {

// π as the language knows it: the double-precision value held in extended form.
inline constexpr long double kPi = 3.141592653589793;

// What one degree is in radians, for the direct trigonometric functions in degrees mode.
inline constexpr long double kRadiansPerDegree = 0.0174532925199432957692369076848861271L;

// Magnitudes the language treats as zero: a divisor below it fails, and so do a tangent whose
// cosine and a cotangent whose sine are not above it.
inline constexpr long double kNegligible = 1e-14L;

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

// tg t given cos t, ctg t given sin t, and 1/v for sec and csc: each fails at its poles.
EvalStatus Tangent(long double t, long double cosine, long double& out);
EvalStatus Cotangent(long double t, long double sine, long double& out);
inline EvalStatus TrigReciprocal(long double v, long double& out) {
    if (v == 0) return EvalStatus::FunctionPole;
    out = 1.0L / v;
    return EvalStatus::Ok;
}

// A function of double precision at t.
template <class InDouble, class InExtended>
long double DoublePrecisionValue(long double t, InDouble inDouble, InExtended) {
    return inDouble(static_cast<double>(t));
}
inline long double DoublePrecisionValue(long double t, double (*inDouble)(double), long double (*inExtended)(long double)) {
    return DoublePrecisionValue<double (*)(double), long double (*)(long double)>(t, inDouble, inExtended);
}

// Value of function `code` for argument t in radians. `n` is the number written after rt/pw.
EvalStatus ApplyFunction(FunctionCode code, const long double& n, const long double& argument, long double& out);

}  // namespace kq
