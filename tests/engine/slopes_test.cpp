// The slopes of a formula: each function's derivative rule and the operations' against mpmath's
// derivatives (slope_reference.py), the value bit for bit the one every evaluation path gives,
// and where the formula has no derivative the status says so.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/translator.h"
#include "eval_helpers.h"
#include "formula_tables.h"
#include "slope_reference.h"

namespace kq::test {
namespace {

// How many units in the last place of `want` lie between the two.
long double UlpsApart(long double got, long double want) {
    if (want == 0) return got == 0 ? 0 : std::numeric_limits<long double>::infinity();
    int exponent = 0;
    std::frexp(want, &exponent);
    return std::fabs(got - want) / std::ldexp(1.0L, exponent - 64);
}

std::string Describe(const SlopeReference& r) {
    return std::string(r.formula) + (r.degrees ? " (degrees)" : "") +
           " at x=" + std::to_string(static_cast<double>(r.x)) + " y=" + std::to_string(static_cast<double>(r.y));
}

void ExpectSlopes(const SlopeReference& r) {
    SCOPED_TRACE(Describe(r));
    Translator t;
    t.SetDegrees(r.degrees);
    t.Translate(r.formula);
    Slopes s;
    ASSERT_EQ(t.TrySlopes(r.x, r.y, s), EvalStatus::Ok);
    EXPECT_EQ(s.first, SlopeStatus::Exact);
    EXPECT_EQ(s.second, SlopeStatus::Exact);
    EXPECT_LE(UlpsApart(s.dx, r.dx), r.tolerance) << "d/dx " << static_cast<double>(s.dx);
    EXPECT_LE(UlpsApart(s.dxx, r.dxx), 2 * r.tolerance) << "d2/dx2 " << static_cast<double>(s.dxx);
    EXPECT_LE(UlpsApart(s.dy, r.dy), r.tolerance) << "d/dy " << static_cast<double>(s.dy);
}

class FunctionRule : public testing::TestWithParam<SlopeReference> {};

TEST_P(FunctionRule, MatchesMpmath) { ExpectSlopes(GetParam()); }

INSTANTIATE_TEST_SUITE_P(EveryFunction, FunctionRule, testing::ValuesIn(kFunctionSlopes));

class FormulaRule : public testing::TestWithParam<SlopeReference> {};

TEST_P(FormulaRule, MatchesMpmath) { ExpectSlopes(GetParam()); }

INSTANTIATE_TEST_SUITE_P(OperationsAndMacros, FormulaRule, testing::ValuesIn(kFormulaSlopes));

// Every function of the table is in the reference, under each of its names.
TEST(Slopes, ReferenceCoversEveryFunction) {
    for (const FunctionInfo& f : LanguageFunctions())
        for (std::string_view name : f.names) {
            if (name.empty()) continue;
            bool found = false;
            for (const SlopeReference& r : kFunctionSlopes)
                found = found || std::string_view(r.formula).substr(0, name.size()) == name;
            EXPECT_TRUE(found) << name;
        }
}

// The value beside the slopes is the one TryValue gives, bit for bit, with the same status; and
// unrounded the interpreter's and the tree's.
void ExpectSameValues(Translator& t, const std::string& formula, const std::vector<long double>& xs, long double y) {
    for (long double x : xs) {
        Slopes s;
        long double fast = 0, interpreted = 0, tree = 0;
        const EvalStatus slopeStatus = t.TrySlopes(x, y, s);
        const EvalStatus fastStatus = t.TryValue(x, y, fast);
        const std::string where = formula + " at x=" + std::to_string(static_cast<double>(x));
        ASSERT_EQ(slopeStatus, fastStatus) << where;
        ASSERT_EQ(t.InterpretedValue(x, y, interpreted), fastStatus) << where;
        ASSERT_EQ(t.TreeValue(x, y, tree), fastStatus) << where;
        if (fastStatus != EvalStatus::Ok) continue;
        EXPECT_TRUE(SameBits(s.value, fast)) << where;
        if (t.Rounding() == kNoRounding) {
            EXPECT_TRUE(SameBits(s.value, interpreted)) << where;
            EXPECT_TRUE(SameBits(s.value, tree + 0.0L)) << where;
        }
    }
}

std::vector<std::string> ValueFormulas() {
    std::vector<std::string> formulas(std::begin(kColumnFormulas), std::end(kColumnFormulas));
    for (const SlopeReference& r : kFunctionSlopes) formulas.push_back(r.formula);
    for (const SlopeReference& r : kFormulaSlopes) formulas.push_back(r.formula);
    FormulaMaker maker(2024);
    for (int i = 0; i < 300; ++i) formulas.push_back(maker.Make(4));
    return formulas;
}

TEST(Slopes, ValueIsEveryPathsValue) {
    const std::vector<long double> xs = ColumnPoints();
    for (const std::string& formula : ValueFormulas())
        for (bool degrees : {false, true})
            for (int rounding : {kNoRounding, 2, 0, 10}) {
                Translator t;
                t.SetDegrees(degrees);
                t.SetRounding(rounding);
                t.Translate(formula);
                ExpectSameValues(t, formula, xs, 0.75L);
            }
}

TEST(Slopes, ValueIsTheInterpretersWithoutNativeCode) {
    const std::vector<long double> xs = ColumnPoints();
    for (const std::string& formula : ValueFormulas()) {
        Translator t;
        t.UseNativeCode(false);
        t.Translate(formula);
        ExpectSameValues(t, formula, xs, -1.5L);
    }
}

struct Kink {
    const char* formula;
    long double x;
    SlopeStatus first, second;
};

// Where the formula has no derivative, or no second one, the statuses say so; where it has
// them after all (|w| where w has a double zero), they are there.
TEST(Slopes, StatusSaysWhereThereIsNoDerivative) {
    using S = SlopeStatus;
    const S E = S::Exact, N = S::NotDifferentiable;
    const Kink kinks[] = {
        {"abs(x)", 0, N, N},      {"abs(x)", 0.5L, E, E},  {"|x-1|", 1, N, N},         {"abs(x*x)", 0, E, E},
        {"sgn(x)", 0, N, N},      {"sgn(x)", 2, E, E},     {"sqrt(x)", 0, N, N},       {"rt3(x)", 0, N, N},
        {"arcsin(x)", 1, N, N},   {"arccos(x)", -1, N, N}, {"x^1.5", 0, E, N},         {"pw1.5(x)", 0, E, N},
        {"x^0.5", 0, N, N},       {"x^2.5", 0, E, E},      {"x^x", -2, N, N},          {"sqrt(x*x)", 0, N, N},
        {"sin(abs(x))", 0, N, N}, {"x^(1/3)", 0, N, N},    {"abs(x)+sin(x)", 1, E, E}, {"rt2(x)", 0, N, N},
        {"pw0.5(x)", 0, N, N},
    };
    for (const Kink& k : kinks) {
        Translator t;
        t.Translate(k.formula);
        Slopes s;
        ASSERT_EQ(t.TrySlopes(k.x, 0, s), EvalStatus::Ok) << k.formula;
        EXPECT_EQ(s.first, k.first) << k.formula << " at " << static_cast<double>(k.x);
        EXPECT_EQ(s.second, k.second) << k.formula << " at " << static_cast<double>(k.x);
    }
    Translator t;
    t.Translate("abs(x*x)");
    Slopes s;
    ASSERT_EQ(t.TrySlopes(0, 0, s), EvalStatus::Ok);
    EXPECT_EQ(s.dx, 0);
    EXPECT_EQ(s.dxx, 2);
}

// A formula that fails has no slopes: the status is the value's failure.
TEST(Slopes, FailureIsTheValuesFailure) {
    const std::pair<const char*, long double> failing[] = {
        {"ln(x)", -1},       {"1/(x-2)", 2}, {"tg(x)", static_cast<long double>(kPi) / 2},
        {"arcsin(x)", 1.5L}, {"rt2(x)", -4}, {"x^0", 0},
        {"sin(ln(x))*x", 0},
    };
    for (const auto& [formula, x] : failing) {
        Translator t;
        t.Translate(formula);
        Slopes s;
        long double v = 0;
        const EvalStatus status = t.TryValue(x, 0, v);
        EXPECT_NE(status, EvalStatus::Ok) << formula;
        EXPECT_EQ(t.TrySlopes(x, 0, s), status) << formula;
    }
}

// Rounding to R digits makes steps: the value is the rounded one and the slopes say Stepped;
// a setting that does not round changes nothing.
TEST(Slopes, RoundingMakesSteps) {
    Translator t;
    t.Translate("x*x/3");
    Slopes exact;
    ASSERT_EQ(t.TrySlopes(1.3L, 0, exact), EvalStatus::Ok);
    for (int rounding : {0, 2, 9}) {
        t.SetRounding(rounding);
        Slopes s;
        long double v = 0;
        ASSERT_EQ(t.TrySlopes(1.3L, 0, s), EvalStatus::Ok);
        ASSERT_EQ(t.TryValue(1.3L, 0, v), EvalStatus::Ok);
        EXPECT_TRUE(SameBits(s.value, v)) << rounding;
        EXPECT_EQ(s.first, SlopeStatus::Stepped) << rounding;
        EXPECT_EQ(s.second, SlopeStatus::Stepped) << rounding;
        EXPECT_EQ(s.dx, exact.dx) << rounding;
    }
    for (int rounding : {kNoRounding, 10}) {
        t.SetRounding(rounding);
        Slopes s;
        ASSERT_EQ(t.TrySlopes(1.3L, 0, s), EvalStatus::Ok);
        EXPECT_EQ(s.first, SlopeStatus::Exact) << rounding;
        EXPECT_TRUE(SameBits(s.value, exact.value)) << rounding;
    }
}

}  // namespace
}  // namespace kq::test
