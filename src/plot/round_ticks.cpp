#include "plot/round_ticks.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"

namespace kq {
namespace {

// The exponent of the largest power of ten not above a positive value.
int Decade(long double value) { return static_cast<int>(std::floor(std::log10(value) + 1e-12L)); }

// Drops the sign of a text that shows no digit but zeros.
std::string NoNegativeZero(std::string text) {
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
    return text;
}

// Trailing zeros after a decimal point, and the point itself when nothing follows it.
std::string TrimZeros(std::string text) {
    if (text.find('.') == std::string::npos || text.find('e') != std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

RoundTicks RoundTicksFor(long double low, long double high, int most) {
    most = std::max(most, 1);
    // Halves: the span of two finite values may itself overflow.
    const long double rough = (high / 2 - low / 2) / most * 2;
    const long double decade = std::pow(10.0L, static_cast<long double>(Decade(rough)));
    long double step = high / 2 - low / 2;
    for (const long double factor : {1.0L, 2.0L, 5.0L, 10.0L, 20.0L, 50.0L, 100.0L}) {
        const long double s = decade * factor;
        if (!std::isfinite(s)) break;
        // A hair of slack so that a value one rounding away from a multiple counts as on it.
        if (std::ceil(high / s - 1e-9L) - std::floor(low / s + 1e-9L) <= most) {
            step = s;
            break;
        }
    }
    RoundTicks t{low, high, step, 0, 0};
    const long double below = std::floor(low / step + 1e-9L), above = std::ceil(high / step - 1e-9L);
    if (low / step - below < 0.25L && std::isfinite(below * step)) t.low = below * step;
    if (above - high / step < 0.25L && std::isfinite(above * step)) t.high = above * step;
    t.firstIndex = std::ceil(t.low / step - 1e-9L);
    const long double last = std::floor(t.high / step + 1e-9L);
    t.count = static_cast<int>(std::clamp(last - t.firstIndex + 1, 0.0L, 1000.0L));
    return t;
}

std::string TickText(long double value, long double step) {
    step = std::fabs(step);
    if (!(step > 0) || !std::isfinite(step)) return NoNegativeZero(FormatC("%.6Lg", value));
    const int decimals = std::max(0, -Decade(step));
    if (decimals <= 6 && std::fabs(value) < 1e15L) {
        const std::string format = "%." + std::to_string(decimals) + "Lf";
        return NoNegativeZero(TrimZeros(FormatC(format.c_str(), value)));
    }
    const int digits = std::clamp(Decade(std::max(std::fabs(value), step)) - Decade(step) + 1, 1, 18);
    const std::string format = "%." + std::to_string(digits) + "Lg";
    return NoNegativeZero(FormatC(format.c_str(), value));
}

std::string RoughText(long double value) {
    const long double size = std::fabs(value);
    if (!(size >= 1e-4L) || !(size < 1e15L)) return NoNegativeZero(FormatC("%.4Lg", value));
    const int decimals = std::max(0, 3 - Decade(size));
    const std::string format = "%." + std::to_string(decimals) + "Lf";
    return NoNegativeZero(TrimZeros(FormatC(format.c_str(), value)));
}

}  // namespace kq
