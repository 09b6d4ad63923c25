// The formula language, one table per rule: what a user writes and what it is worth.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "eval_helpers.h"

namespace kq::test {
namespace {

constexpr long double kPiDouble = 3.141592653589793;

struct Case {
    const char* formula;
    long double x;
    long double expected;
};

void CheckTable(const std::vector<Case>& cases, long double tolerance = 0) {
    for (const Case& c : cases) {
        const Outcome o = Evaluate(c.formula, c.x);
        ASSERT_EQ(o.status, EvalStatus::Ok) << c.formula;
        if (tolerance == 0) EXPECT_EQ(o.value, c.expected) << c.formula << " at x=" << static_cast<double>(c.x);
        else EXPECT_NEAR(static_cast<double>(o.value), static_cast<double>(c.expected), static_cast<double>(tolerance))
                 << c.formula;
    }
}

TEST(Language, NumberLiterals) {
    CheckTable({
        {"12", 0, 12},        {"3.5", 0, 3.5},      {".5", 0, 0.5},      {"1e5", 0, 100000},
        {"3,5*2", 0, 7},      {"101b", 0, 5},       {"FFh", 0, 255},     {"17o", 0, 15},
        {"21s3", 0, 7},       {"0.1b", 0, 0.5},     {"1.1b", 0, 1.5},    {"(-11b)", 0, -3},
        {"1Bh", 0, 27},       {"1bh", 0, 1},        {"20s5", 0, 10},     {"0s5", 0, 0},
        {"2x", 5, 2},         {"e", 0, 0},          {"pi2", 0, 0},       {"sinx", 0, 0},
        {"12s0", 0, 0},       {"s3", 0, 0},         {"0.Ah", 0, 0.625},  {"-101b", 0, -5},
        {"1s", 0, 1},         {"A.8h", 0, 10.5},    {"0,1b", 0, 0.5},    {"ZZs36", 0, 1295},
    });
}

TEST(Language, VariablesAndConstants) {
    CheckTable({
        {"x", 3, 3}, {"x2", 3, 3}, {"xyz", 4, 4}, {"pi", 0, kPiDouble}, {"", 5, 0}, {"sin", 1, 0},
    });
    EXPECT_EQ(Evaluate("y", 1, 7).value, 7);
    EXPECT_EQ(Evaluate("y*x", 2, 7).value, 14);
}

TEST(Language, SumsAndProducts) {
    CheckTable({
        {"1+2*3", 0, 7},    {"2*3-4/2", 0, 4},  {"1-2-3", 0, -4},   {"8/2/2", 0, 2},
        {"-x", 3, -3},      {"-2*3", 0, -6},    {"2(x+1)", 5, 2},   {"(1+2)*(3+4)", 0, 21},
        {"--x", 3, -3},     {"1--x", 3, -2},    {"x-x", 5, 0},      {"((x))", 4, 4},
    });
}

// Blanks mean nothing anywhere.
TEST(Language, Blanks) {
    CheckTable({
        {"1 - x", 3, -2}, {"2 * x", 3, 6}, {" sin (x) ", 0.5L, std::sin(0.5L)}, {"(sin (x))", 0.5L, std::sin(0.5L)},
        {"1\t+\t2", 0, 3}, {"- x", 2, -2}, {"2 1", 0, 21},
    });
}

// A sign after "*", "/" or "^" belongs to what follows; "+" may open a term.
TEST(Language, SignsAfterOperators) {
    CheckTable({
        {"2*-3", 0, -6},     {"2/-4", 0, -0.5},  {"2^-1", 0, 0.5},    {"x^-2", 2, 0.25},
        {"2*-3^2", 0, -18},  {"+x", 4, 4},       {"1-+x", 4, -3},     {"1+-x", 4, -3},
        {"2*-(x+1)", 1, -4}, {"2*-x", 3, -6},    {"-x^2", 3, -9},     {"x*+2", 3, 6},
        {"2*--3", 0, 6},     {"3/-x^2", 1, -3},  {"-2^2", 0, -4},     {"2^+3", 0, 8},
    });
    EXPECT_NEAR(static_cast<double>(Evaluate("2*-sin(x)", 1).value), -2 * std::sin(1.0), 1e-15);
}

TEST(Language, ExponentLiterals) {
    CheckTable({
        {"1e-5", 0, 1e-5L},   {"2.5E+3", 0, 2500},  {"1e5", 0, 100000},  {"1e+2+1", 0, 101},
        {"x1e-5", 1, -4},     {"1E-1h", 0, 0},     {".5e-1", 0, 0.05L}, {"1e-5*2", 0, 2e-5L},
        {"3-1e-1", 0, 3 - 0.1L}, {"e-1", 0, -1},    {"2e", 0, 2},        {"2e-x", 3, -1},
    });
}

TEST(Language, Powers) {
    CheckTable({
        {"2^3^2", 0, 512}, {"x^2*3", 2, 12},  {"2^10", 0, 1024}, {"x^3", -2, -8},     {"(x+1)^2", 2, 9},
        {"2^(1+1)", 0, 4}, {"x^", 3, 3},      {"x^0.5", 4, 2},   {"(-8)^(1/3)", 0, -2}, {"0^2", 0, 0},
        {"2^3*2^2", 0, 32}, {"4^0.5^2", 0, std::pow(4.0L, 0.25L)},
    });
    const Outcome e = Evaluate("x^e", 2);
    ASSERT_EQ(e.status, EvalStatus::Ok);
    EXPECT_NEAR(static_cast<double>(e.value), std::pow(2.0, std::numbers::e), 1e-14);
}

// An exponent right after a call raises the function's value.
TEST(Language, FunctionExponents) {
    const long double x = 0.7L;
    CheckTable({
        {"sin(x)^2", x, std::sin(x) * std::sin(x)},
        {"abs(x)^3", -2, 8},
        {"rt2(x)^2", 9, 9},
        {"sgn(x)^2", -3, 1},
        {"pw2(x)^2", 2, 16},
        {"(sin(x))^2", x, std::sin(x) * std::sin(x)},
        {"-cos(x)^2", x, -(std::cos(x) * std::cos(x))},
    }, 1e-15L);
    EXPECT_EQ(Evaluate("rt2(x)^2", -4).status, EvalStatus::EvenRoot);
}

TEST(Language, Functions) {
    const long double x = 0.3L;
    CheckTable({
        {"ln(x)", x, std::log(0.3)},           {"lg(x)", x, std::log10(0.3)},    {"sgn(x)", -x, -1},
        {"sgn(0)", 0, 0},                      {"sin(x)", x, std::sin(x)},       {"cos(x)", x, std::cos(x)},
        {"sec(x)", x, 1 / std::cos(x)},        {"csc(x)", x, 1 / std::sin(x)},   {"tg(x)", x, std::tan(0.3)},
        {"tan(x)", x, std::tan(0.3)},          {"ctg(x)", x, 1 / std::tan(0.3L)}, {"cot(x)", x, 1 / std::tan(0.3L)},
        {"abs(x)", -x, x},                     {"rt3(x)", -8, -2},               {"pw3(x)", 2, 8},
        {"pw0(x)", 0, 1},                      {"arcsin(x)", x, std::asin(0.3)}, {"asin(x)", x, std::asin(0.3)},
        {"arccos(x)", x, std::acos(0.3)},      {"acos(x)", x, std::acos(0.3)},   {"atg(x)", x, std::atan(0.3)},
        {"arctg(x)", x, std::atan(0.3)},       {"arctan(x)", x, std::atan(0.3)}, {"arcctg(x)", x, std::atan(1 / 0.3)},
        {"arccot(x)", x, std::atan(1 / 0.3)},  {"actg(x)", x, std::atan(1 / 0.3)}, {"sqrt(x)", 4, 2},
        {"exp(x)", 1, std::exp(1.0)},          {"arcctg(0)", 0, kPiDouble / 2},  {"arcctg(-1)", 0, 3 * kPiDouble / 4},
        {"rt2(x)", 2, std::sqrt(2.0L)},        {"sin()", 0, 0},                  {"2*sin()", 0, 2},
        {"sin(x)+cos(x)", x, std::sin(x) + std::cos(x)},
    }, 1e-15L);
}

TEST(Language, AbsoluteBars) {
    for (long double x : {-2.5L, -1.0L, 0.0L, 0.5L, 3.0L}) {
        EXPECT_EQ(Evaluate("|x|", x).value, Evaluate("abs(x)", x).value);
        for (long double y : {-2.0L, 0.5L}) {
            EXPECT_EQ(Evaluate("|x-|y|+1|", x, y).value, std::fabs(x - std::fabs(y) + 1));
        }
    }
    CheckTable({{"|x|+|x|", -2, 4}, {"2*|x-3|", 1, 4}});
}

TEST(Language, Macros) {
    CheckTable({
        {"pow<2>(x)", 3, 9},        {"rtt<3>(-8)", 0, -2},    {"log<2>(8)", 0, 3},
        {"log<3>(x)", 9, 2},        {"log<x>(2*x)", 2, 2},    {"pow<pow<2>(2)>(x)", 2, 16},
        {"log<log<2>(4)>(16)", 0, 4}, {"xpow<2>(3)", 5, 5},   {"pow<0.5>(x)", 16, 4},
    }, 1e-15L);
    EXPECT_EQ(Evaluate("rtt<2>(-4)").status, EvalStatus::EvenRoot);
}

TEST(Language, ExamplesTheWindowOffers) {
    for (const char* f : {"abs(x+2)/(x+2)-x", "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "cos(rt2(x*x+y*y))",
                          "arcsin(x)", "sec(x)"}) {
        EXPECT_EQ(Evaluate(f, 0.5L).status, EvalStatus::Ok) << f;
    }
    EXPECT_EQ(Evaluate("abs(x+2)/(x+2)-x", 1).value, 0);
    EXPECT_NEAR(static_cast<double>(Evaluate("cos(x^2-3)", 2).value), std::cos(1.0), 1e-15);
}

Outcome InDegrees(const char* formula, long double x = 1) { return Evaluate(formula, x, 0, kNoRounding, true); }

TEST(Language, Degrees) {
    EXPECT_NEAR(static_cast<double>(InDegrees("sin(30)").value), 0.5, 1e-17);
    EXPECT_EQ(InDegrees("tg(90)").status, EvalStatus::FunctionPole);
    EXPECT_NEAR(static_cast<double>(InDegrees("cos(60)").value), 0.5, 1e-17);
    EXPECT_NEAR(static_cast<double>(InDegrees("tg(45)").value), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(InDegrees("sec(x)", 60).value), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(InDegrees("ctg(x)", 45).value), 1, 1e-15);
    EXPECT_EQ(InDegrees("ctg(180)").status, EvalStatus::FunctionPole);
    EXPECT_EQ(InDegrees("csc(0)").status, EvalStatus::FunctionPole);
    EXPECT_EQ(InDegrees("tg(x)", -270).status, EvalStatus::FunctionPole);
    // The inverse functions answer in radians whatever the mode.
    EXPECT_NEAR(static_cast<double>(InDegrees("arcsin(1)").value), kPiDouble / 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(InDegrees("arctg(x)", 1).value), kPiDouble / 4, 1e-15);
    // A formula switched to the other mode after translation follows the switch.
    Translator t;
    t.Translate("sin(x)");
    EXPECT_FALSE(t.Degrees());
    EXPECT_NEAR(static_cast<double>(t.Value(30, 0)), std::sin(30.0), 1e-15);
    t.SetDegrees(true);
    EXPECT_NEAR(static_cast<double>(t.Value(30, 0)), 0.5, 1e-17);
    t.Translate("cos(x)");  // the mode outlives a new text
    EXPECT_NEAR(static_cast<double>(t.Value(60, 0)), 0.5, 1e-17);
}

// Two formulas of one process, one in each mode: neither changes the other, whichever order
// they are set up and evaluated in, on every path.
TEST(Language, EachFormulaHasItsOwnAngleMode) {
    Translator degrees, radians;
    degrees.SetDegrees(true);
    degrees.Translate("sin(x)+tg(x)");
    radians.Translate("sin(x)+tg(x)");
    EXPECT_FALSE(radians.Degrees());
    for (int round = 0; round < 2; ++round) {
        long double d = 0, r = 0, tree = 0;
        ASSERT_EQ(degrees.TryValue(30, 0, d), EvalStatus::Ok);
        ASSERT_EQ(radians.TryValue(30, 0, r), EvalStatus::Ok);
        EXPECT_NEAR(static_cast<double>(d), 0.5 + 1 / std::sqrt(3.0), 1e-15);
        EXPECT_NEAR(static_cast<double>(r), std::sin(30.0) + std::tan(30.0), 1e-14);
        ASSERT_EQ(radians.TreeValue(30, 0, tree), EvalStatus::Ok);
        EXPECT_TRUE(SameBits(tree + 0.0L, r));
        ASSERT_EQ(degrees.InterpretedValue(30, 0, tree), EvalStatus::Ok);
        EXPECT_TRUE(SameBits(tree, d));
        EXPECT_EQ(degrees.TryValue(90, 0, d), EvalStatus::FunctionPole);
        EXPECT_EQ(radians.TryValue(90, 0, r), EvalStatus::Ok);
        // Translating the other formula again must not move this one's mode.
        radians.Translate("sin(x)+tg(x)");
        degrees.Translate("sin(x)+tg(x)");
    }
}

}  // namespace
}  // namespace kq::test
