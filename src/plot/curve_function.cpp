#include "plot/curve_function.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace kq {
namespace {

// The worse of two statuses: a slope that is not there beats a stepped one beats an exact one.
SlopeStatus Worse(SlopeStatus a, SlopeStatus b) {
    if (a == SlopeStatus::NotDifferentiable || b == SlopeStatus::NotDifferentiable)
        return SlopeStatus::NotDifferentiable;
    if (a == SlopeStatus::Stepped || b == SlopeStatus::Stepped) return SlopeStatus::Stepped;
    return SlopeStatus::Exact;
}

// Long doubles in order as integers: the 63 fraction bits under the 15 exponent bits (the
// explicit integer bit left out) count up through every value, subnormals included; negative
// values are the negated keys.
using Key = __int128;

Key KeyOf(long double v) {
    const LongDoubleBits b = BitsOf(v);
    const Key exponent = b.top & 0x7FFF;
    const Key magnitude = exponent << 63 | static_cast<Key>(b.significand & 0x7FFFFFFFFFFFFFFFu);
    return (b.top & 0x8000) ? -magnitude : magnitude;
}

long double ValueOf(Key key) {
    const bool negative = key < 0;
    const Key magnitude = negative ? -key : key;
    const auto exponent = static_cast<std::uint16_t>(magnitude >> 63);
    std::uint64_t significand = static_cast<std::uint64_t>(magnitude) & 0x7FFFFFFFFFFFFFFFu;
    if (exponent != 0) significand |= 0x8000000000000000u;
    const std::uint16_t top = static_cast<std::uint16_t>(exponent | (negative ? 0x8000 : 0));
    long double v = 0;
    std::memcpy(&v, &significand, 8);
    std::memcpy(reinterpret_cast<char*>(&v) + 8, &top, 2);
    return v;
}

}  // namespace

bool CurveFunction::At(long double x, CurveSlopes& out) {
    Slopes s;
    if (f_->TrySlopes(x, 0, s) != EvalStatus::Ok || !std::isfinite(s.value)) return false;
    out = {s.value, s.dx, s.dxx, s.first, s.second};
    if (!g_) return true;
    if (g_->TrySlopes(x, 0, s) != EvalStatus::Ok || !std::isfinite(s.value)) return false;
    out.value -= s.value;
    out.dx -= s.dx;
    out.dxx -= s.dxx;
    out.first = Worse(out.first, s.first);
    out.second = Worse(out.second, s.second);
    return true;
}

bool CurveFunction::Value(long double x, long double& out) {
    if (f_->TryValue(x, 0, out) != EvalStatus::Ok || !std::isfinite(out)) return false;
    if (!g_) return true;
    long double other = 0;
    if (g_->TryValue(x, 0, other) != EvalStatus::Ok || !std::isfinite(other)) return false;
    out -= other;
    return true;
}

void CurveFunction::Values(const std::vector<long double>& xs, std::vector<long double>& values,
                           std::vector<char>& defined) {
    const std::size_t n = xs.size();
    values.resize(n);
    defined.assign(n, 0);
    std::vector<EvalStatus> statuses(n);
    f_->TryValues(xs, 0, values, statuses);
    for (std::size_t k = 0; k < n; ++k) defined[k] = statuses[k] == EvalStatus::Ok && std::isfinite(values[k]);
    if (!g_) return;
    std::vector<long double> other(n);
    g_->TryValues(xs, 0, other, statuses);
    for (std::size_t k = 0; k < n; ++k) {
        defined[k] = defined[k] && statuses[k] == EvalStatus::Ok && std::isfinite(other[k]);
        values[k] -= other[k];
    }
}

bool CurveFunction::Defined(long double x) {
    long double v = 0;
    return Value(x, v);
}

long double SplitPoint(long double a, long double b) {
    const Key ka = KeyOf(a), kb = KeyOf(b);
    if (kb - ka <= 1) return a;
    // Within one binade the keys' mean is the values' mean.
    return ValueOf(ka + (kb - ka) / 2);
}

namespace {

// The long double next to b away from 0 (up) or toward it (down) in size: the 64-bit
// significand stepped, carrying into or borrowing from the exponent. Subnormals have
// exponent 0 and no integer bit; the step from the largest of them, or to it, crosses to 1.
long double StepSize(LongDoubleBits b, bool up) {
    const std::uint16_t sign = b.top & 0x8000;
    std::uint16_t exponent = b.top & 0x7FFF;
    std::uint64_t significand = b.significand;
    constexpr std::uint64_t kIntegerBit = 0x8000000000000000u;
    if (up) {
        if (significand == ~std::uint64_t{0}) {
            significand = kIntegerBit;
            ++exponent;  // past the largest finite: the infinity, whose significand this is
        } else {
            ++significand;
            if (exponent == 0 && significand == kIntegerBit) exponent = 1;
        }
    } else if (exponent > 0 && significand == kIntegerBit) {
        --exponent;
        significand = exponent == 0 ? kIntegerBit - 1 : ~std::uint64_t{0};
    } else {
        --significand;  // 0 from the least subnormal: a zero of the sign
    }
    const auto top = static_cast<std::uint16_t>(sign | exponent);
    long double v = 0;
    std::memcpy(&v, &significand, 8);
    std::memcpy(reinterpret_cast<char*>(&v) + 8, &top, 2);
    return v;
}

}  // namespace

// By the bits alone, which costs a fraction of the library's nextafter (the point finder
// steps to neighbours all the time; the x87 unit is not even asked whether x is 0); zero by
// hand, as some C libraries (MinGW's) step from -0 the wrong way, to +0's neighbour.
// Infinities and NaN go to the library.
long double Above(long double x) {
    const LongDoubleBits b = BitsOf(x);
    if ((b.top & 0x7FFF) == 0x7FFF) return std::nextafter(x, std::numeric_limits<long double>::infinity());
    if ((b.top & 0x7FFF) == 0 && b.significand == 0) return std::numeric_limits<long double>::denorm_min();
    return StepSize(b, !(b.top & 0x8000));  // -0 above the negative number nearest it
}

long double Below(long double x) {
    const LongDoubleBits b = BitsOf(x);
    if ((b.top & 0x7FFF) == 0x7FFF) return std::nextafter(x, -std::numeric_limits<long double>::infinity());
    if ((b.top & 0x7FFF) == 0 && b.significand == 0) return -std::numeric_limits<long double>::denorm_min();
    return StepSize(b, (b.top & 0x8000) != 0);
}

}  // namespace kq
