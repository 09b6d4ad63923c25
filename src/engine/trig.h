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

}  // namespace kq
