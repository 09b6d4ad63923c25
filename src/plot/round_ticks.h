// Labelled values of an axis at round steps (1, 2 or 5 times a power of ten), and how such a
// value and a value near it are written.
#pragma once

#include <string>

namespace kq {

struct RoundTicks {
    // The range the axis spans: its ends are labelled values where they were close to one.
    long double low = 0, high = 1;
    // The labelled values: first, first + step, ... (Count() of them), all within the range.
    long double step = 1;
    long double firstIndex = 0;  // the first value over the step, a whole number
    int count = 2;

    int Count() const { return count; }
    long double Value(int k) const { return (firstIndex + k) * step; }
};

// The smallest round step at which [low, high], widened outward to multiples of the step,
// takes at most `most` steps. Each end moves out to that multiple only when it is less than a
// quarter of a step away (and the move does not overflow): a range is never stretched much
// just to end at a label. `low` < `high`, both finite.
RoundTicks RoundTicksFor(long double low, long double high, int most);

// A labelled value with no more digits than its step needs ("0.5", "-1", "-100", "2.5e-07"),
// never "-0".
std::string TickText(long double value, long double step);

// A value with about four significant digits, in fixed notation where that is readable
// ("5000", "0.3333", "-12.5", "1.235e+20").
std::string RoughText(long double value);

}  // namespace kq
