// Evaluation failures with their messages, rounding, and the value conventions callers see.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "eval_helpers.h"

namespace kq::test {
namespace {

struct FailureCase {
    const char* formula;
    long double x;
    EvalStatus status;
    bool degrees = false;
};

TEST(Evaluation, FailuresCarryTheirMessages) {
    const std::vector<FailureCase> cases = {
        {"1/0", 0, EvalStatus::DivisionByZero},
        {"1/(x-x)", 3, EvalStatus::DivisionByZero},
        {"1/0.000000000000001", 0, EvalStatus::DivisionByZero},
        {"0^0", 0, EvalStatus::ZeroToZero},
        {"x^0", 0, EvalStatus::ZeroToZero},
        {"(-4)^0.5", 0, EvalStatus::EvenRoot},
        {"rt2(x)", -1, EvalStatus::EvenRoot},
        {"rt4(x)", -1, EvalStatus::EvenRoot},
        {"tg(pi/2)", 0, EvalStatus::FunctionPole},
        {"ctg(0)", 0, EvalStatus::FunctionPole},
        {"csc(0)", 0, EvalStatus::FunctionPole},
        // sec and csc fail where tg and ctg do: the cosine or sine is not above 1e-14 there,
        // though cos(pi/2) and sin(180°) are not exactly 0.
        {"sec(pi/2)", 0, EvalStatus::FunctionPole},
        {"sec(x)", -3 * 1.5707963267948966L, EvalStatus::FunctionPole},
        {"csc(pi)", 0, EvalStatus::FunctionPole},
        {"csc(x)", 1e-15L, EvalStatus::FunctionPole},
        {"csc(x)", -1e-15L, EvalStatus::FunctionPole},
        {"sec(90)", 0, EvalStatus::FunctionPole, true},
        {"sec(x)", 270, EvalStatus::FunctionPole, true},
        {"csc(180)", 0, EvalStatus::FunctionPole, true},
        {"csc(x)", -360, EvalStatus::FunctionPole, true},
        {"tg(90)", 0, EvalStatus::FunctionPole, true},
        {"sec(x)", 1e-13L, EvalStatus::Ok},
        {"csc(x)", 1e-13L, EvalStatus::Ok},
        {"sec(x)", 89.9999, EvalStatus::Ok, true},
        // A root of degree 0 is a division by 0, as the macro's 1/0 is.
        {"rt0(8)", 0, EvalStatus::DivisionByZero},
        {"rt0(x)", -8, EvalStatus::DivisionByZero},
        {"rt0(x)", 0, EvalStatus::DivisionByZero},
        {"rt0.000000000000001(x)", 2, EvalStatus::DivisionByZero},
        {"rtt<0>(5)", 0, EvalStatus::DivisionByZero},
        {"rt0.00000000000001(x)", 1, EvalStatus::Ok},
        {"arcsin(2)", 0, EvalStatus::InverseTrig},
        {"arccos(-1.5)", 0, EvalStatus::InverseTrig},
        {"ln(0)", 0, EvalStatus::NoValue},
        {"lg(-1)", 0, EvalStatus::NoValue},
        {"sqrt(-1)", 0, EvalStatus::NoValue},
        // Zero to a negative power is a division by zero.
        {"x^-1", 0, EvalStatus::DivisionByZero},
        {"0^(-2)", 0, EvalStatus::DivisionByZero},
        {"(x)^(-2)", 0, EvalStatus::DivisionByZero},
        {"pw-1(x)", 2, EvalStatus::Ok},  // a "-" there splits the sum: pw - 1
        // The first failure in evaluation order is the one reported.
        {"ln(x)+1/0", -1, EvalStatus::NoValue},
        {"1/0+ln(x)", -1, EvalStatus::DivisionByZero},
        {"x*0/0", 1, EvalStatus::DivisionByZero},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<int>(Evaluate(c.formula, c.x, 0, kNoRounding, c.degrees).status), static_cast<int>(c.status))
            << c.formula << " at " << static_cast<double>(c.x) << (c.degrees ? " in degrees" : "");
    }
    EXPECT_EQ(MessageOf(EvalStatus::DivisionByZero), "/0");
    EXPECT_EQ(MessageOf(EvalStatus::ZeroToZero), "err2");
    EXPECT_EQ(MessageOf(EvalStatus::EvenRoot), "Четный корень из отрицательного значения!");
    EXPECT_EQ(MessageOf(EvalStatus::FunctionPole), "Деление на 0");
    EXPECT_EQ(MessageOf(EvalStatus::InverseTrig), "Обратная тригонометрическая вне");
    EXPECT_EQ(MessageOf(EvalStatus::NoValue), "");
}

TEST(Evaluation, ValueThrowsWithTheMessage) {
    Translator t;
    t.Translate("1/x");
    EXPECT_EQ(t.Value(4, 0), 0.25L);
    try {
        t.Value(0, 0);
        FAIL() << "1/0 has a value";
    } catch (const EvalError& e) {
        EXPECT_STREQ(e.what(), "/0");
        EXPECT_EQ(e.Status(), EvalStatus::DivisionByZero);
    }
    t.Translate("ln(x)");
    EXPECT_THROW(t.Value(-1, 0), EvalError);
}

TEST(Evaluation, PowersAndRoots) {
    EXPECT_EQ(Evaluate("0^2").value, 0);
    EXPECT_NEAR(static_cast<double>(Evaluate("(-8)^(1/3)").value), -2, 1e-18);
    EXPECT_NEAR(static_cast<double>(Evaluate("rtt<3>(-8)").value), -2, 1e-18);
    EXPECT_EQ(Evaluate("(-2)^3").value, -8);
    EXPECT_EQ(Evaluate("(-2)^2").value, 4);
    EXPECT_EQ(Evaluate("x^0", 5).value, 1);
    EXPECT_EQ(Evaluate("pw0(x)", 0).value, 1);
    EXPECT_EQ(Evaluate("rt2(x)", 0).value, 0);
    // The square root is exact in extended precision.
    EXPECT_EQ(Evaluate("rt2(x)", 2).value, std::sqrt(2.0L));
}

TEST(Evaluation, Rounding) {
    struct R {
        const char* formula;
        int digits;
        long double expected;
    };
    const std::vector<R> cases = {
        {"2/3", 2, 0.67L},   {"-2/3", 2, -0.67L},  {"2.7", 0, 3},       {"-2.7", 0, -3},
        {"2.5", 0, 3},       {"-2.5", 0, -3},      {"1e12/3", 2, 333333333333.33L},
        {"2/3", -1, 2.0L / 3}, {"2/3", 10, 2.0L / 3}, {"2/3", 9, 0.666666667L}, {"1/8", 2, 0.13L},
        {"5e9", 0, 5e9L},    {"-5e9-0.4", 0, -5e9L},
    };
    for (const auto& c : cases) {
        const Outcome o = Evaluate(c.formula, 1, 0, c.digits);
        ASSERT_EQ(o.status, EvalStatus::Ok) << c.formula;
        EXPECT_EQ(o.value, c.expected) << c.formula << " rounded to " << c.digits;
    }
    // Far beyond the digits rounding could change, a value stays what it was to the last bit or so.
    const Outcome huge = Evaluate("1e30/7", 1, 0, 3);
    EXPECT_LT(std::fabs(huge.value / (1e30L / 7) - 1), 1e-18L);
    EXPECT_TRUE(std::isinf(RoundToDigits(std::numeric_limits<long double>::infinity(), 2)));
    EXPECT_EQ(RoundToDigits(1e4900L, 9), 1e4900L);
}

TEST(Evaluation, CalculatorPoint) {
    EXPECT_EQ(Evaluate("x+1", 1, 0).value, 2);
    EXPECT_EQ(Evaluate("-0").value, 0);
    EXPECT_FALSE(std::signbit(Evaluate("-0").value));
    EXPECT_FALSE(std::signbit(Evaluate("x*0", -1).value));
}

// Sharing, folding and fused sine/cosine must not change a single bit.
TEST(Evaluation, FlatFormAgreesWithTheTree) {
    const char* formulas[] = {
        "cos(x^2-3)", "abs(x+2)/(x+2)-x", "sin(x)+cos(x)*tg(x)/2", "lg(2*x)/lg(x)", "x^3-2*x^2+x-1",
        "cos(rt2(x*x+y*y))", "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)",
        "sec(x)*csc(x)-ctg(x)", "x^x", "(x-1)^(1/3)", "pw3(x)-pw2.5(x)", "rt5(x)*rt3(x)", "arcctg(x)+arctg(x)",
        "sgn(x)*abs(x)^0.5", "exp(-x*x)", "2^x^2", "1/(x*x-4)", "log<x>(2*x)", "|x-|y|+1|", "sin(pi/3*x)",
        "x*0", "0*x/x", "(1/0)*x", "sin(x)^2+cos(x)^2", "tg(x)*ctg(x)", "-(-(-x))", "x-(-x)", "-x+x",
        // Double-precision functions driven out of double's range, both ways.
        "exp(x*300)", "lg(x*1e400)", "ln(x/1e400)", "sqrt(abs(x)*1e-400)", "pw2(x*1e200)", "pw-3(x*1e-110)",
        "arcctg(x*1e400)", "tg(x*1e400)+ctg(x*1e400)", "arctg(x*1e-320)", "arcsin(x*1e-400)", "exp(x)*lg(x)",
    };
    for (bool degrees : {false, true}) {
        for (const char* f : formulas) {
            for (long double x = -6; x <= 6; x += 0.37L) Evaluate(f, x, 0.5L, kNoRounding, degrees);
            for (long double x : {0.0L, -0.0L, 1.0L, -1.0L, 2.0L, -2.0L, 90.0L, 1e300L, 1e-310L, 1e400L, -1e-400L})
                Evaluate(f, x, -x, kNoRounding, degrees);
        }
    }
}

TEST(Evaluation, TranslationRestartsEverything) {
    Translator t;
    t.SetRounding(2);
    t.Translate("tg(x)");
    EXPECT_TRUE(t.Specials().Periodic());
    t.Translate("x+1");
    EXPECT_FALSE(t.Specials().Periodic());
    EXPECT_EQ(t.Value(1, 0), 2);
    t.Translate("");
    EXPECT_EQ(t.Value(1, 0), 0);
    EXPECT_TRUE(t.Root().units.empty());
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

// Where the machine allows it the fast path is native code; long formulas, deep stacks and
// many failure exits must come out the same as the interpreter's.
TEST(Evaluation, NativeCodeMatchesOnLongFormulas) {
    std::string sum = "x";
    std::string nested = "x";
    for (int i = 1; i < 60; ++i) {
        sum += (i % 3 ? "-" : "+") + std::to_string(i) + "/(x-" + std::to_string(i % 7) + ")*x^" + std::to_string(i % 4);
        nested = "(" + nested + "*x-" + std::to_string(i) + ")/(" + std::to_string(i) + "+abs(x))";
    }
    for (const std::string& f : {sum, nested, std::string("((((((((x+1)*x+2)*x+3)*x+4)*x+5)*x+6)*x+7)*x+8)"),
                                  std::string("x/(x/(x/(x/(x/(x/(x/(x-3)))))))"), std::string("-x*-x/-x")}) {
        for (long double x = -7; x <= 7; x += 0.5L) Evaluate(f, x, 0);
    }
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

// The divide check near its limit: exactly 1e-14 divides, anything smaller fails, on every path.
TEST(Evaluation, DivisionAtTheLimit) {
    const long double limit = 1e-14L;
    EXPECT_EQ(Evaluate("1/x", limit).status, EvalStatus::Ok);
    EXPECT_EQ(Evaluate("1/x", -limit).status, EvalStatus::Ok);
    EXPECT_EQ(Evaluate("1/x", std::nextafter(limit, 0.0L)).status, EvalStatus::DivisionByZero);
    EXPECT_EQ(Evaluate("1/x", -std::nextafter(limit, 0.0L)).status, EvalStatus::DivisionByZero);
    const long double above = static_cast<long double>(std::nextafter(static_cast<double>(limit), 1.0));
    for (long double x = std::nextafter(limit, 1.0L); x < above; x = std::nextafter(x, 1.0L) + (above - limit) / 7)
        EXPECT_EQ(Evaluate("1/x", x).status, EvalStatus::Ok);
    EXPECT_EQ(Evaluate("(x+1)/(x-x)", 3).status, EvalStatus::DivisionByZero);
    EXPECT_EQ(Evaluate("1/(x*0+1e4000*1e4000-1e4000*1e4000)", 1).status, EvalStatus::DivisionByZero);  // NaN
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

long double Relative(long double a, long double b) { return std::fabs(a - b) / std::fabs(b); }

// Functions of double precision keep it where the argument and the result are normal doubles
// and take long double where double's range would lose the value.
TEST(Evaluation, DoublePrecisionOutsideDoublesRange) {
    struct Case {
        const char* formula;
        long double expected;
    };
    const Case cases[] = {
        {"lg(1e400)", 400},
        {"sqrt(1e400)", 1e200L},
        {"sqrt(1e-400)", 1e-200L},
        {"sqrt(1e-400)*1e200", 1},
        {"exp(1000)", 1.97007111401704699388887935224332313e434L},
        {"exp(-1000)", 5.07595889754945676529180947957432e-435L},
        {"pw2(1e200)", 1e400L},
        {"pw0.5(1e-400)", 1e-200L},
        {"ln(1e-400)", -921.034037197618273607196581873745683L},
        {"arctg(1e-400)", 1e-400L},
        {"arcctg(1e400)", 1e-400L},
        {"arcsin(1e-4000)", 1e-4000L},
    };
    for (const Case& c : cases) {
        const Outcome o = Evaluate(c.formula);
        ASSERT_EQ(o.status, EvalStatus::Ok) << c.formula;
        EXPECT_LT(Relative(o.value, c.expected), 1e-18L) << c.formula << " = " << static_cast<double>(o.value);
    }
    // The language's division limit still holds: a divisor of 1e-200 is negligible.
    EXPECT_EQ(Evaluate("1/sqrt(1e-400)").status, EvalStatus::DivisionByZero);
    EXPECT_EQ(Evaluate("ln(-1e-400)").status, EvalStatus::NoValue);
    EXPECT_EQ(Evaluate("sqrt(-1e-400)").status, EvalStatus::NoValue);
}

// Where double suffices nothing changes: the value is the double library function's, bit for
// bit, up to the edges of double's range.
TEST(Evaluation, DoublePrecisionInsideDoublesRangeIsUnchanged) {
    using D = double (*)(double);
    struct Case {
        const char* formula;
        D reference;
        std::vector<long double> xs;
    };
    const Case cases[] = {
        {"exp(x)", static_cast<D>(std::exp), {-708, -1, 0, 0.3L, 1, 709.7L}},
        {"lg(x)", static_cast<D>(std::log10), {2.3e-308L, 0.5L, 1, 7, 1.7e308L}},
        {"ln(x)", static_cast<D>(std::log), {2.3e-308L, 0.5L, 1, 7, 1.7e308L}},
        {"sqrt(x)", static_cast<D>(std::sqrt), {0, 2.3e-308L, 2, 1.7e308L}},
        {"arctg(x)", static_cast<D>(std::atan), {-1e300L, -1, 0, 0.7L, 2.3e-308L}},
        {"arcsin(x)", static_cast<D>(std::asin), {-1, 0, 0.25L, 1}},
        {"arccos(x)", static_cast<D>(std::acos), {-1, 0, 0.25L, 1}},
        {"tg(x)", static_cast<D>(std::tan), {-1e300L, 0.5L, 1e300L}},
    };
    for (const Case& c : cases) {
        for (long double x : c.xs) {
            const Outcome o = Evaluate(c.formula, x);
            ASSERT_EQ(o.status, EvalStatus::Ok) << c.formula;
            EXPECT_TRUE(SameBits(o.value, c.reference(static_cast<double>(x)) + 0.0L))
                << c.formula << " at " << static_cast<double>(x);
        }
    }
    // Past the edges the value is the long double one, no longer the double one.
    EXPECT_FALSE(SameBits(Evaluate("exp(x)", 709.8L).value, std::exp(709.8)));  // overflows double
    EXPECT_FALSE(SameBits(Evaluate("exp(x)", -740).value, std::exp(-740.0)));     // subnormal in double
    EXPECT_EQ(Evaluate("pw3(x)", 2).value, 8);
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

// A translator made like another, for another thread: the same values and statuses bit for
// bit, whatever modes, rounding and macros the first had.
TEST(TranslateLike, CopiesFormulaModesRoundingAndMacros) {
    struct Case {
        const char* text;
        bool degrees, exact;
        int rounding;
    };
    const Case cases[] = {{"sin(x)+log<3>(x)", false, false, kNoRounding},
                          {"tg(x)*cos(2*x)", true, false, kNoRounding},
                          {"lg(x)/x+pi", false, true, 4},
                          {"plus<x>(1)-|x|", true, true, kNoRounding}};
    for (const Case& c : cases) {
        Translator original;
        original.UseNativeCode(c.degrees);  // the choice of native code is copied too
        original.MacroFilter().DefineMacro("plus", "(%1+%2)");
        original.SetDegrees(c.degrees);
        original.SetExactFunctions(c.exact);
        original.SetRounding(c.rounding);
        original.Translate(c.text);
        Translator copy;
        copy.TranslateLike(original);
        EXPECT_EQ(copy.Degrees(), c.degrees);
        EXPECT_EQ(copy.ExactFunctions(), c.exact);
        EXPECT_EQ(copy.Rounding(), c.rounding);
        EXPECT_EQ(copy.CompiledText(), original.CompiledText()) << c.text;
        EXPECT_EQ(copy.IsNative(), original.IsNative());
        // The macros come along for the copy's next formula.
        Translator again;
        again.TranslateLike(original);
        again.Translate("plus<2>(3)");
        EXPECT_EQ(again.CompiledText(), "(3+2)");
        for (long double x = -7; x <= 7; x += 0.37L) {
            long double a = 0, b = 0;
            const EvalStatus sa = original.TryValue(x, 0, a);
            ASSERT_EQ(copy.TryValue(x, 0, b), sa) << c.text << " at " << static_cast<double>(x);
            if (sa == EvalStatus::Ok) {
                EXPECT_TRUE(SameBits(a, b)) << c.text << " at " << static_cast<double>(x);
            }
        }
    }
}

}  // namespace
}  // namespace kq::test
