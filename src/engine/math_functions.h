// The arithmetic with failures that both evaluators share: power, root and the functions.
// Nothing here throws; a failure is returned as a status.
#pragma once

#include "engine/eval_status.h"
#include "engine/function_codes.h"

namespace kq {

// π as the language knows it: the double-precision value held in extended form.
inline constexpr long double kPi = 3.141592653589793;

// What one degree is in radians, for the direct trigonometric functions in degrees mode.
inline constexpr long double kRadiansPerDegree = 0.0174532925199432957692369076848861271L;

// a^b: a negative base with a fractional exponent takes the odd root; 0^0 fails with "err2",
// 0 to a negative power with "/0".
EvalStatus Power(long double a, long double b, long double& out);

// |a|^(1/n), negated for negative a, which needs an odd integer n.
EvalStatus Root(long double a, long double n, long double& out);

// Value of function `code` for argument t. `n` is the number written after rt/pw. The
// direct trigonometric functions read t in radians: the caller converts degrees.
EvalStatus ApplyFunction(FunctionCode code, const long double& n, const long double& argument, long double& out);

// a / b, failing when |b| < 1e-14.
inline EvalStatus Divide(long double a, long double b, long double& out) {
    const long double m = b < 0 ? -b : b;
    if (!(m >= 1e-14L)) return EvalStatus::DivisionByZero;
    out = a / b;
    return EvalStatus::Ok;
}

}  // namespace kq
