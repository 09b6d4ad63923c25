// The "round the result to r decimal digits" setting shared by the calculator and the graphs.
#pragma once

namespace kq {

constexpr int kNoRounding = -1;

// Whether r is a setting that rounds (0 to 9 digits); the others leave values as they are.
inline bool RoundsToDigits(int r) { return r >= 0 && r <= 9; }

// r from 0 to 9 rounds half away from zero to r fraction digits; any other r leaves v as it is.
long double RoundToDigits(long double v, int r);

}  // namespace kq
