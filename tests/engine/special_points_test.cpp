// Likely poles: which points a formula's numbers produce and what a column query answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

TEST(SpecialPoints, QueryWalksStoredPointsThenMultiplesOfPi) {
    Translator t;
    t.Translate("tg(x)");
    auto& s = t.Specials();
    long double p = 0;
    s.ResetQuery();
    ASSERT_TRUE(s.Query(0.9L, 1.1L, p));
    EXPECT_EQ(p, 1);
    s.ResetQuery();
    ASSERT_TRUE(s.Query(1.57L, 1.58L, p));
    EXPECT_EQ(p, static_cast<long double>(3.141592653589793) / 2);
    s.ResetQuery();
    ASSERT_TRUE(s.Query(3.14L, 3.15L, p));
    EXPECT_EQ(p, static_cast<long double>(3.141592653589793));
    s.ResetQuery();
    ASSERT_TRUE(s.Query(-1.58L, -1.57L, p));  // b < 0: counted from a
    EXPECT_EQ(p, -static_cast<long double>(3.141592653589793) / 2);
    s.ResetQuery();
    EXPECT_FALSE(s.Query(2.0L, 2.5L, p));
    // The cursor moves on: a second query of the same column finds nothing more.
    s.ResetQuery();
    ASSERT_TRUE(s.Query(0.9L, 1.1L, p));
    EXPECT_TRUE(s.Query(0.9L, 1.1L, p) == false || p != 1);

    t.Translate("1/(x-2)");
    s.ResetQuery();
    EXPECT_FALSE(s.Query(1.57L, 1.58L, p));  // not periodic
    s.ResetQuery();
    ASSERT_TRUE(s.Query(1.99L, 2.01L, p));
    EXPECT_EQ(p, 2);
}

TEST(SpecialPoints, FirstInStoredOrderWins) {
    Translator t;
    t.Translate("1/(x-2)");
    auto& s = t.Specials();
    long double p = 0;
    s.ResetQuery();
    ASSERT_TRUE(s.Query(-3, 3, p));
    EXPECT_EQ(p, 1);  // found before 2, -2, 0.5, ...
    ASSERT_TRUE(s.Query(-3, 3, p));
    EXPECT_EQ(p, -1);
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

}  // namespace
}  // namespace kq
