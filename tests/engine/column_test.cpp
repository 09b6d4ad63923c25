// Evaluating a whole column of points in one call: the same statuses and the same bits as
// point-by-point evaluation, the interpreter and the unit tree, natively and without.
#include <gtest/gtest.h>

#include <vector>

#include "eval_helpers.h"
#include "formula_tables.h"

namespace kq::test {
namespace {

TEST(ColumnEvaluation, AgreesWithEveryPathBitForBit) {
    const std::vector<long double> xs = ColumnPoints();
    std::vector<long double> ys;
    for (std::size_t k = 0; k < xs.size(); ++k) ys.push_back(0.75L - xs[k] / 3);
    for (bool native : {true, false}) {
        for (bool degrees : {false, true}) {
            for (const char* f : kColumnFormulas) {
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
    CheckColumn(t, ColumnPoints(), {}, 0.125L, "x/3+y rounded");
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
