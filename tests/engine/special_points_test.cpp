// Likely poles: which points a formula's numbers produce and what a column query answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "engine/math_functions.h"
#include "engine/translator.h"

namespace kq {
namespace {

bool Has(const SpecialPointSet& s, long double p, long double tolerance = 1e-15L) {
    return std::any_of(s.Points().begin(), s.Points().end(), [&](long double q) { return std::fabs(q - p) <= tolerance; });
}

TEST(SpecialPoints, ComeFromTheNumbersOfTheFormula) {
    Translator t;
    t.Translate("1/(x-2)");
    EXPECT_EQ(t.Specials().RootDegree(), 2);
    EXPECT_FALSE(t.Specials().Periodic());
    for (long double p : {1.0L, -1.0L, 2.0L, -2.0L, 0.5L, -0.5L}) EXPECT_TRUE(Has(t.Specials(), p)) << (double)p;
    // Stored in the order found: d = 1 first, pairs (1,1), (1,2), (2,1), (2,2).
    ASSERT_GE(t.Specials().Points().size(), 6u);
    EXPECT_EQ(t.Specials().Points()[0], 1);
    EXPECT_EQ(t.Specials().Points()[1], -1);
    EXPECT_EQ(t.Specials().Points()[2], 0.5L);

    t.Translate("1/(x*x-4)");
    EXPECT_EQ(t.Specials().RootDegree(), 3);
    EXPECT_TRUE(Has(t.Specials(), 2));
    EXPECT_TRUE(Has(t.Specials(), -2));

    t.Translate("tg(x)");
    EXPECT_TRUE(t.Specials().Periodic());
    EXPECT_EQ(t.Specials().Points().size(), 2u);  // 1 and -1 only
}

TEST(SpecialPoints, QueryFindsStoredPointsThenMultiplesOfPi) {
    Translator t;
    t.Translate("tg(x)");
    const SpecialPointSet& s = t.Specials();
    constexpr long double pi = 3.141592653589793;
    struct Q {
        long double a, b;
        std::optional<long double> expected;
    };
    const Q queries[] = {
        {0.9L, 1.1L, 1},           {1.57L, 1.58L, pi / 2},  {3.14L, 3.15L, pi},
        {-1.58L, -1.57L, -pi / 2},  // b < 0: counted from a
        {2.0L, 2.5L, std::nullopt}, {-1, -1, -1},            {1, 1, 1},  // closed at both ends
        {4.0L, 4.5L, std::nullopt}, {6.28L, 6.29L, 2 * pi},
    };
    for (const Q& q : queries) EXPECT_EQ(s.Query(q.a, q.b), q.expected) << static_cast<double>(q.a);

    t.Translate("1/(x-2)");
    EXPECT_EQ(s.Query(1.57L, 1.58L), std::nullopt);  // not periodic
    EXPECT_EQ(s.Query(1.99L, 2.01L), 2.0L);
    EXPECT_EQ(s.Query(2.01L, 1.99L), std::nullopt);  // an empty interval
}

// Every point repeated queries find: one query, then again either side of its answer.
void QueryAll(const SpecialPointSet& s, long double a, long double b, std::vector<long double>& out) {
    constexpr long double inf = std::numeric_limits<long double>::infinity();
    if (!(a <= b) || out.size() > 100000) return;
    const std::optional<long double> p = s.Query(a, b);
    if (!p) return;
    out.push_back(*p);
    // (Zero's neighbours by hand: MinGW's nextafterl steps from -0 the wrong way.)
    const long double tiny = std::numeric_limits<long double>::denorm_min();
    QueryAll(s, a, *p == 0 ? -tiny : std::nextafter(*p, -inf), out);
    QueryAll(s, *p == 0 ? tiny : std::nextafter(*p, inf), b, out);
}

// All the points of a range at once are those the queries find, in order, each once; a limit
// below their number says so.
TEST(SpecialPoints, WithinListsWhatRepeatedQueriesFind) {
    struct Case {
        const char* formula;
        bool degrees;
        long double a, b;
    };
    const Case cases[] = {
        {"tg(x)+1/(x-2)", false, -20, 20}, {"1/(x*x-4)+ctg(x/3)", false, -7.5L, 3},
        {"sec(x)", true, -1000, 1000},      {"1/(x-2)", false, 1.5L, 1e6L},
        {"tg(x)", false, -3.1415926L, -0.0L}, {"sin(x)", false, -10, 10},
    };
    for (const Case& c : cases) {
        Translator t;
        t.SetDegrees(c.degrees);
        t.Translate(c.formula);
        std::vector<long double> expected, got;
        QueryAll(t.Specials(), c.a, c.b, expected);
        std::sort(expected.begin(), expected.end());
        ASSERT_TRUE(t.Specials().Within(c.a, c.b, 10000, got)) << c.formula;
        ASSERT_EQ(got.size(), expected.size()) << c.formula;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i], expected[i]) << c.formula << " #" << i;
            EXPECT_EQ(std::signbit(got[i]), std::signbit(expected[i])) << c.formula << " #" << i;
        }
        if (!expected.empty()) {
            EXPECT_FALSE(t.Specials().Within(c.a, c.b, expected.size() - 1, got)) << c.formula;
        }
    }
    Translator t;
    t.Translate("tg(x)");
    std::vector<long double> got;
    EXPECT_FALSE(t.Specials().Within(-1e300L, 1e300L, 1000, got));  // far too many, said at once
    // So far out that a step of one in the multiple is lost to rounding: still an answer.
    const long double far = 0x1p80L;
    ASSERT_TRUE(t.Specials().Within(far, far, 100, got));
    for (long double p : got) EXPECT_EQ(p, far);
    EXPECT_TRUE(t.Specials().Within(3, 2, 10, got));
    EXPECT_TRUE(got.empty());
}

// The quotient's integer part that the periodic points are multiples of is the library's
// trunc, bit for bit: halves, neighbours of integers, both signs, zeros, the largest
// magnitudes handled by rounding and those beyond, infinities and NaN.
TEST(SpecialPoints, TowardZeroIsTrunc) {
    std::vector<long double> values = {0.0L, -0.0L, 0.5L, -0.5L, 1.5L, -2.5L, 0.49999999999999999997L,
                                       0x1p62L, -0x1p62L, std::nextafter(0x1p62L, 0.0L), 0x1p63L + 1, 1e300L,
                                       std::numeric_limits<long double>::denorm_min(), INFINITY, -INFINITY};
    for (long double n = -70; n <= 70; n += 1)
        for (long double v : {n, std::nextafter(n, -INFINITY), std::nextafter(n, INFINITY), n + 0.5L, n / 7})
            values.push_back(v);
    std::uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int k = 0; k < 20000; ++k) {
        bits = bits * 6364136223846793005u + 1442695040888963407u;
        const long double v = std::ldexp(static_cast<long double>(bits >> 11), static_cast<int>(bits % 130) - 110);
        values.push_back(k % 2 ? -v : v);
    }
    for (long double v : values) {
        const long double got = TowardZero(v), want = std::trunc(v);
        EXPECT_TRUE(got == want && std::signbit(got) == std::signbit(want)) << static_cast<double>(v);
    }
    EXPECT_TRUE(std::isnan(TowardZero(NAN)));
}

// In degrees mode the periodic poles are at multiples of 90 (tg at 90 + 180k, ctg at 180k),
// whether the mode was set before translating or changed afterwards.
TEST(SpecialPoints, PeriodicPointsFollowTheAngleUnit) {
    for (bool before : {true, false}) {
        Translator t;
        if (before) t.SetDegrees(true);
        t.Translate("0.001*tg(x)");
        if (!before) t.SetDegrees(true);
        const SpecialPointSet& s = t.Specials();
        EXPECT_EQ(s.Query(89.5L, 90.5L), 90.0L) << before;
        EXPECT_EQ(s.Query(-270.5L, -269.5L), -270.0L) << before;
        EXPECT_EQ(s.Query(179.5L, 180.5L), 180.0L) << before;
        EXPECT_EQ(s.Query(1.57L, 1.58L), std::nullopt) << before;  // π/2 means nothing here
        t.SetDegrees(false);
        constexpr long double pi = 3.141592653589793;
        EXPECT_EQ(s.Query(90.0L, 90.5L), std::nullopt) << before;  // 57π/2 lies just below 89.54
        EXPECT_EQ(s.Query(1.57L, 1.58L), pi / 2) << before;
    }
}

// Among the points of an interval the one found first wins, not the smallest; asking again
// gives the same answer, since a query moves nothing.
TEST(SpecialPoints, FirstInStoredOrderWins) {
    Translator t;
    t.Translate("1/(x-2)");
    const SpecialPointSet& s = t.Specials();
    // Found in this order: 1, -1, 0.5, -0.5, 2, -2, then the square roots' ratios.
    ASSERT_TRUE(Has(s, std::sqrt(0.5L)));
    EXPECT_EQ(s.Query(-3, 3), 1.0L);
    EXPECT_EQ(s.Query(-3, 3), 1.0L);
    EXPECT_EQ(s.Query(-3, 0), -1.0L);
    EXPECT_EQ(s.Query(0.4L, 1.1L), 1.0L);   // before 0.5 and 1/sqrt(2)
    EXPECT_EQ(s.Query(0.4L, 0.9L), 0.5L);   // before 1/sqrt(2)
    const std::optional<long double> root = s.Query(0.6L, 0.9L);
    ASSERT_TRUE(root.has_value());
    EXPECT_NEAR(static_cast<double>(*root), std::sqrt(0.5), 1e-15);
    EXPECT_EQ(s.Query(0.6L, 0.9L), root);
}

TEST(SpecialPoints, StoresStayBounded) {
    std::string formula = "x";
    for (int i = 1; i <= 1200; ++i) formula += "+" + std::to_string(i) + "*x";
    Translator t;
    t.Translate(formula);
    EXPECT_LE(t.Specials().Points().size(), SpecialPointSet::kCapacity);
    EXPECT_EQ(t.Specials().RootDegree(), 1202);
    EXPECT_NEAR(static_cast<double>(t.Value(1, 0)), 1 + 1200.0 * 1201 / 2, 1e-6);
}

// Translation collects the numbers only; the points are worked out on the first question, the
// same ones as if worked out at once, and again after each translation or added number.
TEST(SpecialPoints, WorkedOutWhenFirstAskedFor) {
    Translator t;
    for (const char* formula : {"1/(x-2)", "tg(x)/(x*x-3)", "x^3-2*x^2+x-1"}) {
        t.Translate(formula);
        EXPECT_FALSE(t.Specials().IsBuilt()) << formula;
        Translator other;
        other.Translate(formula);
        const std::optional<long double> first = other.Specials().Query(-3, 3);
        EXPECT_TRUE(other.Specials().IsBuilt());
        EXPECT_EQ(t.Specials().Query(-3, 3), first) << formula;
        EXPECT_EQ(t.Specials().Points(), other.Specials().Points()) << formula;
    }
    SpecialPointSet set;
    set.AddOperand(2);
    EXPECT_EQ(set.Points().size(), 6u);  // 1, -1, 1/2, -1/2, 2, -2
    set.AddOperand(3);
    EXPECT_FALSE(set.IsBuilt());
    EXPECT_GT(set.Points().size(), 6u);
}

}  // namespace
}  // namespace kq
