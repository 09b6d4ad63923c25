// The signed area under a curve against mpmath's integrals (area_reference.py), and the
// refusals where a break or a gap of the domain lies inside.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "area_reference.h"
#include "plot/signed_area.h"

namespace kq {
namespace {

class AreaAgainstMpmath : public testing::TestWithParam<test::AreaReference> {};

TEST_P(AreaAgainstMpmath, RelativeErrorBelow1e15) {
    const test::AreaReference& r = GetParam();
    Translator t;
    t.Translate(r.formula);
    const AreaResult area = SignedArea(t, r.a, r.b);
    ASSERT_TRUE(area.Ok()) << r.formula << ": " << AreaFailureText(area);
    // Relative to the area, or to the area of |f| where the signs cancel (x^3-2x over [-2, 2]).
    const long double scale = std::max(std::fabs(r.value), r.magnitude * 1e-2L);
    EXPECT_LT(std::fabs(area.value - r.value), 1e-15L * scale)
        << r.formula << " from " << static_cast<double>(r.a) << " to " << static_cast<double>(r.b) << ": "
        << static_cast<double>(area.value) << " vs " << static_cast<double>(r.value);
    EXPECT_LE(area.error, 1e-15L * scale) << r.formula;
}

INSTANTIATE_TEST_SUITE_P(SmoothIntegrands, AreaAgainstMpmath, testing::ValuesIn(test::kAreaReference));

TEST(SignedArea, ReversedBoundsNegateAndEqualBoundsGiveZero) {
    Translator t;
    t.Translate("x*x+1");
    const AreaResult forward = SignedArea(t, -1, 2), backward = SignedArea(t, 2, -1), none = SignedArea(t, 5, 5);
    ASSERT_TRUE(forward.Ok() && backward.Ok() && none.Ok());
    EXPECT_EQ(backward.value, -forward.value);
    EXPECT_EQ(none.value, 0);
}

// Where a break lies inside the area has no value, and the reason says where.
TEST(SignedArea, RefusedWhereTheCurveBreaks) {
    const struct {
        const char* formula;
        long double a, b;
        AreaResult::Failure failure;
        long double where;
        const char* text;
    } cases[] = {
        {"1/(x-2)", 0, 3, AreaResult::Failure::Break, 2, "разрыв внутри промежутка при x = 2"},
        {"abs(x+2)/(x+2)", -3, 0, AreaResult::Failure::Break, -2, "разрыв внутри промежутка при x = -2"},
        {"tg(x)", 0, 2, AreaResult::Failure::Break, 1.5707963267948966L, nullptr},
        {"sgn(x-1)", 0, 3, AreaResult::Failure::Break, 1, nullptr},
        {"sqrt(x)", -1, 1, AreaResult::Failure::Undefined, -1, "функция не определена при x = -1"},
        {"ln(x)", 0, 1, AreaResult::Failure::Undefined, 0, nullptr},
        {"sqrt(x*x-1)", 0.5L, 2, AreaResult::Failure::Undefined, 0.5L, nullptr},
        {"sqrt(1-x*x)", 0, 3, AreaResult::Failure::Undefined, 1, nullptr},
    };
    for (const auto& c : cases) {
        Translator t;
        t.Translate(c.formula);
        const AreaResult area = SignedArea(t, c.a, c.b);
        EXPECT_EQ(area.failure, c.failure) << c.formula;
        EXPECT_NEAR(static_cast<double>(area.where), static_cast<double>(c.where), 1e-12) << c.formula;
        if (c.text) {
            EXPECT_EQ(AreaFailureText(area), c.text) << c.formula;
        }
    }
}

}  // namespace
}  // namespace kq
