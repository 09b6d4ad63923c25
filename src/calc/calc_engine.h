// The calculator's engine: one formula translator and the number base its answers are
// written in.
#pragma once

#include <string>
#include <string_view>

#include "engine/translator.h"

namespace kq {

class CalcEngine {
public:
    struct Result {
        bool ok = false;
        std::string text;                    // the value in the output base; empty on failure
        long double value = 0;               // the value itself, when there is one
        EvalStatus status = EvalStatus::Ok;  // why it failed, when the engine failed
        bool badBase = false;                // the base is outside 2..36
    };

    void Translate(std::string_view text) { formula_.Translate(text); }

    void SetBase(int base) { base_ = base; }
    int Base() const { return base_; }

    // Degrees instead of radians for the trigonometric functions.
    void SetDegrees(bool degrees) { formula_.SetDegrees(degrees); }
    bool Degrees() const { return formula_.Degrees(); }

    // "Точные функции" (Translator::SetExactFunctions).
    void SetExactFunctions(bool exact) { formula_.SetExactFunctions(exact); }
    bool ExactFunctions() const { return formula_.ExactFunctions(); }

    void SetRounding(int digits) { formula_.SetRounding(digits); }
    int Rounding() const { return formula_.Rounding(); }

    // Value(1, 0), rounded by the rounding setting, written in the output base. Infinities
    // and NaN count as failures.
    Result ResultText();

    Translator& Formula() { return formula_; }

private:
    Translator formula_;
    int base_ = 10;
};

}  // namespace kq
