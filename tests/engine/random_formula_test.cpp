// Thousands of formulas made from the language's parts: the native code, the interpreter and
// the unit tree must agree on every value and every failure, in both angle modes.
#include <gtest/gtest.h>

#include "eval_helpers.h"
#include "formula_tables.h"

namespace kq::test {
namespace {

TEST(RandomFormulas, AllPathsAgree) {
    FormulaMaker maker(2026);
    const std::vector<long double>& points = RandomFormulaPoints();
    for (int n = 0; n < 1500; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        for (bool degrees : {false, true})
            for (long double x : points) Evaluate(formula, x, 0.5L - x, kNoRounding, degrees);
    }
}

// Whole columns of points in one call agree with single points and every other path.
TEST(RandomFormulas, ColumnsAgree) {
    FormulaMaker maker(4242);
    const std::vector<long double>& xs = RandomFormulaPoints();
    std::vector<long double> ys;
    for (long double x : xs) ys.push_back(0.5L - x);
    for (int n = 0; n < 600; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        Translator t;
        t.SetDegrees(n % 2 == 1);
        t.Translate(formula);
        CheckColumn(t, xs, ys, 0, formula);
        CheckColumn(t, xs, {}, 2, formula);
    }
}

// The interpreter the engine falls back on where it has no native code, forced here on a
// machine that has it: it too must agree with the tree on every value and failure.
TEST(RandomFormulas, FallbackInterpreterAgrees) {
    FormulaMaker maker(1913);
    const long double points[] = {-3, -0.5L, 0, 1, 2, 90, 1e-310L, 1e400L};
    for (int n = 0; n < 400; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        for (bool degrees : {false, true})
            for (long double x : points) Evaluate(formula, x, 0.5L - x, kNoRounding, degrees, false);
    }
}

}  // namespace
}  // namespace kq::test
