// The compiled tree of a formula: lists of units (`ExpressionList`), each unit an operand, a
// parenthesised sub-expression or a function call, with an optional exponent and sign.
// The tree is what translation builds; `Program` flattens it for fast evaluation, and the
// tree's own Evaluate is the plain reference the flat form must agree with.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/eval_status.h"
#include "engine/formula_mode.h"
#include "engine/function_codes.h"

namespace kq {

class ExpressionList;

// How a unit joins the value accumulated so far in its list.
enum class Operation : std::uint8_t { Divide = 0, Multiply = 1, Add = 2 };

enum class OperandKind : std::uint8_t { Number, X, Y, Pi, TooDeep };

// An extended real kept in its ten significant bytes (the type itself takes sixteen), so that
// a unit packs into 32.
class PackedExtended {
public:
    PackedExtended() = default;
    PackedExtended(long double v) { std::memcpy(bytes_, &v, sizeof bytes_); }
    operator long double() const {
        long double v = 0;
        std::memcpy(&v, bytes_, sizeof bytes_);
        return v;
    }

private:
    unsigned char bytes_[10];
};

// A unit is held by value in its list, 32 bytes: a formula of a million terms is a million
// units, so there is no virtual table and no separate object for a function call.
class OperationUnit {
public:
    OperationUnit() = default;
    // A call of function `functionCode`; `number` is the number written after rt or pw.
    OperationUnit(FunctionCode functionCode, long double number) : n(number), code(functionCode) {}
    OperationUnit(OperationUnit&&) noexcept = default;
    OperationUnit& operator=(OperationUnit&&) noexcept = default;
    OperationUnit(const OperationUnit&) = delete;
    OperationUnit& operator=(const OperationUnit&) = delete;
    ~OperationUnit();

    EvalStatus Evaluate(long double x, long double y, const FormulaMode& mode, long double& out) const;
    bool IsFunction() const { return code != FunctionCode::None; }

    std::unique_ptr<ExpressionList> exponent;  // null when the unit has no exponent
    std::unique_ptr<ExpressionList> sub;       // the sub-expression or the function's argument
    union {
        PackedExtended value{0.0L};  // the number, for OperandKind::Number
        PackedExtended n;            // for a function: the number written after rt or pw
    };
    bool negative = false;
    OperandKind kind = OperandKind::Number;
    Operation operation = Operation::Add;
    FunctionCode code = FunctionCode::None;  // None: not a function call

private:
    // The exponent and the sign applied to a value.
    EvalStatus Finish(long double v, long double x, long double y, const FormulaMode& mode, long double& out) const;
};

// A function call is a unit whose code is not None.
using FunctionUnit = OperationUnit;

class ExpressionList {
public:
    EvalStatus Evaluate(long double x, long double y, const FormulaMode& mode, long double& out) const;
    // `degrees`: the direct trigonometric functions read their arguments in degrees.
    EvalStatus Evaluate(long double x, long double y, bool degrees, long double& out) const {
        return Evaluate(x, y, FormulaMode{degrees, false}, out);
    }

    std::vector<OperationUnit> units;
};

}  // namespace kq
