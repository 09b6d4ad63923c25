// One formula of the program: translated once from text, evaluated many times for x and y.
// Every plotted formula and the calculator own one each.
#pragma once

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/eval_status.h"
#include "engine/filter.h"
#include "engine/program.h"
#include "engine/rounding.h"
#include "engine/slopes.h"
#include "engine/special_points.h"
#include "engine/units.h"

namespace kq {

class Translator {
public:
    Translator();
    ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    // Compiles `text`; never fails (text that makes no sense compiles to something that
    // evaluates to 0 or fails at evaluation).
    void Translate(std::string_view text);
    // Compiles `other`'s formula with its modes, rounding, macros and choice of native code:
    // an equal translator for another thread, since one translator is never evaluated on two
    // threads at once.
    void TranslateLike(const Translator& other);

    // The value at (x, y), rounded by the rounding setting; throws EvalError.
    long double Value(long double x, long double y);

    // The same without exceptions: the path the plots take for every sample.
    // x and y by reference: the native path loads only the variables the formula reads.
    EvalStatus TryValue(const long double& x, const long double& y, long double& out) {
        if (rounding_ == kNoRounding) return program_.Run(x, y, out);
        long double v = 0;
        const EvalStatus status = program_.Run(x, y, v);
        if (status == EvalStatus::Ok) out = RoundToDigits(v, rounding_);
        return status;
    }

    // Values at many points in one call, the fast way for plots: at xs[k] and y (or ys[k]),
    // into values[k] with statuses[k] saying whether the value means anything; the bits are
    // TryValue's, point by point. Only as many points as the shortest span holds are done.
    void TryValues(std::span<const long double> xs, long double y, std::span<long double> values,
                   std::span<EvalStatus> statuses) {
        const std::size_t n = std::min({xs.size(), values.size(), statuses.size()});
        program_.RunColumn(xs.data(), nullptr, y, n, values.data(), statuses.data());
        RoundColumn(n, values, statuses);
    }
    void TryValues(std::span<const long double> xs, std::span<const long double> ys, std::span<long double> values,
                   std::span<EvalStatus> statuses) {
        const std::size_t n = std::min({xs.size(), ys.size(), values.size(), statuses.size()});
        program_.RunColumn(xs.data(), ys.data(), 0, n, values.data(), statuses.data());
        RoundColumn(n, values, statuses);
    }

    // The value at (x, y), TryValue's bits, with the slopes d/dx and d/dy and the second
    // derivative in x there, by differentiating the compiled formula itself. Under a rounding
    // setting that rounds, the value is rounded and the slopes, those of the unrounded formula,
    // say Stepped.
    EvalStatus TrySlopes(const long double& x, const long double& y, Slopes& out);

    // The unrounded value computed by walking the unit tree (the reference the fast path
    // is checked against).
    EvalStatus TreeValue(long double x, long double y, long double& out) const;

    // The unrounded value through the interpreter, bypassing any native code.
    EvalStatus InterpretedValue(long double x, long double y, long double& out) {
        return program_.Interpret(x, y, out);
    }

    // Whether sin, cos, sec, csc, tg and ctg read their arguments in degrees. Each formula has
    // its own mode; changing it recompiles the formula that is there.
    void SetDegrees(bool degrees);
    bool Degrees() const { return mode_.degrees; }

    // "Точные функции": whether tg, ctg, arcsin, arccos, arctg, arcctg, ln, lg, exp, sqrt, pwN
    // (and so log<b>) and the constant pi are computed in long double instead of double. Off
    // by default; changing it recompiles the formula that is there.
    void SetExactFunctions(bool exact);
    bool ExactFunctions() const { return mode_.exact; }

    // Whether the formula may run as native code, which it does by default where the machine
    // allows it; without, the interpreter runs it (to compare the two, or to rule one out).
    void UseNativeCode(bool use);

    void SetRounding(int digits) { rounding_ = digits; }
    int Rounding() const { return rounding_; }

    // Read-only: asking for special points never changes the formula. They are worked out
    // when first asked for after a translation.
    const SpecialPointSet& Specials() const { return specials_; }

    Filter& MacroFilter() { return filter_; }

    // The text that was compiled (after bars, commas and macros).
    const std::string& CompiledText() const { return compiledText_; }
    const ExpressionList& Root() const { return *root_; }
    const Program& Compiled() const { return program_; }
    bool IsNative() const { return program_.IsNative(); }
    bool ColumnIsNative() { return program_.ColumnIsNative(); }

private:
    // Lowers the tree into the program again (after translation or a change of mode).
    void Rebuild();
    void RoundColumn(std::size_t count, std::span<long double> values, std::span<const EvalStatus> statuses) {
        if (rounding_ == kNoRounding) return;
        for (std::size_t k = 0; k < count; ++k)
            if (statuses[k] == EvalStatus::Ok) values[k] = RoundToDigits(values[k], rounding_);
    }

    std::unique_ptr<ExpressionList> root_;
    SpecialPointSet specials_;
    int rounding_ = kNoRounding;
    FormulaMode mode_;
    Filter filter_;
    Program program_;
    SlopeEvaluator slopeEvaluator_;
    std::string compiledText_;
};

}  // namespace kq
