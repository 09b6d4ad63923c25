// Results in number bases: the examples, the edge cases and round trips through the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "calc/base_format.h"
#include "calc/calc_engine.h"
#include "calc/integer_digits.h"

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

long double ReadBack(Translator& t, const std::string& text) {
    t.Translate(text);
    return t.Value(1, 0);
}

// The digits without the zeros that only pad.
std::string SignificantDigits(std::string digits) {
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    return digits;
}

// `digits` read in `base`, plus one, written back.
std::string PlusOne(std::string digits, int base) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        const int d = digits[i] <= '9' ? digits[i] - '0' : digits[i] - 'A' + 10;
        if (d + 1 < base) {
            digits[i] = DigitChar(static_cast<unsigned>(d + 1));
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

const long double kTwo64 = std::ldexp(1.0L, 64);

// Whole numbers up to 2^64 digit for digit; above it the fewest digits that read back, padded.
TEST(BaseFormat, LargeValues) {
    const std::vector<std::tuple<long double, int, std::string>> cases = {
        {std::ldexp(1.0L, 60), 10, "1152921504606846976"},
        {kTwo64, 10, "18446744073709551616"},
        {kTwo64 - 1, 10, "18446744073709551615"},
        {-(kTwo64 - 1), 16, "-FFFFFFFFFFFFFFFFh"},
        {kTwo64 + 2, 10, "18446744073709551618"},  // the next value above 2^64: every digit counts
        {kTwo64 + 4, 10, "18446744073709551620"},
        {1e28L, 10, "1" + std::string(28, '0')},
        {-1e28L, 10, "-1" + std::string(28, '0')},
        {1e600L, 10, "1" + std::string(600, '0')},
        {std::ldexp(1.0L, 70), 10, "1180591620717411303400"},
        {std::ldexp(1.0L, 70), 16, "400000000000000000h"},
        {std::ldexp(1.0L, 70), 8, "2" + std::string(23, '0') + "o"},
        {std::ldexp(1.0L, 70), 2, "1" + std::string(70, '0') + "b"},
        {-std::ldexp(3.0L, 100), 2, "-11" + std::string(100, '0') + "b"},
        {1.5e30L, 10, "15" + std::string(29, '0')},
        {std::pow(5.0L, 40), 5, "1" + std::string(40, '0') + "s5"},  // a power of the base reads back exactly
    };
    for (const auto& [v, b, text] : cases) EXPECT_EQ(F(v, b), text) << static_cast<double>(v) << " base " << b;
}

// Values around and far above 2^64, both signs: a base of two's powers or ten reads every
// result back as the very same value, and one significant digit fewer never would.
TEST(BaseFormat, LargeValuesReadBackExactly) {
    std::mt19937_64 random(11);
    std::vector<long double> values = {kTwo64 - 1, kTwo64, kTwo64 + 2, kTwo64 * 3, 1e20L, 1.5e19L, 9.999e25L,
                                       123456789e30L, 1e300L, 1e4000L, std::ldexp(1.0L, 16383)};
    for (int i = 0; i < 60; ++i) {
        const auto mantissa = static_cast<long double>(random() | (1ull << 63));
        values.push_back(std::ldexp(mantissa, static_cast<int>(random() % 3000) - 63 + 64));
    }
    Translator t;
    for (int base : {2, 8, 10, 16, 32}) {
        for (long double magnitude : values) {
            for (long double v : {magnitude, -magnitude}) {
                const std::string text = F(v, base);
                EXPECT_EQ(ReadBack(t, text), v) << text << " base " << base;
                if (std::fabs(v) <= kTwo64) continue;
                // The two strings one significant digit shorter that lie nearest: neither reads back.
                const std::string sign = v < 0 ? "-" : "", suffix = BaseSuffix(base);
                const std::string body = text.substr(sign.size(), text.size() - sign.size() - suffix.size());
                const std::string digits = SignificantDigits(body);
                if (digits.size() < 2) continue;
                const std::string pad(body.size() - digits.size() + 1, '0');
                const std::string lower = digits.substr(0, digits.size() - 1);
                for (const std::string& prefix : {lower, PlusOne(lower, base)}) {
                    const std::string shorter = sign + prefix + pad + suffix;
                    EXPECT_NE(ReadBack(t, shorter), v) << shorter << " is shorter than " << text;
                }
            }
        }
    }
}

// A base whose reading rounds at every digit may reach a value by no string at all: the
// result then reads back within the reading's own error, still without a tail of noise.
TEST(BaseFormat, LargeValuesInOtherBasesReadBackClosely) {
    std::mt19937_64 random(5);
    std::vector<long double> values = {1e20L, 1e28L, 1e100L, 1e600L};
    for (int i = 0; i < 30; ++i) {
        const auto mantissa = static_cast<long double>(random() | (1ull << 63));
        values.push_back(std::ldexp(mantissa, static_cast<int>(random() % 2000) + 1));
    }
    Translator t;
    for (int base : {3, 5, 7, 12, 36}) {
        for (long double magnitude : values) {
            for (long double v : {magnitude, -magnitude}) {
                const std::string text = F(v, base);
                const long double back = ReadBack(t, text);
                EXPECT_LE(std::fabs(back - v), std::fabs(v) * 1e-17L) << text << " base " << base;
                const std::string suffix = BaseSuffix(base);
                const std::string body = text.substr(v < 0, text.size() - (v < 0) - suffix.size());
                // 80 bits' worth of significant digits at most: what follows would be noise.
                EXPECT_LE(SignificantDigits(body).size() * std::log2(base), 80.0) << text;
            }
        }
    }
}

// Rounding works on the decimal value; the rounded value is then written in the chosen base.
TEST(CalcEngine, RoundingWithAnotherBase) {
    struct Case {
        int rounding, base;
        const char* expression;
        const char* text;
    };
    const Case cases[] = {
        {2, 16, "1/3", "0.547AE147AE148h"},          // 0.33
        {1, 8, "-2.75", "-2.6314631463146315o"},     // -2.8: halves round away from zero
        {3, 5, "2/3", "0.313141414141414141414s5"},  // 0.667
        {0, 2, "7.4", "111b"},
        {0, 2, "-7.5", "-1000b"},
        {2, 16, "255.999", "100h"},  // 256.00
        {4, 2, "0.0625", "0.0001b"},
    };
    CalcEngine c;
    for (const Case& k : cases) {
        c.SetRounding(k.rounding);
        c.SetBase(k.base);
        c.Translate(k.expression);
        EXPECT_EQ(c.ResultText().text, k.text) << k.expression << " rounded to " << k.rounding << " in base " << k.base;
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
