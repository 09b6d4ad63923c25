// tg and ctg: the pole test reuses a cosine (sine) the formula computes anyway and otherwise
// costs no cosine at all; every path fails at the same poles and gives the same bits, next
// to the poles, beyond the quick test's range and where the double tangent will not do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/math_functions.h"
#include "engine/trig.h"
#include "eval_helpers.h"

namespace kq::test {
namespace {

using Op = Program::Op;

int Count(const Translator& t, Op op) {
    const auto& code = t.Compiled().Code();
    return static_cast<int>(std::count_if(code.begin(), code.end(), [op](const Program::Instr& i) { return i.op == op; }));
}

// Arguments around the poles of both functions in radians and degrees, and where the quick
// pole test and the double tangent stop serving.
std::vector<long double> PoleArguments() {
    std::vector<long double> xs;
    constexpr long double kHalfPi = 1.57079632679489661923132169163975144L;
    for (int k = -12; k <= 12; ++k) {
        for (long double pole : {k * kHalfPi, k * 90.0L}) {
            for (long double d : {0.0L, 1e-14L, 1.00001e-14L, 0.99999e-14L, 3e-14L, 0x1p-23L, 0x1p-22L, 0x1p-21L, 0.1L}) {
                for (long double x : {pole + d, pole - d}) {
                    long double y = x;
                    for (int step = 0; step < 3; ++step) {
                        xs.push_back(y);
                        y = std::nextafter(y, INFINITY);
                    }
                }
            }
        }
    }
    for (long double x = -10; x <= 10; x += 0.173L) xs.push_back(x);
    for (long double x : {0x1p20L, std::nextafter(0x1p20L, 0.0L), -0x1p20L, 1e6L, 3e7L, 1e19L, 1e300L, 1e400L, -1e4000L,
                          1e-310L, -1e-4940L, 0.0L, -0.0L, 1e-15L})
        xs.push_back(x);
    xs.push_back(std::numeric_limits<long double>::quiet_NaN());
    xs.push_back(INFINITY);
    return xs;
}

const char* const kTangentFormulas[] = {
    "tg(x)",        "ctg(x)",           "cos(x)*tg(x)",         "sin(x)+ctg(x)",
    "tg(x/7)*lg(x*x+2)", "ctg(2*x)-tg(x)", "tg(x)*tg(x)+ctg(x)/3", "sin(x)*cos(x)+tg(x)",
};

TEST(Tangent, AllPathsAgreeAroundThePoles) {
    const std::vector<long double> xs = PoleArguments();
    for (bool degrees : {false, true}) {
        for (const char* f : kTangentFormulas) {
            Translator t;
            t.SetDegrees(degrees);
            t.Translate(f);
            CheckColumn(t, xs, {}, 0, std::string(f) + (degrees ? " in degrees" : ""));
        }
    }
}

TEST(Tangent, FailsExactlyWhereItsCosineIsNegligible) {
    Translator tg, ctg;
    tg.Translate("tg(x)");
    ctg.Translate("ctg(x)");
    int poles = 0;
    for (long double x : PoleArguments()) {
        long double v = 0;
        const bool tgPole = std::fabs(Cosine(x)) <= kNegligible, ctgPole = std::fabs(Sine(x)) <= kNegligible;
        EXPECT_EQ(tg.TryValue(x, 0, v) == EvalStatus::FunctionPole, tgPole) << static_cast<double>(x);
        EXPECT_EQ(ctg.TryValue(x, 0, v) == EvalStatus::FunctionPole, ctgPole) << static_cast<double>(x);
        poles += tgPole + ctgPole;
    }
    EXPECT_GT(poles, 50);
}

// The cosine of a pole test is computed only where something else reads it; sharing it with
// a sine of the same argument makes one fused call.
TEST(Tangent, PoleTestReusesOrSkipsTheCosine) {
    struct Case {
        const char* formula;
        int cosines, sinCos, tgWithCosine, tgAlone;
    };
    const Case cases[] = {
        {"tg(x)", 0, 0, 0, 1},
        {"tg(x/7)*lg(x*x+2)", 0, 0, 0, 1},
        {"cos(x)*tg(x)", 1, 0, 1, 0},
        {"sin(x)+cos(x)*tg(x)/2", 0, 1, 1, 0},
        {"sin(x)+tg(x)", 0, 0, 0, 1},
        {"tg(x)+tg(x)", 0, 0, 0, 1},
        {"sec(x)+tg(x)", 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        Translator t;
        t.Translate(c.formula);
        EXPECT_EQ(Count(t, Op::Cos), c.cosines) << c.formula;
        EXPECT_EQ(Count(t, Op::SinCos), c.sinCos) << c.formula;
        EXPECT_EQ(Count(t, Op::Tg), c.tgWithCosine) << c.formula;
        EXPECT_EQ(Count(t, Op::TgAlone), c.tgAlone) << c.formula;
    }
    Translator ctg;
    ctg.Translate("ctg(x)+cos(x)");
    EXPECT_EQ(Count(ctg, Op::CtgAlone), 1);
    EXPECT_EQ(Count(ctg, Op::Sin), 0);
    ctg.Translate("ctg(x)*sin(x)");
    EXPECT_EQ(Count(ctg, Op::Ctg), 1);
}

TEST(Tangent, ValuesAreTheDoubleTangents) {
    Translator tg, ctg;
    tg.Translate("tg(x)");
    ctg.Translate("ctg(x)");
    for (long double x = -10; x <= 10; x += 0.0371L) {
        long double a = 0, b = 0;
        ASSERT_EQ(tg.TryValue(x, 0, a), EvalStatus::Ok);
        ASSERT_EQ(ctg.TryValue(x, 0, b), EvalStatus::Ok);
        EXPECT_TRUE(SameBits(a, static_cast<long double>(std::tan(static_cast<double>(x))) + 0.0L));
        EXPECT_TRUE(SameBits(b, 1.0L / static_cast<long double>(std::tan(static_cast<double>(x))) + 0.0L));
    }
}

// The functions native code calls in double precision check only their argument where the
// double result is sure to be normal; where it is not (1 for the logarithms and arccos, beyond
// 708 for exp) they must still fall back on long double as the interpreter does.
TEST(DirectCalls, FallBackWhereTheDoubleResultWouldNotDo) {
    std::vector<long double> xs = {1.0L, 1 + 0x1p-60L, 1 - 0x1p-60L, 1 + 0x1p-52L, 1 - 0x1p-53L, 0.5L, -1.0L, -0.5L,
                                   707.9L, 708.0L, 708.5L, 709.8L, 711.0L, -708.0L, -708.5L, -745.2L, -746.0L,
                                   0x1p-1022L, 0x1p-1023L, 1e-310L, 1e400L, 0x1p1024L, 0.0L, -0.0L, 2.0L, 10.0L,
                                   std::numeric_limits<long double>::quiet_NaN(), INFINITY, -INFINITY};
    for (const char* f : {"ln(x)", "lg(x)", "arccos(x)", "arcsin(x)", "arctg(x)", "exp(x)", "sqrt(x)", "ln(x)*exp(x)"}) {
        Translator t;
        t.Translate(f);
        CheckColumn(t, xs, {}, 0, f);
    }
    // Next to 1 the double logarithm is 0 and the long double one is not.
    Translator ln;
    ln.Translate("ln(x)");
    long double v = 0;
    ASSERT_EQ(ln.TryValue(1 + 0x1p-60L, 0, v), EvalStatus::Ok);
    EXPECT_TRUE(SameBits(v, logl(1 + 0x1p-60L)));
    EXPECT_NE(v, 0);
}

}  // namespace
}  // namespace kq::test
