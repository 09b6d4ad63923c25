// Evaluates a formula every way (the fast path, the interpreter and the unit tree) and insists
// they agree, and that the fast path is native code where the machine allows it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/translator.h"

namespace kq::test {

// Where the engine must compile native code: the fast path is never the interpreter there.
#if defined(__x86_64__) && (defined(__linux__) || defined(_WIN32))
inline constexpr bool kNativeExpected = true;
#else
inline constexpr bool kNativeExpected = false;
#endif

struct Outcome {
    EvalStatus status = EvalStatus::Ok;
    long double value = 0;
};

inline bool SameBits(long double a, long double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return a == b && std::signbit(a) == std::signbit(b);
}

// With `native` false the fast path is the interpreter the engine falls back on.
inline Outcome Evaluate(const std::string& formula, long double x = 1, long double y = 0, int rounding = -1,
                        bool degrees = false, bool native = true) {
    Translator t;
    t.SetRounding(rounding);
    t.SetDegrees(degrees);
    if (!native) t.UseNativeCode(false);
    t.Translate(formula);
    EXPECT_EQ(t.IsNative(), native && kNativeExpected) << "the fast path of " << formula;
    Outcome fast;
    fast.status = t.TryValue(x, y, fast.value);
    long double tree = 0, interpreted = 0;
    const EvalStatus treeStatus = t.TreeValue(x, y, tree);
    const EvalStatus interpretedStatus = t.InterpretedValue(x, y, interpreted);
    EXPECT_EQ(static_cast<int>(interpretedStatus), static_cast<int>(treeStatus)) << "interpreter disagrees on " << formula;
    if (interpretedStatus == EvalStatus::Ok && treeStatus == EvalStatus::Ok) {
        EXPECT_TRUE(SameBits(tree + 0.0L, interpreted)) << "interpreter disagrees on " << formula;
    }
    EXPECT_EQ(static_cast<int>(fast.status), static_cast<int>(treeStatus)) << "paths disagree on " << formula;
    if (fast.status == EvalStatus::Ok && treeStatus == EvalStatus::Ok) {
        EXPECT_TRUE(SameBits(RoundToDigits(tree + 0.0L, rounding), fast.value))
            << "paths disagree on " << formula << ": " << static_cast<double>(tree) << " vs "
            << static_cast<double>(fast.value);
    }
    return fast;
}

// Evaluates `t` at every x (with ys[k], or `y` when ys is empty) in one call, and point by
// point on every path, and insists that each status and each value's bits agree.
inline void CheckColumn(Translator& t, const std::vector<long double>& xs, const std::vector<long double>& ys,
                        long double y, const std::string& what) {
    std::vector<long double> values(xs.size(), -12345);
    std::vector<EvalStatus> statuses(xs.size(), EvalStatus::TooDeep);
    if (ys.empty()) t.TryValues(xs, y, values, statuses);
    else t.TryValues(xs, ys, values, statuses);
    for (std::size_t k = 0; k < xs.size(); ++k) {
        const long double yk = ys.empty() ? y : ys[k];
        long double single = 0, interpreted = 0, tree = 0;
        const EvalStatus s = t.TryValue(xs[k], yk, single);
        const EvalStatus i = t.InterpretedValue(xs[k], yk, interpreted);
        const EvalStatus r = t.TreeValue(xs[k], yk, tree);
        const std::string where = what + " at x=" + std::to_string(static_cast<double>(xs[k])) +
                                  " y=" + std::to_string(static_cast<double>(yk));
        ASSERT_EQ(statuses[k], s) << where;
        ASSERT_EQ(i, s) << where;
        ASSERT_EQ(r, s) << where;
        if (s != EvalStatus::Ok) continue;
        EXPECT_TRUE(SameBits(values[k], single)) << where;
        if (t.Rounding() == kNoRounding) {
            EXPECT_TRUE(SameBits(values[k], interpreted)) << where;
            EXPECT_TRUE(SameBits(values[k], tree + 0.0L)) << where;
        }
    }
}

}  // namespace kq::test
