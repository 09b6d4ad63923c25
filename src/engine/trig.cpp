#include "engine/trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/trig_constants.h"

namespace kq {
namespace {

using namespace trig;

// x = (4n + quadrant) pi/2 + hi + lo, with |hi + lo| at most pi/4 and a hair, and |lo| below
// 2^-40 |hi| (the kernels take it to first order).
struct Reduced {
    long double hi, lo;
    unsigned quadrant;
};

// Below kModerate = 2^20 the quotient k has at most 20 bits, so its products with the 44-bit
// parts of pi/2 are exact, and the three parts (141 bits of pi/2) leave an error below 2^-120
// in the remainder. Where x - k pi/2 is below kNearMultiple = 2^-22 (next to a multiple of
// pi/2, or x itself small) the remainder is found another way: exactly, or x is its own.
constexpr long double kModerate = 0x1p20L;
constexpr long double kNearMultiple = 0x1p-22L;
constexpr long double kRounder = 0xC000000000000000p0L;  // 1.5 * 2^63: adding it rounds to an integer

// Up to pi/4 (the double below it) the argument is its own remainder; below 2^-32 sin x
// rounds to x.
constexpr long double kQuarterPi = 0x1.921fb54442d18p-1L;
constexpr long double kTiny = 0x1p-32L;

// The bits of 2/pi from the one of weight 2^-i on, 64 of them, the first the highest; bits
// of weight 2^0 and above are 0.
std::uint64_t TwoOverPiBits(int i) {
    constexpr int kWords = static_cast<int>(sizeof kTwoOverPiBits / sizeof kTwoOverPiBits[0]);
    auto word = [](int j) { return j < kWords ? kTwoOverPiBits[j] : 0; };
    if (i + 63 <= 0) return 0;
    if (i <= 0) return word(0) >> (1 - i);
    const int j = (i - 1) / 64, offset = (i - 1) % 64;
    return offset == 0 ? word(j) : word(j) << offset | word(j + 1) >> (64 - offset);
}

// 2^k for a normal long double exponent k, built from its bits: multiplying by it is ldexp
// for the exponents the reduction needs, without a library call each time.
long double PowerOfTwo(int k) {
    const std::uint64_t m = std::uint64_t{1} << 63;
    const auto top = static_cast<std::uint16_t>(16383 + k);
    long double v = 0;
    std::memcpy(&v, &m, 8);
    std::memcpy(reinterpret_cast<char*>(&v) + 8, &top, 2);
    return v;
}

// Reduction of any finite x by the exact product of its significand with 320 bits of 2/pi,
// taken from where the bits start to matter for the quadrant: the error stays below 2^-250
// of a quadrant, far below what any long double comes to near a multiple of pi/2.
Reduced ExactReduction(long double x) {
    if (!std::isfinite(x)) return {x - x, 0, 0};
    const bool negative = std::signbit(x);
    std::uint64_t m = 0;
    std::uint16_t top = 0;
    std::memcpy(&m, &x, 8);
    std::memcpy(&top, reinterpret_cast<const char*>(&x) + 8, 2);
    if (m == 0) return {x, 0, 0};
    const int e = (top & 0x7FFF) - 16383 - 63;  // |x| = m 2^e
    // |x| 2/pi mod 4 = (the low 320 bits of m W) 2^-318, W the bits from weight 2^-(e-1) on.
    constexpr int kWords = 5;
    std::uint64_t p[kWords];  // p[0] highest
    unsigned __int128 carry = 0;
    for (int j = kWords - 1; j >= 0; --j) {
        const unsigned __int128 product =
            static_cast<unsigned __int128>(m) * TwoOverPiBits(e - 1 + 64 * j) + carry;
        p[j] = static_cast<std::uint64_t>(product);
        carry = product >> 64;
    }
    unsigned quadrant = static_cast<unsigned>(p[0] >> 62);
    p[0] &= ~(std::uint64_t{3} << 62);
    // To the nearest quadrant: a fraction of a half or more is taken from the next one.
    bool below = false;
    if (p[0] >> 61 & 1) {
        ++quadrant;
        below = true;
        unsigned __int128 borrow = 1;
        for (int j = kWords - 1; j >= 0; --j) {
            const unsigned __int128 v = static_cast<unsigned __int128>(~p[j]) + borrow;
            p[j] = static_cast<std::uint64_t>(v);
            borrow = v >> 64;
        }
        p[0] &= ~(std::uint64_t{3} << 62);
    }
    // The fraction's first 128 bits from its leading one.
    int shift = 0;
    int first = 0;
    while (first < kWords && p[first] == 0) ++first;
    if (first == kWords) return {0, 0, (negative ? 4 - quadrant : quadrant) & 3};
    shift = 64 * first + __builtin_clzll(p[first]);
    auto bitsFrom = [&p](int s) {  // 64 bits from bit s counted from the top of p
        const int j = s / 64, offset = s % 64;
        const std::uint64_t high = j < kWords ? p[j] : 0, low = j + 1 < kWords ? p[j + 1] : 0;
        return offset == 0 ? high : high << offset | low >> (64 - offset);
    };
    const std::uint64_t u1 = bitsFrom(shift), u2 = bitsFrom(shift + 64);
    // The fraction is u1 2^(-62-shift) + u2 2^(-126-shift) quadrants; times pi/2 it is r.
    const int scale = -62 - shift;
    // (scale is at least -62 - 5 * 64 - 63, so every product below is exact.)
    const long double unit = PowerOfTwo(scale);
    const long double f1 = static_cast<long double>(u1) * unit;
    const long double f2 = static_cast<long double>(u2) * PowerOfTwo(scale - 64);
    const long double a1 = static_cast<long double>(u1 & 0xFFFFFFFF00000000u) * unit;
    const long double a2 = static_cast<long double>(u1 & 0xFFFFFFFFu) * unit;
    const long double product = f1 * kHalfPiHigh;
    const long double error = (((a1 * kHalfPiHead - product) + a1 * kHalfPiTail) + a2 * kHalfPiHead) +
                              a2 * kHalfPiTail;
    const long double low = error + (f1 * kHalfPiLow + f2 * kHalfPiHigh);
    long double hi = product + low;
    long double lo = low - (hi - product);
    if (below != negative) {
        hi = -hi;
        lo = -lo;
    }
    return {hi, lo, (negative ? 4 - quadrant : quadrant) & 3};
}

// The first step of the reduction of a moderate argument: the nearest quotient k and
// x - k kHalfPi1 (exact).
struct Quotient {
    long double k, a;
};
[[gnu::always_inline]] inline Quotient Divide(long double x) {
    const long double k = (x * kTwoOverPi + kRounder) - kRounder;
    return {k, x - k * kHalfPi1};
}
// Whether that step serves: x is moderate and not next to a multiple of pi/2 (NaN is not).
[[gnu::always_inline]] inline bool Serves(long double x, const Quotient& q) {
    return std::fabs(x) < kModerate && std::fabs(q.a) >= kNearMultiple;
}
// The rest of it: |a| is at least 2^-22 and |k kHalfPi2| below 2^-23, so a - k kHalfPi2 and
// its rounding error make an exact sum of two.
[[gnu::always_inline]] inline Reduced Finish(const Quotient& q) {
    const long double p = q.k * kHalfPi2;
    const long double hi = q.a - p;
    const long double lo = ((q.a - hi) - p) - q.k * kHalfPi3;
    return {hi, lo, static_cast<unsigned>(std::lrint(q.k)) & 3};
}
// a - p as an exact sum s + e of the rounded difference and its error, whatever the sizes.
[[gnu::always_inline]] inline long double Difference(long double a, long double p, long double& e) {
    const long double s = a - p;
    const long double back = s - a;
    e = (a - (s - back)) - (p + back);
    return s;
}
// A moderate argument next to a multiple of pi/2 (k is not 0): the remainder, however small,
// with the parts of pi/2 taken one at a time. Each k times a part is exact (k has at most 20
// bits, a part 44) and each difference is split exactly; only the small errors are rounded
// as they add up, and the parts end 220 bits down, below 2^-196 for any such k.
Reduced NearMultiple(const Quotient& q) {
    long double e = 0, lo = 0;
    long double hi = Difference(q.a, q.k * kHalfPi2, e);
    lo += e;
    hi = Difference(hi, q.k * kHalfPi3Short, e);
    lo += e;
    hi = Difference(hi, q.k * kHalfPi4, e);
    lo += e;
    lo -= q.k * kHalfPi5;
    const long double sum = hi + lo;
    return {sum, lo - (sum - hi), static_cast<unsigned>(std::lrint(q.k)) & 3};
}
// Every other argument: small ones are their own remainders, moderate ones next to a multiple
// of pi/2 are reduced in parts, the rest exactly.
Reduced ReduceOtherwise(long double x) {
    if (std::fabs(x) <= kQuarterPi) return {x, 0, 0};
    if (std::fabs(x) < kModerate) return NearMultiple(Divide(x));
    return ExactReduction(x);
}

// sin(hi + lo) for |hi + lo| <= pi/4: the last rounding is that of hi plus a tail below a
// tenth of it, which keeps the whole within three quarters of an ulp.
[[gnu::always_inline]] inline long double SineKernel(long double hi, long double lo) {
    const long double z = hi * hi;
    const long double z2 = z * z;
    const long double s = ((kSine[0] + kSine[1] * z) + z2 * (kSine[2] + kSine[3] * z)) +
                          (z2 * z2) * ((kSine[4] + kSine[5] * z) + z2 * (kSine[6] + kSine[7] * z));
    return hi + (hi * z * s + lo * (1 - 0.5L * z));
}

// cos(hi + lo) for |hi + lo| <= pi/4: 1 - hi^2/2 is formed exactly as a sum of two, so the
// last rounding is that of a value near 1 plus a tail below a fiftieth of it.
[[gnu::always_inline]] inline long double CosineKernel(long double hi, long double lo) {
    constexpr long double kSplitter = 4294967297.0L;  // 2^32 + 1
    const long double z = hi * hi;
    const long double spread = hi * kSplitter;
    const long double head = spread - (spread - hi), rest = hi - head;
    const long double zLow = ((head * head - z) + 2 * head * rest) + rest * rest;  // hi^2 = z + zLow
    const long double z2 = z * z;
    const long double c = ((kCosine[0] + kCosine[1] * z) + z2 * (kCosine[2] + kCosine[3] * z)) +
                          (z2 * z2) * ((kCosine[4] + kCosine[5] * z) + z2 * kCosine[6]);
    const long double half = 0.5L * z;
    const long double w = 1 - half;
    return w + ((((1 - w) - half) - 0.5L * zLow) + (z2 * c - hi * lo));
}

// sin and cos of x from its reduction.
[[gnu::always_inline]] inline long double SineOf(const Reduced& r) {
    const long double v = r.quadrant & 1 ? CosineKernel(r.hi, r.lo) : SineKernel(r.hi, r.lo);
    return r.quadrant & 2 ? -v : v;
}
[[gnu::always_inline]] inline long double CosineOf(const Reduced& r) {
    const long double v = r.quadrant & 1 ? SineKernel(r.hi, r.lo) : CosineKernel(r.hi, r.lo);
    return (r.quadrant + 1) & 2 ? -v : v;
}
// Both, each kernel computed once: the value in quadrant q of s and c is sin, cos, -sin, -cos.
[[gnu::always_inline]] inline void BothOf(const Reduced& r, long double* sine, long double* cosine) {
    const long double s = SineKernel(r.hi, r.lo), c = CosineKernel(r.hi, r.lo);
    const long double first = r.quadrant & 1 ? c : s, second = r.quadrant & 1 ? s : c;
    *sine = r.quadrant & 2 ? -first : first;
    *cosine = (r.quadrant + 1) & 2 ? -second : second;
}

// pi/180 as the sum of two long doubles (the first the nearest to it), 128 bits.
constexpr long double kDegreeHi = 0x8EFA351294E9C8AEp-69L;
constexpr long double kDegreeLo = 0xEC5F66E9485C4D90p-137L;

// t degrees = (4n + quadrant) 90 degrees + f degrees, the rest f taken off exactly (|f| at
// most 45 and a hair), so that whole quarter turns leave nothing: sin 180 and cos 90 are 0.
// `rest` gets f. Infinities and NaN come out as NaN.
Reduced ReduceDegrees(long double t, long double* rest) {
    if (!std::isfinite(t)) {
        *rest = t - t;
        return {*rest, 0, 0};
    }
    // Below 2^40 the angle itself, above it its remainder of a whole turn (exact, below 360).
    const long double r = std::fabs(t) < 0x1p40L ? t : std::fmod(t, 360.0L);
    // The nearest quarter turn: r / 90 rounded is off only next to an odd multiple of 45,
    // where either neighbour will do.
    constexpr long double kNinetieth = 1.0L / 90;
    const long double turns = (r * kNinetieth + kRounder) - kRounder;
    // Exact: 90 turns (below 2^41) is exact, both it and r are multiples of r's last place,
    // and their difference, at most 45 and a hair, has room for every bit of it.
    const long double f = r - 90 * turns;
    *rest = f;
    const auto k = static_cast<long long>(turns);
    // f pi/180 as hi + lo: the product's rounding error exactly (Dekker's split into halves
    // of 32 bits), with f times the low part of pi/180.
    constexpr long double kSplitter = 4294967297.0L;  // 2^32 + 1
    const long double hi = f * kDegreeHi;
    const long double spread = f * kSplitter;
    const long double fHead = spread - (spread - f), fRest = f - fHead;
    constexpr long double dSpread = kDegreeHi * kSplitter;
    constexpr long double dHead = dSpread - (dSpread - kDegreeHi), dRest = kDegreeHi - dHead;
    const long double error = ((fHead * dHead - hi) + fHead * dRest + fRest * dHead) + fRest * dRest;
    return {hi, error + f * kDegreeLo, static_cast<unsigned>(k & 3)};
}

// The arguments the quick reduction does not serve, out of line.
[[gnu::noinline]] long double SineOtherwise(long double x) {
    return std::fabs(x) < kTiny ? x : SineOf(ReduceOtherwise(x));
}
[[gnu::noinline]] long double CosineOtherwise(long double x) { return CosineOf(ReduceOtherwise(x)); }
[[gnu::noinline]] void SineCosineOtherwise(long double x, long double* sine, long double* cosine) {
    BothOf(ReduceOtherwise(x), sine, cosine);
    if (std::fabs(x) < kTiny) *sine = x;
}
[[gnu::noinline]] bool KernelAtMost(long double x, long double limit, unsigned quadrant) {
    if (quadrant == 0 && std::fabs(x) < kTiny) return std::fabs(x) <= limit;
    const Reduced r = ReduceOtherwise(x);
    // In the other parity |the value| is a cosine kernel's, above 0.7; in this one it is the
    // sine kernel's, above limit wherever |hi| is above twice that.
    if ((r.quadrant & 1) != quadrant || !(std::fabs(r.hi) <= 2 * limit)) return false;
    return std::fabs(SineKernel(r.hi, r.lo)) <= limit;
}

}  // namespace

long double Sine(long double x) {
    const Quotient q = Divide(x);
    if (!Serves(x, q)) return SineOtherwise(x);
    return SineOf(Finish(q));
}

long double Cosine(long double x) {
    const Quotient q = Divide(x);
    if (!Serves(x, q)) return CosineOtherwise(x);
    return CosineOf(Finish(q));
}

void SineCosine(long double x, long double* sine, long double* cosine) {
    const Quotient q = Divide(x);
    if (!Serves(x, q)) return SineCosineOtherwise(x, sine, cosine);
    BothOf(Finish(q), sine, cosine);
}

long double SineDegrees(long double t) {
    long double rest = 0;
    return SineOf(ReduceDegrees(t, &rest));
}

long double CosineDegrees(long double t) {
    long double rest = 0;
    return CosineOf(ReduceDegrees(t, &rest));
}

void SineCosineDegrees(long double t, long double* sine, long double* cosine) {
    long double rest = 0;
    BothOf(ReduceDegrees(t, &rest), sine, cosine);
}

QuarterTurns InQuarterTurns(long double t) {
    long double rest = 0;
    const Reduced r = ReduceDegrees(t, &rest);
    return {r.hi, r.quadrant, std::fabs(rest) == 45};
}

QuarterTurns InQuarterTurns(long double t, long double* sine, long double* cosine) {
    long double rest = 0;
    const Reduced r = ReduceDegrees(t, &rest);
    BothOf(r, sine, cosine);
    return {r.hi, r.quadrant, std::fabs(rest) == 45};
}

// Where the quick reduction serves, x is at least 2^-23 from every multiple of pi/2, so
// neither the sine nor the cosine is anywhere near a limit below 2^-40.
bool CosineAtMost(long double x, long double limit) {
    const Quotient q = Divide(x);
    return Serves(x, q) ? false : KernelAtMost(x, limit, 1);
}

bool SineAtMost(long double x, long double limit) {
    const Quotient q = Divide(x);
    return Serves(x, q) ? false : KernelAtMost(x, limit, 0);
}

}  // namespace kq
