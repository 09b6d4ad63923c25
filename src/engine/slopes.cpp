#include "engine/slopes.h"

#include <cmath>

#include "engine/function_slopes.h"
#include "engine/math_functions.h"
#include "engine/trig.h"

namespace kq {
namespace {

using Op = Program::Op;

bool IsInteger(long double v) { return std::isfinite(v) && std::trunc(v) == v; }

bool Constant(long double dx, long double dxx, long double dy) { return dx == 0 && dxx == 0 && dy == 0; }

// The derivatives of a function of t degrees: pi/180 (the long double the radians came from
// before, so the same product) times those in radians, twice for the second.
FunctionSlope PerDegree(FunctionSlope s) {
    s.first *= kRadiansPerDegree;
    s.second *= kRadiansPerDegree * kRadiansPerDegree;
    return s;
}

// The sine and cosine of an instruction's angle, in its unit.
void SineCosineOf(const Program::Instr& i, long double angle, long double* sine, long double* cosine) {
    if (i.degrees)
        SineCosineDegrees(angle, sine, cosine);
    else
        SineCosine(angle, sine, cosine);
}

// p * q where either may be an infinity: a factor that is exactly 0 wins, so that a derivative
// that does not move leaves the product 0 (0 * inf would be NaN).
long double Times(long double p, long double q) { return p == 0 || q == 0 ? 0 : p * q; }

}  // namespace

template <bool kY>
void SlopeEvaluator::Chain(std::uint32_t dst, std::uint32_t a, const FunctionSlope& slope) {
    const Derivatives& t = d_[a];
    d_[dst] = {Times(slope.first, t.dx), Times(slope.second, t.dx * t.dx) + Times(slope.first, t.dxx),
               kY ? Times(slope.first, t.dy) : 0};
    std::uint8_t flags = flags_[a];
    if (!slope.hasFirst) flags |= kNoFirst;
    if (!slope.hasSecond) flags |= kNoSecond;
    flags_[dst] = flags;
}

template <bool kY>
void SlopeEvaluator::Differentiate(const Program::Instr& i) {
    const long double* v = values_.data();
    Derivatives* d = d_.data();
    std::uint8_t* flags = flags_.data();
    const Derivatives& a = d[i.a];
    const Derivatives& b = d[i.b];
    Derivatives& r = d[i.dst];
    std::uint8_t both = flags[i.a];
    switch (i.op) {
        case Op::Add:
            r = {a.dx + b.dx, a.dxx + b.dxx, kY ? a.dy + b.dy : 0};
            both |= flags[i.b];
            break;
        case Op::Sub:
            r = {a.dx - b.dx, a.dxx - b.dxx, kY ? a.dy - b.dy : 0};
            both |= flags[i.b];
            break;
        case Op::Neg: r = {-a.dx, -a.dxx, kY ? -a.dy : 0}; break;
        case Op::Mul: {
            const long double p = v[i.a], q = v[i.b];
            r = {a.dx * q + p * b.dx, a.dxx * q + 2 * a.dx * b.dx + p * b.dxx, kY ? a.dy * q + p * b.dy : 0};
            both |= flags[i.b];
            break;
        }
        case Op::Div: {
            // q = p / s: q' = (p' - q s') / s, q'' = (p'' - 2 q' s' - q s'') / s.
            const long double s = v[i.b], q = v[i.dst];
            const long double dx = (a.dx - q * b.dx) / s;
            r = {dx, (a.dxx - 2 * dx * b.dx - q * b.dxx) / s, kY ? (a.dy - q * b.dy) / s : 0};
            both |= flags[i.b];
            break;
        }
        case Op::Square: {
            const long double p = v[i.a];
            r = {2 * p * a.dx, 2 * (a.dx * a.dx + p * a.dxx), kY ? 2 * p * a.dy : 0};
            break;
        }
        case Op::Cube: {
            const long double p = v[i.a];
            r = {3 * p * p * a.dx, 6 * p * a.dx * a.dx + 3 * p * p * a.dxx, kY ? 3 * p * p * a.dy : 0};
            break;
        }
        case Op::Abs: {
            const long double w = v[i.a];
            if (w > 0) {
                r = a;
            } else if (w < 0) {
                r = {-a.dx, -a.dxx, kY ? -a.dy : 0};
            } else if (w == 0 && a.dx == 0 && a.dy == 0) {
                r = {0, std::fabs(a.dxx), 0};  // |w| near a double zero of w is w or -w alike
            } else {
                r = {0, 0, 0};
                both |= kNoFirst;
            }
            break;
        }
        case Op::Pow: {
            const long double base = v[i.a], e = v[i.b], value = v[i.dst];
            both |= flags[i.b];
            if (Constant(b.dx, b.dxx, b.dy) || base == 0) {
                FunctionSlope slope;
                if (base == 0) {
                    slope = SlopeOfPowerAtZero(e);
                    if (!Constant(b.dx, b.dxx, b.dy)) slope.hasSecond = false;
                } else {
                    // A negative base with a fractional exponent is the odd root Power takes.
                    const long double p = base < 0 && !IsInteger(e) ? 1.0L / (1.0L / e) : e;
                    const long double first = p * (value / base);
                    slope = {first, (p - 1) * (first / base), true, true};
                }
                Chain<kY>(i.dst, i.a, slope);
                flags[i.dst] |= flags[i.b];
                return;
            }
            if (base < 0) {
                // Only odd roots and whole powers have values there: not a smooth function of
                // an exponent that moves.
                r = {0, 0, 0};
                both |= kNoFirst;
                break;
            }
            // v = exp(g), g = e ln(base): v' = v g', v'' = v (g'^2 + g'').
            const long double ln = std::log(base);
            const long double gx = b.dx * ln + e * (a.dx / base);
            const long double gy = kY ? b.dy * ln + e * (a.dy / base) : 0;
            const long double gxx =
                b.dxx * ln + 2 * b.dx * (a.dx / base) + e * ((a.dxx * base - a.dx * a.dx) / (base * base));
            r = {value * gx, value * (gx * gx + gxx), value * gy};
            break;
        }
        case Op::SinCos: {
            // dst holds the sine and b the cosine of a.
            const long double s = v[i.dst], c = v[i.b];
            if (i.degrees) {
                Chain<kY>(i.dst, i.a, PerDegree({c, -s, true, true}));
                Chain<kY>(i.b, i.a, PerDegree({-s, -c, true, true}));
                return;
            }
            Chain<kY>(i.dst, i.a, {c, -s, true, true});
            Chain<kY>(i.b, i.a, {-s, -c, true, true});
            return;
        }
        case Op::Sin:
        case Op::Cos: {
            long double s = 0, c = 0;
            SineCosineOf(i, v[i.a], &s, &c);
            const FunctionSlope slope = i.op == Op::Sin ? FunctionSlope{c, -s, true, true} : FunctionSlope{-s, -c, true, true};
            Chain<kY>(i.dst, i.a, i.degrees ? PerDegree(slope) : slope);
            return;
        }
        case Op::Tg: {
            // b holds the cosine of the angle a, as the engine computed it for the pole test.
            if (i.degrees) {
                Chain<kY>(i.dst, i.a, PerDegree(SlopeOfTangent(v[i.b], SineDegrees(v[i.a]))));
                return;
            }
            Chain<kY>(i.dst, i.a, SlopeOfTangent(v[i.b], TableValue(FunctionCode::Sin, v[i.a])));
            return;
        }
        case Op::Ctg: {
            // b holds the sine of the angle a.
            if (i.degrees) {
                Chain<kY>(i.dst, i.a, PerDegree(SlopeOfCotangent(CosineDegrees(v[i.a]), v[i.b])));
                return;
            }
            Chain<kY>(i.dst, i.a, SlopeOfCotangent(TableValue(FunctionCode::Cos, v[i.a]), v[i.b]));
            return;
        }
        case Op::TgAlone:
        case Op::CtgAlone: {
            if (i.degrees) {
                long double s = 0, c = 0;
                SineCosineDegrees(v[i.a], &s, &c);
                Chain<kY>(i.dst, i.a, PerDegree(i.op == Op::TgAlone ? SlopeOfTangent(c, s) : SlopeOfCotangent(c, s)));
                return;
            }
            const FunctionCode code = i.op == Op::TgAlone ? FunctionCode::Tg : FunctionCode::Ctg;
            Chain<kY>(i.dst, i.a, SlopeOfFunction(code, 0, v[i.a], v[i.dst]));
            return;
        }
        case Op::Sec:
        case Op::Csc: {
            // 1/w of the cosine (or sine) register: (1/w)' = -w'/w^2, (1/w)'' = (2w'^2 - w w'')/w^3.
            const long double w = v[i.a], w2 = w * w;
            Chain<kY>(i.dst, i.a, {-1 / w2, 2 / (w2 * w), true, true});
            return;
        }
        case Op::Func: Chain<kY>(i.dst, i.a, SlopeOfFunction(i.code, v[i.b], v[i.a], v[i.dst])); return;
        case Op::Fail: return;
    }
    flags[i.dst] = both;
}

template <bool kY>
EvalStatus SlopeEvaluator::Run(const Program& program) {
    for (const Program::Instr& instr : program.Code()) {
        if (instr.op == Op::Sin || instr.op == Op::Cos) {
            // The sine and the cosine from one reduction of the angle, which costs more than
            // the rest of them: the same bits as the engine's sine and cosine alone give (the
            // program's fused SinCos relies on that too).
            long double sine = 0, cosine = 0;
            SineCosineOf(instr, values_[instr.a], &sine, &cosine);
            const bool isSine = instr.op == Op::Sin;
            values_[instr.dst] = isSine ? sine : cosine;
            const FunctionSlope slope = isSine ? FunctionSlope{cosine, -sine, true, true}
                                               : FunctionSlope{-sine, -cosine, true, true};
            Chain<kY>(instr.dst, instr.a, instr.degrees ? PerDegree(slope) : slope);
            continue;
        }
        if (EvalStatus s = Program::Step(instr, values_.data()); s != EvalStatus::Ok) return s;
        Differentiate<kY>(instr);
    }
    return EvalStatus::Ok;
}

EvalStatus SlopeEvaluator::Evaluate(const Program& program, const long double& x, const long double& y, Slopes& out) {
    // Every instruction writes its results before any reads them, so only the constants, set
    // once, and the variables need to be there.
    const std::vector<long double>& registers = program.Registers();
    if (!ready_ || values_.size() != registers.size()) {
        values_.assign(registers.begin(), registers.end());
        d_.assign(registers.size(), Derivatives{0, 0, 0});
        flags_.assign(registers.size(), 0);
        // A formula of x alone (every plane curve) has d/dy 0 throughout: not computed.
        withY_ = false;
        for (const Program::Instr& instr : program.Code()) withY_ = withY_ || instr.a == 1 || instr.b == 1;
        ready_ = true;
    }
    values_[0] = x;
    values_[1] = y;
    d_[0].dx = 1;
    d_[1].dy = 1;
    if (EvalStatus s = withY_ ? Run<true>(program) : Run<false>(program); s != EvalStatus::Ok) return s;
    const std::uint32_t result = program.ResultSlot();
    const long double value = values_[result];
    const Derivatives& d = d_[result];
    std::uint8_t flags = flags_[result];
    // A finite value whose slope came out infinite or NaN has no slope worth the name there.
    if (std::isfinite(value)) {
        if (!std::isfinite(d.dx) || !std::isfinite(d.dy)) flags |= kNoFirst;
        if (!std::isfinite(d.dxx)) flags |= kNoSecond;
    }
    out.value = value + 0.0L;  // as the program gives it: a sum starts from +0
    out.dx = d.dx;
    out.dy = d.dy;
    out.dxx = d.dxx;
    out.first = (flags & 1) ? SlopeStatus::NotDifferentiable : SlopeStatus::Exact;
    out.second = (flags & kNoSecond) ? SlopeStatus::NotDifferentiable : SlopeStatus::Exact;
    return EvalStatus::Ok;
}

}  // namespace kq
