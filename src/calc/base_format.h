// Writing a value in a number base in the notation the formula language reads back:
// "FFh", "-101b", "17o", "20s5", "0.1b", "3.141592653589793".
#pragma once

#include <optional>
#include <string>

namespace kq {

constexpr int kMinBase = 2;
constexpr int kMaxBase = 36;

// The suffix that marks base B: "b", "o", "h", "" for 10, else "s" and B.
std::string BaseSuffix(int base);

// `value` in base 2..36: an integer part up to 2^64 exactly, a larger one as the fewest
// significant digits, padded with zeros, that the formula language reads back as the same
// value ("1" and 28 zeros for 1e28); then the fewest fraction digits whose correctly rounded
// value lies within 10^-e of the value, where e is 16 minus the number of decimal digits of the
// integer part (so about 16 significant digits in all). Nothing for infinities, NaN or a base
// outside 2..36.
std::optional<std::string> FormatInBase(long double value, int base);

}  // namespace kq
