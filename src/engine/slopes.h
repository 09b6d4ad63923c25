// The value of a compiled formula together with its slopes: d/dx, d/dy and d²/dx² by
// forward-mode differentiation over the program's instructions, so that the slope is exact up
// to rounding and the value is the program's own, bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/eval_status.h"
#include "engine/function_slopes.h"
#include "engine/program.h"

namespace kq {

enum class SlopeStatus : std::uint8_t {
    Exact,              // the derivative, exact up to rounding
    NotDifferentiable,  // none here: a kink (|u| at u = 0), a jump (sgn), a vertical tangent,
                        // a power whose base leaves the range where it is smooth
    Stepped,            // the value is rounded to R digits, which makes the curve a staircase;
                        // the numbers are the slopes of the formula before rounding
};

struct Slopes {
    long double value = 0;
    long double dx = 0, dy = 0;               // the first derivatives
    long double dxx = 0;                      // the second derivative in x
    SlopeStatus first = SlopeStatus::Exact;   // of dx and dy
    SlopeStatus second = SlopeStatus::Exact;  // of dxx
};

// Runs a program with derivatives beside every register; holds only scratch, so one per thread
// (a Translator has its own).
class SlopeEvaluator {
public:
    // The value's status; `out` is meaningful only where it is Ok. The value is the unrounded
    // one the interpreter gives.
    EvalStatus Evaluate(const Program& program, const long double& x, const long double& y, Slopes& out);

    // The program was built anew: its constants are read again at the next Evaluate.
    void Forget() { ready_ = false; }

private:
    struct Derivatives {
        long double dx, dxx, dy;
    };
    // A register's flags: bit 0 no first derivative, bit 1 no second; without a first there
    // is no second either, so kNoFirst sets both.
    static constexpr std::uint8_t kNoFirst = 3, kNoSecond = 2;

    // The program's instructions with their derivatives; kY: with those in y, which stay 0
    // when the program never reads y.
    template <bool kY>
    EvalStatus Run(const Program& program);
    template <bool kY>
    void Differentiate(const Program::Instr& instr);
    // dst := f(a) by the chain rule, f having the derivatives `slope` at a's value.
    template <bool kY>
    void Chain(std::uint32_t dst, std::uint32_t a, const FunctionSlope& slope);

    std::vector<long double> values_;
    std::vector<Derivatives> d_;
    std::vector<std::uint8_t> flags_;
    bool ready_ = false;  // the constants and their zero slopes are in place
    bool withY_ = true;   // the program reads y: its derivatives in y are computed
};

}  // namespace kq
