// The engine's own sine and cosine in long double, within one ulp of the true value for every
// finite argument, and the same bits on every system. The tree, the interpreter and the native
// code all call these, so the three agree bit for bit.
#pragma once

namespace kq {

long double Sine(long double x);
long double Cosine(long double x);

// Both with one reduction of the argument: exactly the bits of Sine(x) and Cosine(x).
void SineCosine(long double x, long double* sine, long double* cosine);

// Whether |Cosine(x)| <= limit, and whether |Sine(x)| <= limit, for a limit below 2^-40: the
// pole tests of tg and ctg. Away from the poles only the reduction is done, not the value.
bool CosineAtMost(long double x, long double limit);
bool SineAtMost(long double x, long double limit);

namespace trig {
// The first step of the reduction, which generated code repeats to rule poles out quickly:
// with k = (x * kTwoOverPi + kRounder) - kRounder (the nearest quotient by pi/2) and
// a = x - k * kHalfPi1 (exact), x is at least 2^-23 from every multiple of pi/2 wherever
// |x| < kModerate and |a| >= kNearMultiple (kTwoOverPi and kHalfPi1: trig_constants.h).
inline constexpr long double kModerate = 0x1p20L;
inline constexpr long double kNearMultiple = 0x1p-22L;
inline constexpr long double kRounder = 0xC000000000000000p0L;  // 1.5 * 2^63
}  // namespace trig

}  // namespace kq
