#include "engine/math_functions.h"

#include <math.h>

#include "engine/trig.h"

namespace kq {
namespace {

bool IsInteger(long double v) { return std::isfinite(v) && std::trunc(v) == v; }

bool IsOddInteger(long double v) { return IsInteger(v) && std::fmod(v, 2.0L) != 0; }

bool InDomain(Domain domain, long double t) {
    switch (domain) {
        case Domain::Positive: return !(t <= 0);
        case Domain::NotNegative: return !(t < 0);
        case Domain::UnitInterval: return !(t < -1 || t > 1);
        case Domain::Everywhere:
        case Domain::OwnRule: break;
    }
    return true;
}

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
    if (b == 2)
        out = a * a;
    else if (b == 3)
        out = a * a * a;
    else
        out = std::pow(a, b);
    return EvalStatus::Ok;
}

EvalStatus Tangent(long double t, long double cosine, long double& out, bool exact) {
    if (std::fabs(cosine) <= kNegligible) return EvalStatus::FunctionPole;
    out = exact ? Sine(t) / cosine : DoublePrecisionValue(t, ::tan, ::tanl);
    return EvalStatus::Ok;
}

EvalStatus Cotangent(long double t, long double sine, long double& out, bool exact) {
    if (std::fabs(sine) <= kNegligible) return EvalStatus::FunctionPole;
    out = exact ? Cosine(t) / sine : 1.0L / DoublePrecisionValue(t, ::tan, ::tanl);
    return EvalStatus::Ok;
}

EvalStatus Tangent(long double t, long double& out, bool exact) {
    if (!exact) {
        if (CosineAtMost(t, kNegligible)) return EvalStatus::FunctionPole;
        out = DoublePrecisionValue(t, ::tan, ::tanl);
        return EvalStatus::Ok;
    }
    long double sine = 0, cosine = 0;
    SineCosine(t, &sine, &cosine);
    if (std::fabs(cosine) <= kNegligible) return EvalStatus::FunctionPole;
    out = sine / cosine;
    return EvalStatus::Ok;
}

EvalStatus Cotangent(long double t, long double& out, bool exact) {
    if (!exact) {
        if (SineAtMost(t, kNegligible)) return EvalStatus::FunctionPole;
        out = 1.0L / DoublePrecisionValue(t, ::tan, ::tanl);
        return EvalStatus::Ok;
    }
    long double sine = 0, cosine = 0;
    SineCosine(t, &sine, &cosine);
    if (std::fabs(sine) <= kNegligible) return EvalStatus::FunctionPole;
    out = cosine / sine;
    return EvalStatus::Ok;
}

namespace {

// tg of t degrees: sine over cosine (`exact`), else in double precision as tg of radians is,
// the double tangent of the rest after whole quarter turns (in an odd quarter -1 over it);
// 1 or -1 where the rest is 45 degrees, either way.
long double TangentValueDegrees(long double t, bool exact) {
    // (In exact mode the sine and cosine come from the one reduction of the angle.)
    long double sine = 0, cosine = 0;
    const QuarterTurns turns = exact ? InQuarterTurns(t, &sine, &cosine) : InQuarterTurns(t);
    if (turns.diagonal) {
        const long double one = turns.radians > 0 ? 1.0L : -1.0L;
        return turns.quadrant & 1 ? -one : one;
    }
    if (exact) return sine / cosine;
    const long double v = DoublePrecisionValue(turns.radians, ::tan, ::tanl);
    return turns.quadrant & 1 ? -1.0L / v : v;
}

// ctg the same way: cosine over sine, or 1 over the double tangent; 1 or -1 at 45 degrees.
long double CotangentValueDegrees(long double t, bool exact) {
    if (exact) {
        long double sine = 0, cosine = 0;
        if (!InQuarterTurns(t, &sine, &cosine).diagonal) return cosine / sine;
    }
    return 1.0L / TangentValueDegrees(t, false);
}

}  // namespace

EvalStatus TangentDegrees(long double t, long double cosine, long double& out, bool exact) {
    if (std::fabs(cosine) <= kNegligible) return EvalStatus::FunctionPole;
    out = TangentValueDegrees(t, exact);
    return EvalStatus::Ok;
}

EvalStatus CotangentDegrees(long double t, long double sine, long double& out, bool exact) {
    if (std::fabs(sine) <= kNegligible) return EvalStatus::FunctionPole;
    out = CotangentValueDegrees(t, exact);
    return EvalStatus::Ok;
}

EvalStatus TangentDegrees(long double t, long double& out, bool exact) {
    return TangentDegrees(t, CosineDegrees(t), out, exact);
}

EvalStatus CotangentDegrees(long double t, long double& out, bool exact) {
    return CotangentDegrees(t, SineDegrees(t), out, exact);
}

EvalStatus ApplyInDegrees(FunctionCode code, long double t, long double& out, bool exact) {
    switch (code) {
        case FunctionCode::Sin: out = SineDegrees(t); return EvalStatus::Ok;
        case FunctionCode::Cos: out = CosineDegrees(t); return EvalStatus::Ok;
        case FunctionCode::Tg: return TangentDegrees(t, out, exact);
        case FunctionCode::Ctg: return CotangentDegrees(t, out, exact);
        case FunctionCode::Sec: return TrigReciprocal(CosineDegrees(t), out);
        case FunctionCode::Csc: return TrigReciprocal(SineDegrees(t), out);
        default: return ApplyFunction(code, 0, t, out, exact);
    }
}

EvalStatus ApplyFunction(FunctionCode code, const long double& n, const long double& argument, long double& out,
                         bool exact) {
    const FunctionInfo* f = InfoOf(code);
    if (!f) {
        out = argument;
        return EvalStatus::Ok;
    }
    if (!InDomain(f->domain, argument)) return f->failure;
    if (exact && f->precision == Precision::Double) {
        if (f->evaluateExact) return f->evaluateExact(n, argument, out);
        out = f->inExtended(argument);
        return EvalStatus::Ok;
    }
    if (f->evaluate) return f->evaluate(n, argument, out);
    out = f->precision == Precision::Double ? DoublePrecisionValue(argument, f->inDouble, f->inExtended)
                                            : f->inExtended(argument);
    return EvalStatus::Ok;
}

}  // namespace kq
