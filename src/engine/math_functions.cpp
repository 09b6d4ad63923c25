#include "engine/math_functions.h"

#include <cmath>

namespace kq {
namespace {

bool IsInteger(long double v) { return std::isfinite(v) && std::trunc(v) == v; }

bool IsOddInteger(long double v) { return IsInteger(v) && std::fmod(v, 2.0L) != 0; }

}  // namespace

EvalStatus Root(long double a, long double n, long double& out) {
    if (a < 0 && !IsOddInteger(n)) return EvalStatus::EvenRoot;
    const long double inverse = 1.0L / n;
    if (a == 0 && inverse < 0) return EvalStatus::DivisionByZero;
    // The square root is the common case and sqrtl rounds it exactly.
    const long double magnitude = n == 2 ? std::sqrt(std::fabs(a)) : std::pow(std::fabs(a), inverse);
    out = a < 0 ? -magnitude : magnitude;
    return EvalStatus::Ok;
}

EvalStatus Power(long double a, long double b, long double& out) {
    if (!IsInteger(b) && a < 0) return Root(a, 1.0L / b, out);
    if (a == 0) {
        if (b == 0) return EvalStatus::ZeroToZero;
        if (b < 0) return EvalStatus::DivisionByZero;
        out = 0;
        return EvalStatus::Ok;
    }
    if (b == 0) {
        out = 1;
        return EvalStatus::Ok;
    }
    // Squares and cubes by multiplication give the same bits as powl and cost far less.
    if (b == 2) out = a * a;
    else if (b == 3) out = a * a * a;
    else out = std::pow(a, b);
    return EvalStatus::Ok;
}

EvalStatus ApplyFunction(FunctionCode code, const long double& n, const long double& argument, long double& out) {
    using F = FunctionCode;
    const long double t = argument;
    const double d = static_cast<double>(t);
    switch (code) {
        case F::Ln:
            if (t <= 0) return EvalStatus::NoValue;
            out = std::log(d);
            break;
        case F::Lg:
            if (t <= 0) return EvalStatus::NoValue;
            out = std::log10(d);
            break;
        case F::Sgn: out = t > 0 ? 1 : (t < 0 ? -1 : 0); break;
        case F::Sin: out = std::sin(t); break;
        case F::Cos: out = std::cos(t); break;
        case F::Sec: {
            const long double c = std::cos(t);
            if (c == 0) return EvalStatus::FunctionPole;
            out = 1.0L / c;
            break;
        }
        case F::Csc: {
            const long double s = std::sin(t);
            if (s == 0) return EvalStatus::FunctionPole;
            out = 1.0L / s;
            break;
        }
        case F::Tg:
            if (std::fabs(std::cos(t)) <= 1e-14L) return EvalStatus::FunctionPole;
            out = std::tan(d);
            break;
        case F::Ctg:
            if (std::fabs(std::sin(t)) <= 1e-14L) return EvalStatus::FunctionPole;
            out = 1.0L / static_cast<long double>(std::tan(d));
            break;
        case F::Abs: out = std::fabs(t); break;
        case F::Root: return Root(t, n, out);
        case F::PowerN:
            if (n == 0) {
                out = 1;
            } else {
                if (t == 0 && n < 0) return EvalStatus::DivisionByZero;
                out = std::pow(d, static_cast<double>(n));
            }
            break;
        case F::Arcsin:
        case F::Arccos:
            if (t < -1 || t > 1) return EvalStatus::InverseTrig;
            out = code == F::Arcsin ? std::asin(d) : std::acos(d);
            break;
        case F::Arctg: out = std::atan(d); break;
        case F::Arcctg:
            if (t > 0) out = std::atan(static_cast<double>(1.0L / t));
            else if (t < 0) out = std::atan(static_cast<double>(1.0L / t)) + kPi;
            else if (t == 0) out = kPi / 2;
            else out = t;  // NaN stays NaN
            break;
        case F::Sqrt:
            if (t < 0) return EvalStatus::NoValue;
            out = std::sqrt(d);
            break;
        case F::Exp: out = std::exp(d); break;
        case F::LogBase:
        case F::None: out = t; break;
    }
    return EvalStatus::Ok;
}

}  // namespace kq
