// Kept in a file of its own so that the compiler cannot inline the formulas into the loop.
#include "hand_written.h"

#include <cmath>

namespace kq::bench {
namespace {

// x^3 and x^2 as the engine's power gives them (the same bits as powl).
long double F1(long double x, long double) { return cosl(x * x - 3); }
long double F2(long double x, long double) { return fabsl(x + 2) / (x + 2) - x; }
long double F3(long double x, long double) {
    return sinl(x) + cosl(x) * static_cast<long double>(std::tan(static_cast<double>(x))) / 2;
}
long double F4(long double x, long double) {
    return static_cast<long double>(std::log10(static_cast<double>(2 * x))) /
           static_cast<long double>(std::log10(static_cast<double>(x)));
}
long double F5(long double x, long double) { return x * x * x - 2 * (x * x) + x - 1; }
long double F6(long double x, long double y) { return cosl(sqrtl(fabsl(x * x + y * y))); }
long double F7(long double x, long double) {
    return sinl(x) * cosl(x) + sinl(2 * x) * cosl(2 * x) + sinl(3 * x) * cosl(3 * x) + sinl(4 * x) * cosl(4 * x);
}
long double F8(long double x, long double) {
    return x * x * x - 2 * (x * x) + x - 1 +
           static_cast<long double>(std::tan(static_cast<double>(x / 7))) *
               static_cast<long double>(std::log10(static_cast<double>(x * x + 2)));
}

}  // namespace

const Formula kHandWritten[8] = {F1, F2, F3, F4, F5, F6, F7, F8};

}  // namespace kq::bench
