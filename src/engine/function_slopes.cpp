#include "engine/function_slopes.h"

#include <cmath>
#include <limits>

#include "engine/math_functions.h"

namespace kq {
namespace {

using F = FunctionCode;

constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
constexpr long double kLog10OfE = 0.434294481903251827651128918916605082294L;

FunctionSlope Rule(long double first, long double second) { return {first, second, true, true}; }

FunctionSlope Jump() { return {0, 0, false, false}; }

// d/dt t^p for t != 0, with v = t^p: p v / t, and the second p (p - 1) v / t^2.
FunctionSlope PowerRule(long double p, long double t, long double v) {
    const long double first = p * (v / t);
    return Rule(first, (p - 1) * (first / t));
}

}  // namespace

long double TableValue(FunctionCode code, long double t) {
    long double v = 0;
    ApplyFunction(code, 0, t, v);
    return v;
}

FunctionSlope SlopeOfTangent(long double c, long double s) {
    const long double first = 1 / (c * c);
    return Rule(first, 2 * s * (first / c));
}

FunctionSlope SlopeOfCotangent(long double c, long double s) {
    const long double first = -1 / (s * s);
    return Rule(first, -2 * c * (first / s));
}

FunctionSlope SlopeOfPowerAtZero(long double p) {
    if (p == 1) return Rule(1, 0);
    if (p == 2) return Rule(0, 2);
    if (p > 2) return Rule(0, 0);
    if (p > 1) return {0, kInfinity, true, false};
    return {kInfinity, kInfinity, false, false};
}

FunctionSlope SlopeOfFunction(FunctionCode code, long double n, long double t, long double value) {
    switch (code) {
        case F::None: return Rule(1, 0);
        case F::Ln: {
            const long double first = 1 / t;
            return Rule(first, -first * first);
        }
        case F::Lg: {
            const long double first = kLog10OfE / t;
            return Rule(first, -first / t);
        }
        case F::Exp: {
            // The value is computed in double; the slope is the exact function's.
            const long double e = std::exp(t);
            return Rule(e, e);
        }
        case F::Sqrt: {
            if (t == 0) return {kInfinity, -kInfinity, false, false};
            const long double root = std::sqrt(t);
            const long double first = 0.5L / root;
            return Rule(first, -first / (2 * t));
        }
        case F::Sgn:
            if (t == 0) return Jump();
            return Rule(0, 0);
        case F::Abs:
            if (t == 0) return Jump();
            return Rule(t > 0 ? 1 : -1, 0);
        case F::Sin: return Rule(TableValue(F::Cos, t), -value);
        case F::Cos: return Rule(-TableValue(F::Sin, t), -value);
        case F::Tg: return SlopeOfTangent(TableValue(F::Cos, t), TableValue(F::Sin, t));
        case F::Ctg: return SlopeOfCotangent(TableValue(F::Cos, t), TableValue(F::Sin, t));
        case F::Sec: {
            const long double c = TableValue(F::Cos, t), s = TableValue(F::Sin, t);
            const long double c2 = c * c;
            return Rule(s / c2, (1 + s * s) / (c2 * c));
        }
        case F::Csc: {
            const long double c = TableValue(F::Cos, t), s = TableValue(F::Sin, t);
            const long double s2 = s * s;
            return Rule(-c / s2, (1 + c * c) / (s2 * s));
        }
        case F::Arcsin:
        case F::Arccos: {
            const long double sign = code == F::Arcsin ? 1 : -1;
            const long double rest = (1 - t) * (1 + t);
            if (rest == 0) return {sign * kInfinity, sign * t * kInfinity, false, false};
            const long double first = 1 / std::sqrt(rest);
            return Rule(sign * first, sign * t * (first * first * first));
        }
        case F::Arctg:
        case F::Arcctg: {
            const long double sign = code == F::Arctg ? 1 : -1;
            const long double first = 1 / (1 + t * t);
            return Rule(sign * first, sign * -2 * t * (first * first));
        }
        case F::Root: {
            // Root computes |t|^(1/n) with this very exponent.
            const long double p = 1.0L / n;
            if (t == 0) return SlopeOfPowerAtZero(p);
            return PowerRule(p, t, value);
        }
        case F::PowerN: {
            if (n == 0) return Rule(0, 0);
            if (t == 0) return SlopeOfPowerAtZero(n);
            // The value is computed in double: the slope takes its own powers in long double.
            const long double first = n * std::pow(t, n - 1);
            const long double second = n * (n - 1) * std::pow(t, n - 2);
            return {first, second, std::isfinite(first), std::isfinite(second)};
        }
    }
    return Rule(1, 0);
}

}  // namespace kq
