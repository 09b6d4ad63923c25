// The calculator's engine: a formula translator that also knows the base to answer in.
#pragma once

#include <string>
#include <string_view>

#include "engine/translator.h"

namespace kq {

class Computator : public Translator {
public:
    struct Result {
        bool ok = false;
        std::string text;                         // the value in the output base; empty on failure
        EvalStatus status = EvalStatus::Ok;       // why it failed, when the engine failed
        bool badBase = false;                     // the base is outside 2..36
    };

    void SetBase(int base) { base_ = base; }
    int Base() const { return base_; }

    // Value(1, 0), rounded by the rounding setting, written in the output base. Infinities
    // and NaN count as failures.
    Result ResultText();

private:
    int base_ = 10;
};

}  // namespace kq
