// The finder the page's worker and the points verb use: curves named by their numbers, values
// rounded as asked while the points stay where the unrounded formula has them, the angle mode,
// formulas changed between queries, and the area of a curve of the query.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/point_finder.h"

namespace kq {
namespace {

PointQuery Query(std::vector<std::string> formulas, std::vector<int> numbers, ViewRect view = {-5, 5, -5, 5}) {
    PointQuery q;
    q.formulas = std::move(formulas);
    q.numbers = std::move(numbers);
    q.view = view;
    return q;
}

TEST(PointFinder, CurvesAreNamedByTheirNumbers) {
    PointFinder finder;
    const NotablePoints found = finder.Find(Query({"x-1", "x*x-1"}, {0, 3}));
    int crossings = 0;
    for (const NotablePoint& p : found.points) {
        EXPECT_TRUE(p.curve == 0 || p.curve == 3);
        if (p.kind == PointKind::Cross) {
            ++crossings;
            EXPECT_EQ(p.curve, 0);
            EXPECT_EQ(p.other, 3);
        }
    }
    EXPECT_EQ(crossings, 2);  // x = 0 and x = 1
}

// Rounding changes the values told, not where the points are.
TEST(PointFinder, RoundingRoundsTheValuesOnly) {
    PointFinder finder;
    PointQuery q = Query({"sin(x)+0.123456"}, {0});
    const NotablePoints exact = finder.Find(q);
    q.rounding = 2;
    const NotablePoints rounded = finder.Find(q);
    ASSERT_EQ(exact.points.size(), rounded.points.size());
    for (std::size_t i = 0; i < exact.points.size(); ++i) {
        EXPECT_EQ(rounded.points[i].x, exact.points[i].x);
        EXPECT_EQ(rounded.points[i].y, RoundToDigits(exact.points[i].y, 2));
    }
    bool sawMax = false;
    for (const NotablePoint& p : rounded.points)
        if (p.kind == PointKind::Max) {
            sawMax = true;
            EXPECT_EQ(p.y, RoundToDigits(1.123456L, 2));
        }
    EXPECT_TRUE(sawMax);
}

// In degrees the roots of sin(x) are the multiples of 180.
TEST(PointFinder, DegreesMode) {
    PointFinder finder;
    PointQuery q = Query({"sin(x)"}, {0}, {-400, 400, -2, 2});
    q.degrees = true;
    std::vector<long double> roots;
    for (const NotablePoint& p : finder.Find(q).points)
        if (p.kind == PointKind::Root) roots.push_back(p.x);
    ASSERT_EQ(roots.size(), 5u);
    for (int m = -2; m <= 2; ++m) {
        const long double want = 180.0L * m, got = roots[m + 2];
        const long double ulp = want == 0 ? 1e-300L : std::nextafter(std::fabs(want), INFINITY) - std::fabs(want);
        EXPECT_LE(std::fabs(got - want) / ulp, 8) << m;
    }
    // Back to radians, the same finder: the roots of sin(x) in [-400, 400] are those of m*pi.
    q.degrees = false;
    int count = 0;
    for (const NotablePoint& p : finder.Find(q).points) count += p.kind == PointKind::Root;
    EXPECT_EQ(count, 2 * 127 + 1);
}

// A query changes its formulas: the answer follows; the same query again gives the same answer.
TEST(PointFinder, FollowsChangedFormulas) {
    PointFinder finder;
    const PointQuery first = Query({"x-1"}, {0}), second = Query({"x+2"}, {0});
    EXPECT_FALSE(first == second);
    const NotablePoints a = finder.Find(first);
    const NotablePoints b = finder.Find(second);
    ASSERT_EQ(a.points.size(), 1u);
    ASSERT_EQ(b.points.size(), 1u);
    EXPECT_EQ(a.points[0].x, 1);
    EXPECT_EQ(b.points[0].x, -2);
    EXPECT_EQ(finder.Find(first).points, a.points);
    EXPECT_TRUE(first == Query({"x-1"}, {0}));
}

TEST(PointFinder, AreaOfACurveOfTheQuery) {
    PointFinder finder;
    const PointQuery q = Query({"x", "x*x"}, {0, 1});
    const AreaResult area = finder.Area(q, 1, 0, 3);
    ASSERT_TRUE(area.Ok());
    EXPECT_NEAR(static_cast<double>(area.value), 9.0, 1e-15);
    EXPECT_FALSE(finder.Area(q, 2, 0, 1).Ok());
}

}  // namespace
}  // namespace kq
