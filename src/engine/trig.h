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

// The same for an angle t in degrees: whole quarter turns are taken off exactly, so that
// sin 180 and cos 90 are 0 and sin 30 is 1/2, and the rest is turned into radians to 128 bits;
// within one ulp of the sine and cosine of t degrees.
long double SineDegrees(long double t);
long double CosineDegrees(long double t);
void SineCosineDegrees(long double t, long double* sine, long double* cosine);

// t degrees as (4n + quadrant) quarter turns and the rest in radians (at most pi/4 and a hair
// in size), for the tangent; `diagonal` where the rest is 45 degrees exactly, whose tangent is 1.
struct QuarterTurns {
    long double radians;
    unsigned quadrant;
    bool diagonal;
};
QuarterTurns InQuarterTurns(long double t);
// The same, with the sine and cosine of t degrees from that one reduction (the bits
// SineCosineDegrees gives): the exact tangents need both.
QuarterTurns InQuarterTurns(long double t, long double* sine, long double* cosine);

}  // namespace kq
