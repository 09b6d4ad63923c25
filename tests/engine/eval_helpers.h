// Evaluates a formula both ways (flat program and unit tree) and insists they agree.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/translator.h"

namespace kq::test {

struct Outcome {
    EvalStatus status = EvalStatus::Ok;
    long double value = 0;
};

inline bool SameBits(long double a, long double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return a == b && std::signbit(a) == std::signbit(b);
}

inline Outcome Evaluate(const std::string& formula, long double x = 1, long double y = 0, int rounding = -1,
                        bool degrees = false) {
    Translator t;
    t.SetRounding(rounding);
    t.SetDegrees(degrees);
    t.Translate(formula);
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

}  // namespace kq::test
