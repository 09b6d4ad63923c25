#include "engine/translator.h"

#include "engine/math_functions.h"
#include "engine/unit_compiler.h"

namespace kq {

Translator::Translator() : root_(std::make_unique<ExpressionList>()) { Rebuild(); }

void Translator::Rebuild() {
    program_.Build(*root_, mode_);
    slopeEvaluator_.Forget();
}

Translator::~Translator() = default;

void Translator::Translate(std::string_view text) {
    specials_.Reset();
    compiledText_ = filter_.Apply(text);
    UnitCompiler compiler(specials_);
    root_ = compiler.CompileSum(compiledText_);
    Rebuild();
}

void Translator::TranslateLike(const Translator& other) {
    mode_ = other.mode_;
    specials_.SetHalfTurn(mode_.degrees ? 180.0L : kPi);
    rounding_ = other.rounding_;
    filter_ = other.filter_;
    specials_.Reset();
    // The text as compiled: filtering it again would expand its macros twice.
    compiledText_ = other.compiledText_;
    UnitCompiler compiler(specials_);
    root_ = compiler.CompileSum(compiledText_);
    program_.AllowNative(other.program_.NativeAllowed());
    Rebuild();
}

void Translator::SetDegrees(bool degrees) {
    if (degrees == mode_.degrees) return;
    mode_.degrees = degrees;
    specials_.SetHalfTurn(degrees ? 180.0L : kPi);
    Rebuild();
}

void Translator::SetExactFunctions(bool exact) {
    if (exact == mode_.exact) return;
    mode_.exact = exact;
    Rebuild();
}

void Translator::UseNativeCode(bool use) {
    program_.AllowNative(use);
    Rebuild();
}

long double Translator::Value(long double x, long double y) {
    long double v = 0;
    const EvalStatus status = TryValue(x, y, v);
    if (status != EvalStatus::Ok) throw EvalError(status);
    return v;
}

EvalStatus Translator::TrySlopes(const long double& x, const long double& y, Slopes& out) {
    const EvalStatus status = slopeEvaluator_.Evaluate(program_, x, y, out);
    if (status != EvalStatus::Ok || !RoundsToDigits(rounding_)) return status;
    out.value = RoundToDigits(out.value, rounding_);
    out.first = out.second = SlopeStatus::Stepped;
    return status;
}

EvalStatus Translator::TreeValue(long double x, long double y, long double& out) const {
    return root_->Evaluate(x, y, mode_, out);
}

}  // namespace kq
