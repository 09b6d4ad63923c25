// The flat form of a compiled formula: a list of three-address instructions over a register
// file that holds x, y, the constants and every intermediate value. Lowering folds constant
// parts, shares repeated sub-expressions and computes a sine and cosine of one argument
// together; the results are bit for bit those of the unit tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/eval_status.h"
#include "engine/formula_mode.h"
#include "engine/function_codes.h"
#include "engine/native_code_fwd.h"

namespace kq {

class ExpressionList;

class Program {
public:
    enum class Op : std::uint8_t {
        Add, Sub, Mul, Div, Neg, Abs, Square, Cube, Pow,
        Sin, Cos,
        SinCos,  // dst gets the sine, b the cosine
        Tg,        // a: the angle, b: its cosine (checked for the pole)
        Ctg,       // a: the angle, b: its sine
        TgAlone,   // a: the angle, whose cosine the formula does not need otherwise
        CtgAlone,  // a: the angle, whose sine the formula does not need otherwise
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
        bool exact = false;  // Func, Tg, Ctg and their Alone forms: the long double values
        bool degrees = false;  // Sin, Cos, SinCos, Tg, Ctg and the Alone forms: a is in degrees
    };

    Program();
    ~Program();
    // Neither copied nor moved: its native code holds the addresses of its instructions.
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    Program(Program&&) = delete;
    Program& operator=(Program&&) = delete;

    // Replaces the program by the lowering of `root` in `mode` (the degrees conversion and the
    // exact functions are compiled in).
    void Build(const ExpressionList& root, const FormulaMode& mode);
    void Build(const ExpressionList& root, bool degrees) { Build(root, FormulaMode{degrees, false}); }

    // Whether Build may compile native code (where the machine allows it); without, Run
    // interprets. Takes effect at the next Build.
    void AllowNative(bool allowed) { nativeAllowed_ = allowed; }
    bool NativeAllowed() const { return nativeAllowed_; }

    // The status native code gives a point it leaves to the interpreter (a case its quick
    // tests cannot settle, which is rare): no EvalStatus has it.
    static constexpr int kInterpretHere = 0xFF;

    // The root value at (x, y); the registers are scratch, hence not const. Native code
    // runs it where there is any, the interpreter elsewhere.
    EvalStatus Run(const long double& x, const long double& y, long double& out) {
        if (!entry_) return Interpret(x, y, out);
        long double* r = registers_.data();
        if (readsY_) r[1] = y;
        int status = 0;
        const long double v = entry_(r, &status, &x);
        if (status == kInterpretHere) return Interpret(x, y, out);
        if (status != 0) return static_cast<EvalStatus>(status);
        out = v + 0.0L;  // a sum starts from +0, so the formula never yields -0
        return EvalStatus::Ok;
    }

    // The same through the interpreter alone.
    EvalStatus Interpret(long double x, long double y, long double& out);

    // Run at `count` points: x from xs[k], y from ys[k] (or `y` for every point when ys is
    // null); the value goes to values[k] (meaningful only where it is Ok) and the status to
    // statuses[k]. The bits are Run's, point by point; native code loops inside.
    void RunColumn(const long double* xs, const long double* ys, long double y, std::size_t count,
                   long double* values, EvalStatus* statuses);

    // One instruction on a register file.
    static EvalStatus Step(const Instr& instr, long double* registers);

    const std::vector<Instr>& Code() const { return code_; }
    // The register file as Build left it: x, y, then every constant in its slot (the other
    // slots are scratch), and the slot that holds the root value after a run.
    const std::vector<long double>& Registers() const { return registers_; }
    std::uint32_t ResultSlot() const { return result_; }
    bool IsNative() const;
    // Whether RunColumn runs native code (compiling it now if it has not yet).
    bool ColumnIsNative();

private:
    std::vector<Instr> code_;
    std::vector<long double> registers_;
    std::uint32_t result_ = 0, limit_ = 0;
    std::unique_ptr<NativeCode> native_;
    long double (*entry_)(long double*, int*, const long double*) = nullptr;  // the native code, when there is any
    bool readsY_ = true;  // native code reads y in the register file
    bool nativeAllowed_ = true;
};

}  // namespace kq
