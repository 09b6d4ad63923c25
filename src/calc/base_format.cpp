#include "calc/base_format.h"

#include <cmath>

#include "calc/integer_digits.h"
#include "engine/language_tables.h"

namespace kq {

// Whole numbers up to 2^64 are held exactly by the 80-bit type and are written exactly; above
// it the low digits would only be binary noise.
constexpr long double kExactLimit = 18446744073709551616.0L;

std::string BaseSuffix(int base) {
    if (base == 10) return "";
    if (const NumberSuffix* fixed = SuffixOfBase(base)) return std::string(1, fixed->letter);
    return NumberedSuffix().letter + std::to_string(base);
}

std::optional<std::string> FormatInBase(long double value, int base) {
    if (!std::isfinite(value) || base < kMinBase || base > kMaxBase) return std::nullopt;
    const bool negative = value < 0;
    const long double magnitude = std::fabs(value);
    long double integer = 0;
    const long double fraction = std::modf(magnitude, &integer);

    const auto digitBase = static_cast<unsigned>(base);
    // The fewest fraction digits that are close enough, the last one rounded to nearest. Only
    // values below 2^63 have a fraction.
    std::string fractionDigits;
    if (fraction > 0) {
        const int e = 16 - static_cast<int>(ExactIntegerDigits(integer, 10).size());
        const long double tolerance = std::pow(10.0L, static_cast<long double>(-e));
        long double scale = 1;
        for (int k = 0; k <= 80; ++k, scale *= base) {
            const long double n = std::round(fraction * scale);
            if (std::fabs(n / scale - fraction) <= tolerance || k == 80) {
                if (n >= scale) {
                    integer += 1;  // 0.99999... rounds up into the integer part
                } else if (k > 0) {
                    fractionDigits = ExactIntegerDigits(n, digitBase);
                    fractionDigits.insert(0, static_cast<std::size_t>(k) - fractionDigits.size(), '0');
                    if (fractionDigits == std::string(k, '0')) fractionDigits.clear();
                    while (!fractionDigits.empty() && fractionDigits.back() == '0') fractionDigits.pop_back();
                }
                break;
            }
        }
    }
    std::string text = integer > kExactLimit ? ShortestIntegerDigits(integer, digitBase, BaseSuffix(base))
                                             : ExactIntegerDigits(integer, digitBase);
    if (!fractionDigits.empty()) text += "." + fractionDigits;
    // A value that rounds to nothing at all is written without a sign.
    if (negative && text != "0") text.insert(0, "-");
    return text + BaseSuffix(base);
}

}  // namespace kq
