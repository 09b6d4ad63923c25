#include "engine/units.h"

#include "engine/math_functions.h"

namespace kq {

static_assert(sizeof(OperationUnit) <= 32, "a unit is held by value in lists of millions");

OperationUnit::~OperationUnit() = default;

EvalStatus OperationUnit::Finish(long double v, long double x, long double y, const FormulaMode& mode,
                                 long double& out) const {
    if (exponent) {
        long double e = 0;
        if (EvalStatus s = exponent->Evaluate(x, y, mode, e); s != EvalStatus::Ok) return s;
        if (EvalStatus s = Power(v, e, v); s != EvalStatus::Ok) return s;
    }
    out = negative ? -v : v;
    return EvalStatus::Ok;
}

EvalStatus OperationUnit::Evaluate(long double x, long double y, const FormulaMode& mode, long double& out) const {
    if (IsFunction()) {
        long double t = 0;
        if (sub)
            if (EvalStatus s = sub->Evaluate(x, y, mode, t); s != EvalStatus::Ok) return s;
        long double v = 0;
        const EvalStatus s = mode.degrees && IsDirectTrig(code) ? ApplyInDegrees(code, t, v, mode.exact)
                                                                : ApplyFunction(code, n, t, v, mode.exact);
        if (s != EvalStatus::Ok) return s;
        return Finish(v, x, y, mode, out);
    }
    long double v = 0;
    switch (kind) {
        case OperandKind::Number: v = value; break;
        case OperandKind::X: v = x; break;
        case OperandKind::Y: v = y; break;
        case OperandKind::Pi: v = mode.exact ? kExactPi : kPi; break;
        case OperandKind::TooDeep: return EvalStatus::TooDeep;
    }
    if (sub)
        if (EvalStatus s = sub->Evaluate(x, y, mode, v); s != EvalStatus::Ok) return s;
    return Finish(v, x, y, mode, out);
}

EvalStatus ExpressionList::Evaluate(long double x, long double y, const FormulaMode& mode, long double& out) const {
    long double acc = 0;
    for (const OperationUnit& unit : units) {
        long double v = 0;
        if (EvalStatus s = unit.Evaluate(x, y, mode, v); s != EvalStatus::Ok) return s;
        switch (unit.operation) {
            case Operation::Add: acc += v; break;
            case Operation::Multiply: acc *= v; break;
            case Operation::Divide:
                if (EvalStatus s = Divide(acc, v, acc); s != EvalStatus::Ok) return s;
                break;
        }
    }
    out = acc;
    return EvalStatus::Ok;
}

}  // namespace kq
