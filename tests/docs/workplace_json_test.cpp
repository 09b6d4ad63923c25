// A workplace as JSON: the exact range numbers, the line printed, and the objects taken back
// or refused.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "docs/workplace_json.h"

namespace kq {
namespace {

// JSON's number grammar, -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, by hand: std::regex
// trips GCC 12's uninitialised-use warning under the sanitizers.
bool IsJsonNumber(const std::string& text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    if (i < text.size() && text[i] == '-') ++i;
    if (i < text.size() && text[i] == '0')
        ++i;
    else if (i >= text.size() || text[i] < '1' || text[i] > '9' || digits() == 0)
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0) return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == text.size();
}

// What the C library reads the text as, subnormal results included.
long double Strtold(const std::string& text) { return std::strtold(text.c_str(), nullptr); }

TEST(WorkplaceJson, NumbersAreTheShortestTextsThatReadBack) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {1e4932L, "1e+4932"},
        {-1e4932L, "-1e+4932"},
        // The shortest texts for these three found with mpmath at 64 bits of precision.
        {LDBL_MAX, "1.189731495357231765e+4932"},
        {LDBL_MIN, "3.3621031431120935063e-4932"},
        {LDBL_TRUE_MIN, "4e-4951"},
        {3.6e-4951L, "4e-4951"},
        {1e-4940L, "1e-4940"},
        {-10, "-10"},
        {10, "10"},
        {100, "100"},
        {0.1L, "0.1"},
        {0.0001L, "0.0001"},
        {1e6L, "1e+06"},
        {123456, "123456"},
        {1234567, "1234567"},
        {0, "0"},
        {-0.0L, "-0"},
        {1e308L * 10, "1e+309"},
        {0.1, "0.10000000000000000555"},  // the double nearest to 0.1, not the long double
    };
    for (const auto& c : cases) {
        const std::string text = ExactNumberText(c.value);
        EXPECT_EQ(text, c.text);
        EXPECT_TRUE(IsJsonNumber(text)) << text;
        EXPECT_EQ(Strtold(text), c.value) << text;
        EXPECT_EQ(std::signbit(Strtold(text)), std::signbit(c.value)) << text;
    }
    EXPECT_EQ(ExactNumberText(std::numeric_limits<long double>::infinity()), "null");
    EXPECT_EQ(ExactNumberText(std::nanl("")), "null");
}

TEST(WorkplaceJson, AnyFiniteValueReadsBack) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 1000; ++i) {
        // Any bit pattern of the 80-bit type: sign and exponent in 16 bits over a 64-bit
        // mantissa, whose top bit is set exactly when the exponent is not 0 (normal numbers).
        const auto top = static_cast<std::uint16_t>(random());
        std::uint64_t mantissa = random();
        mantissa = (top & 0x7FFF) ? mantissa | (1ull << 63) : mantissa & ~(1ull << 63);
        unsigned char bytes[sizeof(long double)] = {};
        std::memcpy(bytes, &mantissa, 8);
        std::memcpy(bytes + 8, &top, 2);
        long double value = 0;
        std::memcpy(&value, bytes, sizeof value);
        if (!std::isfinite(value)) continue;
        const std::string text = ExactNumberText(value);
        ASSERT_TRUE(IsJsonNumber(text)) << text;
        ASSERT_EQ(Strtold(text), value) << text;
    }
}

TEST(WorkplaceJson, TheLineHasSortedKeysAndExactNumbers) {
    Workplace w;
    w.absolute = true;
    w.xFrom = -1e4932L;
    w.xTo = 1e4932L;
    w.yFrom = 2.5e-4000L;
    w.yTo = 3;
    w.formula = "x^2 \"q\"";
    w.list = {"sin(x)", ""};
    w.firstLine = "Сумма\t1";
    w.activeLine = 2;
    EXPECT_EQ(WorkplaceToJson(w),
              R"j({"absolute":true,"active":2,"calc":["Сумма\t1",""],"formula":"x^2 \"q\"","list":["sin(x)",""],)j"
              R"j("range":[-1e+4932,1e+4932,2.5e-4000,3]})j");
    EXPECT_EQ(WorkplaceToJson(Workplace{}),
              R"({"absolute":false,"active":1,"calc":["",""],"formula":"","list":[],"range":[-10,10,-5,5]})");
    std::string error;
    const auto back = WorkplaceFromJson(WorkplaceToJson(w), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, w);
}

TEST(WorkplaceJson, ObjectsThatAreNoWorkplaceAreRefused) {
    const struct {
        std::string json;
        const char* said;
    } cases[] = {
        {"[]", "JSON должен быть объектом"},
        {"\"x\"", "JSON должен быть объектом"},
        {R"({"colour": 1})", "неизвестное поле \"colour\""},
        {R"({"absolute": 0})", "\"absolute\" должно быть true или false"},
        {R"({"range": [1, 2, 3]})", "\"range\" должно быть массивом из четырёх чисел"},
        {R"({"range": [1, 2, 3, "4"]})", "\"range\" должно быть массивом из четырёх чисел"},
        {R"({"range": [1, 2, 3, 1e4933]})", "число 1e4933 в \"range\""},
        {R"({"range": [-2e4932, 2, 3, 4]})", "число -2e4932"},
        {R"({"list": "x"})", "\"list\" должно быть массивом строк"},
        {R"({"list": ["x", 2]})", "каждая формула \"list\" должно быть строкой"},
        {R"({"calc": ["x"]})", "\"calc\" должно быть массивом из двух строк"},
        {R"({"calc": ["x", null]})", "строка \"calc\" должно быть строкой"},
        {R"({"formula": 1})", "\"formula\" должно быть строкой"},
        {R"({"active": 3})", "\"active\" должно быть 1 или 2"},
        {R"({"active": 1.5})", "\"active\" должно быть 1 или 2"},
        {R"({"active": "1"})", "\"active\" должно быть 1 или 2"},
        {R"({"formula": "x", "formula": "x"})", "неверный JSON: поле \"formula\" задано дважды (байт 17)"},
        {R"({"formula": "\ud800"})", "неверный JSON: \\ud800 — половина суррогатной пары"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(WorkplaceFromJson(c.json, error)) << c.json;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.json << ": " << error;
    }
    // Numbers of any JSON spelling, a subnormal one included, and keys left out.
    std::string error;
    const auto w = WorkplaceFromJson(R"({"range": [-1E1, 1e+1, 36e-4952, 0.5e1], "active": 2.0})", error);
    ASSERT_TRUE(w) << error;
    EXPECT_EQ(w->xFrom, -10);
    EXPECT_EQ(w->xTo, 10);
    EXPECT_EQ(w->yFrom, Strtold("3.6e-4951"));
    EXPECT_GT(w->yFrom, 0);
    EXPECT_EQ(w->yTo, 5);
    EXPECT_EQ(w->activeLine, 2);
    EXPECT_EQ(w->formula, "");
}

}  // namespace
}  // namespace kq
