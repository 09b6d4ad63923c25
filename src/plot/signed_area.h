// The signed area between a curve y = f(x) and the x axis from a to b: adaptive Gauss–Kronrod
// quadrature in long double, refused where the curve breaks or has no values inside.
#pragma once

#include <cstdint>
#include <string>

#include "engine/translator.h"

namespace kq {

struct AreaResult {
    enum class Failure : std::uint8_t {
        None,
        Break,         // the curve jumps or has a pole at `where`
        Undefined,     // the curve has no value at `where` (its domain ends inside)
        NotConverged,  // the subdivision ran out before the error was small, worst about `where`
    } failure = Failure::None;
    long double value = 0;  // the integral from a to b (negative when b < a), where no failure
    long double error = 0;  // the estimate of its absolute error
    long double where = 0;
    bool Ok() const { return failure == Failure::None; }
};

// The integral of `formula` (its values as it evaluates them, y = 0) from a to b. Relative error
// below 1e-15 where the integrand is smooth, up to the rounding of its values where they cancel.
AreaResult SignedArea(Translator& formula, long double a, long double b);

// Why there is no area, in Russian (UTF-8), for text output and the status line.
std::string AreaFailureText(const AreaResult& result);

}  // namespace kq
