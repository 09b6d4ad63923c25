// Which path evaluates a formula: native code wherever the machine allows it, the interpreter
// when it is forced; and native code does not pile up in memory as formulas are replaced.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "eval_helpers.h"
#include "process_maps.h"

namespace kq::test {
namespace {

TEST(NativePath, RunsUnlessTheInterpreterIsForced) {
    Translator t;
    t.Translate("sin(x)/x+lg(x)");
    EXPECT_EQ(t.IsNative(), kNativeExpected);
    long double native = 0, interpreted = 0;
    ASSERT_EQ(t.TryValue(0.7L, 0, native), EvalStatus::Ok);
    t.UseNativeCode(false);
    EXPECT_FALSE(t.IsNative());
    ASSERT_EQ(t.TryValue(0.7L, 0, interpreted), EvalStatus::Ok);
    EXPECT_TRUE(SameBits(native, interpreted));
    // The choice outlives translations and mode changes until it is undone.
    t.Translate("cos(x)");
    t.SetDegrees(true);
    EXPECT_FALSE(t.IsNative());
    t.UseNativeCode(true);
    EXPECT_EQ(t.IsNative(), kNativeExpected);
    t.SetDegrees(false);
    EXPECT_EQ(t.IsNative(), kNativeExpected);
}

// Every translation replaces the formula's code; the old code's memory must serve again or
// go, so mappings and executable memory stay flat however many formulas come and go.
TEST(NativePath, ReplacedCodeIsReleased) {
    Translator a, b;
    a.Translate("x");
    b.Translate("y");
    const int before = CodeMappingCount();
    const std::uintptr_t code = ExecutableBytes();
    for (int i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        a.Translate("sin(x)+" + n + "/x");
        b.Translate("lg(x)*" + n);
        if (i % 1000 == 0) b.SetDegrees(!b.Degrees());
    }
    EXPECT_EQ(a.IsNative(), kNativeExpected);
    EXPECT_LE(CodeMappingCount(), before + 2);
    EXPECT_LE(ExecutableBytes(), code + (1u << 20));
}

// Native code reads a point's x where the caller has it, not from the register file: a value
// left in x's slot by the interpreter (or the slopes, or a column) never leaks into the next
// point. Formulas that read x once, often, after calls, through the interpreter's code for one
// instruction, and not at all.
TEST(NativePath, APointsXIsTheOneAskedFor) {
    const char* const formulas[] = {"x",          "x*x-3*x+1",         "lg(x)+x",   "sin(x)*x+cos(x)/x",
                                    "tg(x)*x",    "x^3-2*x^2+tg(x/7)*lg(x*x+2)", "rt3(x)+x", "pw2(x)+sh(x)*x",
                                    "abs(x)+sgn(x)", "2+y*3"};
    for (const char* formula : formulas) {
        Translator t;
        t.Translate(formula);
        for (const long double x : {0.7L, -2.5L, 3.25L}) {
            long double expected = 0, got = 0;
            t.UseNativeCode(false);
            const EvalStatus want = t.TryValue(x, 0.5L, expected);
            t.UseNativeCode(true);
            // Something else in x's slot: another point through the interpreter's instruction
            // steps, the way the slopes and a failing column point leave it.
            long double other = 0;
            Slopes slopes;
            (void)t.TrySlopes(x + 10, 0.5L, slopes);
            (void)const_cast<Program&>(t.Compiled()).Interpret(x + 10, 0.5L, other);
            ASSERT_EQ(t.TryValue(x, 0.5L, got), want) << formula << " at " << static_cast<double>(x);
            if (want == EvalStatus::Ok) {
                EXPECT_TRUE(SameBits(got, expected)) << formula << " at " << static_cast<double>(x);
            }
        }
    }
}

// A double function's value that waits in memory across another call, as a 64-bit double:
// wherever the function's double cannot be used (an argument outside its domain or beyond
// double's range, 1 for the logarithms, NaN) the interpreter's code computes it, and where
// that value is no double the whole point is the interpreter's. Every path agrees on every
// status and bit, one point at a time and in a column.
TEST(NativePath, AValueHeldAsADoubleIsTheInterpretersOwn) {
    const char* const formulas[] = {"lg(2*x)/lg(x)", "tg(x/7)*lg(x*x+2)", "ln(x)*sqrt(x)+ln(x)",
                                    "sqrt(x)-ln(x)*2", "3-tg(x)*ln(x)", "exp(x)/arctg(x)+exp(x)"};
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const std::vector<long double> xs = {0.7L, 1, 0.5L, 1 + 0x1p-60L, 1 - 0x1p-62L, 2 + 0x1p-58L, 1e-400L,
                                         1e-4940L, 1e4000L, -1, 0, -0.0L, -1e-400L, nan, 710, -745.5L, 1e300L};
    for (const char* formula : formulas) {
        Translator t;
        t.Translate(formula);
        EXPECT_EQ(t.IsNative(), kNativeExpected) << formula;
        CheckColumn(t, xs, {}, 0, formula);
    }
}

// A divisor computed in double is tested against the division limit on its bits: about the
// limit itself (lg, ln and exp of these arguments are 1e-14 give or take a few ULP), at 0, at
// an infinity and NaN the division fails or not exactly as the interpreter's does.
TEST(NativePath, ADivisorHeldAsADoubleMeetsTheLimitAsTheInterpretersDoes) {
    const char* const formulas[] = {"1/lg(x)", "x/ln(x)+1", "2/exp(x)", "lg(x)/(1/lg(x))", "-3/arctg(x)"};
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    std::vector<long double> xs = {1, 0.5L, 2, 0, -1, nan, inf, -inf, 1e-14L, -1e-14L, 1e300L, -750, 800};
    for (long double centre : {1 + 2.302585092994046e-14L, 1 + 1e-14L, -32.23619130191664L, 9.999999999999999e-15L})
        for (int k = -40; k <= 40; ++k) xs.push_back(centre + k * 0x1p-52L * std::fabs(centre));
    for (const char* formula : formulas) {
        Translator t;
        t.Translate(formula);
        EXPECT_EQ(t.IsNative(), kNativeExpected) << formula;
        CheckColumn(t, xs, {}, 0, formula);
    }
}

}  // namespace
}  // namespace kq::test
