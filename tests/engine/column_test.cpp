// Evaluating a whole column of points in one call: the same statuses and the same bits as
// point-by-point evaluation, the interpreter and the unit tree, natively and without.
#include <gtest/gtest.h>

#include <vector>

#include "eval_helpers.h"

namespace kq::test {
namespace {

std::vector<long double> Points() {
    std::vector<long double> xs;
    for (long double x = -7; x <= 7; x += 0.31L) xs.push_back(x);
    for (long double x : {0.0L, -0.0L, 1.0L, -1.0L, 2.0L, -2.0L, 90.0L, 1e300L, 1e-310L, 1e400L, -1e-400L, 1e-15L})
        xs.push_back(x);
    return xs;
}

// Formulas that the native code handles in each of its ways: arithmetic kept on the x87
// stack with x pinned, library calls, the interpreter's code reading x and y themselves,
// failures of every kind, and results that are x, y or a constant.
const char* const kFormulas[] = {
    "abs(x+2)/(x+2)-x",
    "x^3-2*x^2+x-1",
    "cos(x^2-3)",
    "sin(x)+cos(x)*tg(x)/2",
    "lg(2*x)/lg(x)",
    "cos(rt2(x*x+y*y))",
    "x^x",
    "tg(x)",
    "pw3(y)+sgn(x)",
    "x^y",
    "ln(x)+sqrt(y)",
    "arcsin(x)*arccos(y)",
    "exp(x*300)",
    "1/(x-2)",
    "x",
    "y",
    "5",
    "1/0",
    "",
    "(x+1)*(x+2)*(x+3)*(x+4)/(x-y)",
    "arcctg(x)-y",
    "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)",
    "rt3(x)*rt2(y)",
    "pw-2(x)",
    "x*0",
    "-x",
    "-y*x",
};

TEST(ColumnEvaluation, AgreesWithEveryPathBitForBit) {
    const std::vector<long double> xs = Points();
    std::vector<long double> ys;
    for (std::size_t k = 0; k < xs.size(); ++k) ys.push_back(0.75L - xs[k] / 3);
    for (bool native : {true, false}) {
        for (bool degrees : {false, true}) {
            for (const char* f : kFormulas) {
                Translator t;
                t.UseNativeCode(native);
                t.SetDegrees(degrees);
                t.Translate(f);
                ASSERT_EQ(t.IsNative(), native && kNativeExpected);
                ASSERT_EQ(t.ColumnIsNative(), native && kNativeExpected) << f;
                CheckColumn(t, xs, {}, 0.5L, f);
                CheckColumn(t, xs, ys, 0, f);
                CheckColumn(t, xs, {}, -3, f);
            }
        }
    }
}

TEST(ColumnEvaluation, RoundsLikeSinglePoints) {
    Translator t;
    t.SetRounding(2);
    t.Translate("x/3+y");
    CheckColumn(t, Points(), {}, 0.125L, "x/3+y rounded");
    std::vector<long double> values(2);
    std::vector<EvalStatus> statuses(2);
    t.TryValues(std::vector<long double>{1, 2}, 0, values, statuses);
    EXPECT_EQ(values[0], 0.33L);
    EXPECT_EQ(values[1], 0.67L);
}

// Short and empty columns, and a column after the formula changed.
TEST(ColumnEvaluation, ShortColumnsAndNewFormulas) {
    Translator t;
    t.Translate("1/x");
    std::vector<long double> values(3, 7);
    std::vector<EvalStatus> statuses(3, EvalStatus::TooDeep);
    t.TryValues(std::vector<long double>{}, 0, values, statuses);
    EXPECT_EQ(statuses[0], EvalStatus::TooDeep);  // nothing touched
    t.TryValues(std::vector<long double>{0}, 0, values, statuses);
    EXPECT_EQ(statuses[0], EvalStatus::DivisionByZero);
    EXPECT_EQ(statuses[1], EvalStatus::TooDeep);
    t.TryValues(std::vector<long double>{4}, 0, values, statuses);
    EXPECT_EQ(statuses[0], EvalStatus::Ok);
    EXPECT_EQ(values[0], 0.25L);
    // More points than room for their values: only those that fit are done.
    t.TryValues(std::vector<long double>{2, 2, 2, 2, 2}, 0, std::span<long double>(values).first(2), statuses);
    EXPECT_EQ(values[1], 0.5L);
    EXPECT_EQ(statuses[2], EvalStatus::TooDeep);
    t.Translate("x*10");
    t.TryValues(std::vector<long double>{4, 0, -1}, 0, values, statuses);
    EXPECT_EQ(values[0], 40);
    EXPECT_EQ(values[1], 0);
    EXPECT_EQ(values[2], -10);
    t.SetDegrees(true);
    t.Translate("sin(x)");
    t.TryValues(std::vector<long double>{30}, 0, values, statuses);
    EXPECT_NEAR(static_cast<double>(values[0]), 0.5, 1e-17);
}

}  // namespace
}  // namespace kq::test
