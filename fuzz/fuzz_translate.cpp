// Translates arbitrary bytes and evaluates the result at a few points in both angle modes,
// one by one and as a column. Besides crashes and undefined behaviour it stops on any
// disagreement between the native code, the interpreter, the column and the unit tree.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/translator.h"

namespace {

bool Same(long double a, long double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    kq::Translator t;
    t.Translate(text);
    // Besides ordinary points, ones that drive double-precision functions out of double's range.
    static const long double points[] = {0.0L,  1.0L,   -1.0L,   0.5L,    -2.75L, 3.141592653589793L,
                                         90.0L, 1e10L,  -1e-10L, 1e-400L, 1e400L, 710.5L, -745.5L};
    constexpr std::size_t kPoints = sizeof points / sizeof points[0];
    long double ys[kPoints];
    for (std::size_t k = 0; k < kPoints; ++k) ys[k] = -points[k] / 2;
    for (bool degrees : {false, true}) {
        t.SetDegrees(degrees);
        // The whole column in one call, checked against each point below.
        long double column[kPoints];
        kq::EvalStatus columnStatus[kPoints];
        t.TryValues(points, ys, column, columnStatus);
        for (std::size_t k = 0; k < kPoints; ++k) {
            const long double x = points[k];
            long double fast = 0, tree = 0;
            const kq::EvalStatus a = t.TryValue(x, -x / 2, fast);
            const kq::EvalStatus b = t.TreeValue(x, -x / 2, tree);
            long double interpreted = 0;
            const kq::EvalStatus c = t.InterpretedValue(x, -x / 2, interpreted);
            if (a != b || b != c || a != columnStatus[k] ||
                (a == kq::EvalStatus::Ok &&
                 (!Same(fast, tree + 0.0L) || !Same(interpreted, tree + 0.0L) || !Same(column[k], fast)))) {
                std::fprintf(stderr, "disagreement on \"%s\" at x=%Lg: %d %Lg vs %d %Lg\n", t.CompiledText().c_str(), x,
                             static_cast<int>(a), fast, static_cast<int>(b), tree);
                std::abort();
            }
        }
        const std::optional<long double> special = t.Specials().Query(-10, 10);
        if (special && !(*special >= -10 && *special <= 10)) std::abort();
    }
    return 0;
}
