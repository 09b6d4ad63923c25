#include "calc/base_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kq {
namespace {

char DigitChar(unsigned d) { return d < 10 ? static_cast<char>('0' + d) : static_cast<char>('A' + d - 10); }

// The digits of a non-negative integer-valued long double in `base`, exactly, however large.
std::string IntegerDigits(long double integer, unsigned base) {
    if (integer < 1) return "0";
    int exponent = 0;
    const long double mantissa = std::frexp(integer, &exponent);  // integer = mantissa * 2^exponent
    // As a big number: 64 bits of mantissa shifted left by exponent - 64.
    auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
    int shift = exponent - 64;
    if (shift < 0) {
        bits >>= -shift;
        shift = 0;
    }
    std::vector<std::uint32_t> limbs;  // little-endian
    limbs.push_back(static_cast<std::uint32_t>(bits));
    limbs.push_back(static_cast<std::uint32_t>(bits >> 32));
    for (; shift >= 32; shift -= 32) limbs.insert(limbs.begin(), 0);
    if (shift > 0) {
        std::uint32_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t v = (static_cast<std::uint64_t>(limb) << shift) | carry;
            limb = static_cast<std::uint32_t>(v);
            carry = static_cast<std::uint32_t>(v >> 32);
        }
        if (carry) limbs.push_back(carry);
    }
    std::string digits;
    while (!limbs.empty()) {
        std::uint64_t remainder = 0;
        for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
            const std::uint64_t v = (remainder << 32) | *it;
            *it = static_cast<std::uint32_t>(v / base);
            remainder = v % base;
        }
        digits.push_back(DigitChar(static_cast<unsigned>(remainder)));
        while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace

std::string BaseSuffix(int base) {
    switch (base) {
        case 2: return "b";
        case 8: return "o";
        case 16: return "h";
        case 10: return "";
        default: return "s" + std::to_string(base);
    }
}

std::optional<std::string> FormatInBase(long double value, int base) {
    if (!std::isfinite(value) || base < kMinBase || base > kMaxBase) return std::nullopt;
    const bool negative = value < 0;
    const long double magnitude = std::fabs(value);
    long double integer = 0;
    const long double fraction = std::modf(magnitude, &integer);

    const int decimalDigits = static_cast<int>(IntegerDigits(integer, 10).size());
    const int e = 16 - decimalDigits;
    const long double tolerance = std::pow(10.0L, static_cast<long double>(-e));

    // The fewest fraction digits that are close enough, the last one rounded to nearest.
    std::string fractionDigits;
    if (fraction > 0) {
        long double scale = 1;
        for (int k = 0; k <= 80; ++k, scale *= base) {
            const long double n = std::round(fraction * scale);
            if (std::fabs(n / scale - fraction) <= tolerance || k == 80) {
                if (n >= scale) {
                    integer += 1;  // 0.99999... rounds up into the integer part
                } else if (k > 0) {
                    fractionDigits = IntegerDigits(n, base);
                    fractionDigits.insert(0, static_cast<std::size_t>(k) - fractionDigits.size(), '0');
                    if (fractionDigits == std::string(k, '0')) fractionDigits.clear();
                    while (!fractionDigits.empty() && fractionDigits.back() == '0') fractionDigits.pop_back();
                }
                break;
            }
        }
    }
    std::string text = IntegerDigits(integer, static_cast<unsigned>(base));
    if (!fractionDigits.empty()) text += "." + fractionDigits;
    // A value that rounds to nothing at all is written without a sign.
    if (negative && text != "0") text.insert(0, "-");
    return text + BaseSuffix(base);
}

}  // namespace kq
