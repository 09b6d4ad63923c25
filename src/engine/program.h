// The flat form of a compiled formula: a list of three-address instructions over a register
// file that holds x, y, the constants and every intermediate value. Lowering folds constant
// parts, shares repeated sub-expressions and computes a sine and cosine of one argument
// together; the results are bit for bit those of the unit tree.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/eval_status.h"
#include "engine/function_codes.h"

namespace kq {

class Changer;

class Program {
public:
    enum class Op : std::uint8_t {
        Add, Sub, Mul, Div, Neg, Abs, Square, Cube, Pow,
        Angle,   // degrees to radians when the angle mode says so
        Sin, Cos,
        SinCos,  // dst gets the sine, b the cosine
        Tg,      // a: the angle, b: its cosine (checked for the pole)
        Ctg,     // a: the angle, b: its sine
        Sec,     // a: the cosine
        Csc,     // a: the sine
        Func,    // every other function: a is the argument, b holds the number after rt/pw
        Fail,    // a part that fails whatever x and y are
    };

    struct Instr {
        Op op;
        FunctionCode code;
        EvalStatus fail;
        std::uint32_t dst, a, b;
    };

    Program();

    // Replaces the program by the lowering of `root`.
    void Build(const Changer& root);

    // The root value at (x, y); the registers are scratch, hence not const.
    EvalStatus Run(long double x, long double y, long double& out);

    const std::vector<Instr>& Code() const { return code_; }

private:
    std::vector<Instr> code_;
    std::vector<long double> registers_;
    std::uint32_t result_ = 0;
};

}  // namespace kq
