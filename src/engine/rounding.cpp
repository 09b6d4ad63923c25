#include "engine/rounding.h"

#include <cmath>

namespace kq {

long double RoundToDigits(long double v, int r) {
    if (!RoundsToDigits(r) || !std::isfinite(v)) return v;
    static const long double scale[10] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
    const long double m = scale[r];
    const long double t = v * m;
    if (!std::isfinite(t)) return v;  // already far beyond the digits that rounding could change
    return std::round(t) / m;
}

}  // namespace kq
