// The compiled tree of a formula: lists of units (`ExpressionList`), each unit an operand, a
// parenthesised sub-expression or a function call, with an optional exponent and sign.
// The tree is what translation builds; `Program` flattens it for fast evaluation, and the
// tree's own Evaluate is the plain reference the flat form must agree with.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/eval_status.h"
#include "engine/function_codes.h"

namespace kq {

class ExpressionList;

// How a unit joins the value accumulated so far in its list.
enum class Operation : std::uint8_t { Divide = 0, Multiply = 1, Add = 2 };

enum class OperandKind : std::uint8_t { Number, X, Y, Pi, TooDeep };

class OperationUnit {
public:
    OperationUnit();
    virtual ~OperationUnit();
    OperationUnit(const OperationUnit&) = delete;
    OperationUnit& operator=(const OperationUnit&) = delete;

    // `degrees`: the direct trigonometric functions read their arguments in degrees.
    virtual EvalStatus Evaluate(long double x, long double y, bool degrees, long double& out) const;
    virtual bool IsFunction() const { return false; }

    bool negative = false;
    OperandKind kind = OperandKind::Number;
    long double value = 0;               // the number, for OperandKind::Number
    std::unique_ptr<ExpressionList> exponent;   // null when the unit has no exponent
    Operation operation = Operation::Add;
    std::unique_ptr<ExpressionList> sub;        // the sub-expression or the function's argument

protected:
    // The exponent and the sign applied to a value.
    EvalStatus Finish(long double v, long double x, long double y, bool degrees, long double& out) const;
};

class FunctionUnit : public OperationUnit {
public:
    FunctionUnit(FunctionCode functionCode, long double number) : code(functionCode), n(number) {}
    EvalStatus Evaluate(long double x, long double y, bool degrees, long double& out) const override;
    bool IsFunction() const override { return true; }

    FunctionCode code;
    long double n;  // the number written after rt or pw
};

class ExpressionList {
public:
    EvalStatus Evaluate(long double x, long double y, bool degrees, long double& out) const;

    std::vector<std::unique_ptr<OperationUnit>> units;
};

}  // namespace kq
