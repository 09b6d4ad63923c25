#include "calc/calc_engine.h"

#include <cmath>

#include "calc/base_format.h"

namespace kq {

CalcEngine::Result CalcEngine::ResultText() {
    Result r;
    if (base_ < kMinBase || base_ > kMaxBase) {
        r.badBase = true;
        return r;
    }
    long double value = 0;
    r.status = formula_.TryValue(1, 0, value);
    if (r.status != EvalStatus::Ok) return r;
    const auto text = FormatInBase(value, base_);
    if (!text) {
        r.status = EvalStatus::NoValue;
        return r;
    }
    r.ok = true;
    r.text = *text;
    r.value = value;
    return r;
}

}  // namespace kq
