// Results in number bases: the examples, the edge cases and round trips through the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "calc/base_format.h"
#include "calc/calc_engine.h"

namespace kq {
namespace {

std::string F(long double v, int base) { return FormatInBase(v, base).value_or("<none>"); }

TEST(BaseFormat, Examples) {
    const std::vector<std::tuple<long double, int, std::string>> cases = {
        {255, 16, "FFh"},
        {-5, 2, "-101b"},
        {0.5L, 2, "0.1b"},
        {10, 5, "20s5"},
        {0, 16, "0h"},
        {0, 10, "0"},
        {0, 7, "0s7"},
        {-0.25L, 10, "-0.25"},
        {-0.5L, 2, "-0.1b"},
        {1.0L / 3, 10, "0.333333333333333"},
        {2.0L / 3, 10, "0.666666666666667"},
        {static_cast<long double>(3.141592653589793), 10, "3.141592653589793"},
        {0.1L, 10, "0.1"},
        {123.456L, 10, "123.456"},
        {2147483648.0L, 10, "2147483648"},
        {4294967296.0L * 4294967296.0L, 16, "10000000000000000h"},
        {-1e20L, 10, "-100000000000000000000"},
        {35, 36, "Zs36"},
        {0.9999999999999999L, 10, "1"},
        {-1e-20L, 10, "0"},
        {1.5L, 3, "1.1111111111111111111111111111112s3"},
    };
    for (const auto& [v, b, text] : cases) EXPECT_EQ(F(v, b), text) << static_cast<double>(v) << " base " << b;
}

TEST(BaseFormat, RefusesWhatItCannotWrite) {
    EXPECT_FALSE(FormatInBase(INFINITY, 10));
    EXPECT_FALSE(FormatInBase(-INFINITY, 2));
    EXPECT_FALSE(FormatInBase(NAN, 16));
    EXPECT_FALSE(FormatInBase(5, 1));
    EXPECT_FALSE(FormatInBase(5, 0));
    EXPECT_FALSE(FormatInBase(5, -3));
    EXPECT_FALSE(FormatInBase(5, 37));
    EXPECT_TRUE(FormatInBase(1e4900L, 2));  // huge, but finite: all of its digits
}

// Every result, typed back in, is the same value within the digits written.
TEST(BaseFormat, RoundTrips) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<long double> values = {0.5L, 1.0L / 3, 255, -5, 1e15L, 123456789.125L, -0.001L, 7e-5L, 1e18L, 3.75L};
    for (int i = 0; i < 200; ++i) values.push_back(unit(random) * std::pow(10.0L, (i % 30) - 10));
    Translator t;
    for (int base : {2, 8, 10, 16, 3, 5, 36}) {
        for (long double v : values) {
            const auto text = FormatInBase(v, base);
            ASSERT_TRUE(text);
            t.Translate(*text);
            const long double back = t.Value(1, 0);
            long double integer = 0;
            std::modf(std::fabs(v), &integer);
            const int digits = integer < 1 ? 1 : static_cast<int>(std::floor(std::log10(integer))) + 1;
            const long double tolerance = std::pow(10.0L, -(16 - digits)) * 1.0001L + std::fabs(v) * 1e-18L;
            EXPECT_LE(std::fabs(back - v), tolerance) << *text << " for " << static_cast<double>(v) << " base " << base;
        }
    }
}

TEST(CalcEngine, ResultText) {
    CalcEngine c;
    c.Translate("x+1");
    EXPECT_EQ(c.ResultText().text, "2");
    c.SetBase(16);
    c.Translate("255");
    EXPECT_EQ(c.ResultText().text, "FFh");
    c.SetBase(10);
    c.SetRounding(2);
    c.Translate("2/3");
    EXPECT_EQ(c.ResultText().text, "0.67");
    c.Translate("-2/3");
    EXPECT_EQ(c.ResultText().text, "-0.67");
    c.SetRounding(-1);
    c.Translate("1/0");
    auto r = c.ResultText();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.status, EvalStatus::DivisionByZero);
    c.Translate("1e4000*1e4000");
    EXPECT_FALSE(c.ResultText().ok);  // infinity is no value
    c.SetBase(1);
    c.Translate("3");
    r = c.ResultText();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.badBase);
}

}  // namespace
}  // namespace kq
