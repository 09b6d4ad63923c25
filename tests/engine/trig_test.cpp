// The engine's own sine and cosine against mpmath's: within one ulp of the true value on a
// table of over 100,000 arguments of every size (next to multiples of pi/2, up to 1e4932,
// whole degrees in degrees mode), the same bits on every evaluation path, and pole tests that
// decide as the values themselves would.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "engine/math_functions.h"
#include "engine/trig.h"
#include "eval_helpers.h"
#include "ulp_reference.h"

namespace kq::test {
namespace {

struct Row {
    bool degrees;
    long double x;
    TrueValue sine, cosine;
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = [] {
        std::vector<Row> read;
        for (const auto& f : ReadTable(KQ_TRIG_REFERENCE)) {
            if (f.size() != 6) continue;
            read.push_back({f[0] == "d", FromHex80(f[1]), {FromHex80(f[2]), FromHex80(f[3])},
                            {FromHex80(f[4]), FromHex80(f[5])}});
        }
        return read;
    }();
    return rows;
}

std::vector<long double> Arguments(bool degrees) {
    std::vector<long double> xs;
    for (const Row& r : Rows())
        if (r.degrees == degrees) xs.push_back(r.x);
    return xs;
}

// The largest error of `f` on the rows of one kind, and where it is.
struct Worst {
    double ulps = 0;
    long double at = 0;
    void See(double u, long double x) {
        if (!(u <= ulps)) ulps = u, at = x;
    }
};

TEST(OwnTrig, ReferenceTableIsComplete) {
    EXPECT_GE(Rows().size(), 100000u) << "reference table " << KQ_TRIG_REFERENCE;
    EXPECT_GE(Arguments(true).size(), 10000u);
}

TEST(OwnTrig, WithinOneUlpInRadians) {
    Worst sine, cosine;
    for (const Row& r : Rows()) {
        if (r.degrees) continue;
        const long double s = Sine(r.x), c = Cosine(r.x);
        sine.See(UlpsFrom(s, r.sine), r.x);
        cosine.See(UlpsFrom(c, r.cosine), r.x);
        long double both[2] = {0, 0};
        SineCosine(r.x, &both[0], &both[1]);
        ASSERT_TRUE(SameBits(both[0], s) && SameBits(both[1], c)) << "the pair differs at " << ToHex80(r.x);
    }
    EXPECT_LE(sine.ulps, 1.0) << "sin at " << ToHex80(sine.at);
    EXPECT_LE(cosine.ulps, 1.0) << "cos at " << ToHex80(cosine.at);
}

// In degrees mode the sine and cosine are those of the angle itself, within one ulp, on every
// path: whole quarter turns are taken off exactly, so that their zeros are zeros.
TEST(OwnTrig, WithinOneUlpOfTheAngleInDegrees) {
    const std::vector<long double> xs = Arguments(true);
    for (const char* formula : {"sin(x)", "cos(x)"}) {
        Translator t;
        t.SetDegrees(true);
        t.Translate(formula);
        std::vector<long double> values(xs.size());
        std::vector<EvalStatus> statuses(xs.size());
        t.TryValues(xs, 0, values, statuses);
        Worst worst;
        std::size_t k = 0;
        for (const Row& r : Rows()) {
            if (!r.degrees) continue;
            ASSERT_EQ(statuses[k], EvalStatus::Ok);
            worst.See(UlpsFrom(values[k], formula[0] == 's' ? r.sine : r.cosine), r.x);
            ++k;
        }
        EXPECT_LE(worst.ulps, 1.0) << formula << " in degrees at " << ToHex80(worst.at);
        CheckColumn(t, xs, {}, 0, std::string(formula) + " in degrees");
    }
}

// The tree, the interpreter, a point's native code and a column's give the function's own
// bits; sin and cos of one argument come out of one fused call with the same bits.
TEST(OwnTrig, EveryPathGivesTheFunctionsBits) {
    const std::vector<long double> xs = Arguments(false);
    for (const char* formula : {"sin(x)", "cos(x)", "sin(x)+cos(x)", "sec(x)", "csc(x)*sin(x)"}) {
        Translator t;
        t.Translate(formula);
        CheckColumn(t, xs, {}, 0, formula);
    }
    Translator sine, both;
    sine.Translate("sin(x)");
    both.Translate("sin(x)-cos(x)");
    for (long double x : xs) {
        long double s = 0, d = 0;
        ASSERT_EQ(sine.TryValue(x, 0, s), EvalStatus::Ok);
        ASSERT_EQ(both.TryValue(x, 0, d), EvalStatus::Ok);
        ASSERT_TRUE(SameBits(s, Sine(x) + 0.0L)) << ToHex80(x);
        ASSERT_TRUE(SameBits(d, (Sine(x) - Cosine(x)) + 0.0L)) << ToHex80(x);
    }
}

// The pole tests of tg and ctg look at the value only next to a pole; they must decide exactly
// as the value would, also at the edge where |cos| crosses the limit.
TEST(OwnTrig, PoleTestsDecideAsTheValuesWould) {
    std::vector<long double> xs = Arguments(false);
    constexpr long double kHalfPi = 1.57079632679489661923132169163975144L;
    for (int k = -64; k <= 64; ++k) {
        const long double pole = k * kHalfPi;
        for (long double d : {0.0L, 1e-14L, 1e-14L * (1 + 0x1p-40L), 1e-14L * (1 - 0x1p-40L), 2e-14L, 1e-13L,
                              0x1p-23L, 0x1p-22L, 0x1p-21L}) {
            for (long double x : {pole + d, pole - d}) {
                long double y = x;
                for (int step = 0; step < 4; ++step) {
                    xs.push_back(y);
                    y = std::nextafter(y, INFINITY);
                }
            }
        }
    }
    xs.push_back(std::numeric_limits<long double>::quiet_NaN());
    xs.push_back(INFINITY);
    xs.push_back(0x1p-40L);
    xs.push_back(-0x1p-50L);
    int cosinePoles = 0, sinePoles = 0;
    for (long double x : xs) {
        const bool cosine = std::fabs(Cosine(x)) <= kNegligible, sine = std::fabs(Sine(x)) <= kNegligible;
        ASSERT_EQ(CosineAtMost(x, kNegligible), cosine) << ToHex80(x);
        ASSERT_EQ(SineAtMost(x, kNegligible), sine) << ToHex80(x);
        cosinePoles += cosine;
        sinePoles += sine;
    }
    // The table reaches both sides of the limit, for both functions.
    EXPECT_GT(cosinePoles, 100);
    EXPECT_GT(sinePoles, 100);
}

TEST(OwnTrig, SpecialArguments) {
    EXPECT_TRUE(std::isnan(Sine(INFINITY)));
    EXPECT_TRUE(std::isnan(Cosine(-INFINITY)));
    EXPECT_TRUE(std::isnan(Sine(std::numeric_limits<long double>::quiet_NaN())));
    EXPECT_TRUE(SameBits(Sine(-0.0L), -0.0L));
    EXPECT_TRUE(SameBits(Sine(0.0L), 0.0L));
    EXPECT_EQ(Cosine(0.0L), 1);
    EXPECT_EQ(Sine(0x1p-16445L), 0x1p-16445L);  // the smallest subnormal
    EXPECT_EQ(Cosine(0x1p-40L), 1);
    long double s = 0, c = 0;
    SineCosine(-0.0L, &s, &c);
    EXPECT_TRUE(SameBits(s, -0.0L));
    EXPECT_EQ(c, 1);
}

// Whole quarter turns in degrees leave nothing of the angle: the zeros, ones and halves of
// sin, cos, tg and ctg come out exact on every path, with the double and the long double
// tangent alike, and the poles fail.
TEST(OwnTrig, WholeQuarterTurnsInDegreesAreExact) {
    struct Case {
        const char* formula;
        long double x, value;
    };
    std::vector<Case> cases = {{"sin(x)", 30, 0.5L},   {"sin(x)", 150, 0.5L},  {"sin(x)", -30, -0.5L},
                               {"cos(x)", 60, 0.5L},   {"cos(x)", 300, 0.5L},  {"tg(x)", 45, 1},
                               {"tg(x)", -45, -1},     {"tg(x)", 135, -1},     {"tg(x)", 225, 1},
                               {"ctg(x)", 45, 1},      {"ctg(x)", 135, -1},    {"tg(x)", 180, 0},
                               {"ctg(x)", 90, 0},      {"sec(x)", 60, 2},      {"csc(x)", 30, 2},
                               {"sin(x)", 0x1p80L * 180, 0}, {"cos(x)", 1e6L * 360 + 90, 0}};
    for (int k = -8; k <= 8; ++k) {
        const long double turn = 360.0L * k;
        cases.insert(cases.end(), {{"sin(x)", 180.0L * k, 0}, {"cos(x)", 90 + 180.0L * k, 0},
                                   {"sin(x)", turn + 90, 1}, {"sin(x)", turn - 90, -1},
                                   {"cos(x)", turn, 1}, {"cos(x)", turn + 180, -1}});
    }
    for (bool exact : {false, true}) {
        for (const Case& c : cases) {
            Translator t;
            t.SetDegrees(true);
            t.SetExactFunctions(exact);
            t.Translate(c.formula);
            long double v = -7;
            ASSERT_EQ(t.TryValue(c.x, 0, v), EvalStatus::Ok) << c.formula << " at " << static_cast<double>(c.x);
            EXPECT_TRUE(SameBits(v, c.value)) << c.formula << " at " << static_cast<double>(c.x) << " is "
                                               << ToHex80(v) << (exact ? " (exact)" : "");
            const long double inf = std::numeric_limits<long double>::infinity();
            CheckColumn(t, {c.x, std::nextafter(c.x, inf), std::nextafter(c.x, -inf)}, {}, 0,
                        std::string(c.formula) + " in degrees");
        }
        for (const char* pole : {"tg(x)", "ctg(x)", "sec(x)", "csc(x)"}) {
            Translator t;
            t.SetDegrees(true);
            t.SetExactFunctions(exact);
            t.Translate(pole);
            const long double at = pole[0] == 't' || pole[1] == 'e' ? 90 : 180;
            long double v = 0;
            EXPECT_NE(t.TryValue(at, 0, v), EvalStatus::Ok) << pole << " at " << static_cast<double>(at);
            EXPECT_NE(t.TryValue(at + 720, 0, v), EvalStatus::Ok) << pole;
        }
    }
    // The slope of sin at 90 degrees is 0 too, and its bend -(pi/180)^2 exactly as the rule says.
    Translator t;
    t.SetDegrees(true);
    t.Translate("sin(x)");
    Slopes s;
    ASSERT_EQ(t.TrySlopes(90, 0, s), EvalStatus::Ok);
    EXPECT_EQ(s.dx, 0);
    EXPECT_EQ(s.dxx, -(kRadiansPerDegree * kRadiansPerDegree));
}

}  // namespace
}  // namespace kq::test
