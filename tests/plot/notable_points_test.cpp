// The notable points of a view on families whose answers are known in closed form, each
// computed here independently of the finder: roots of polynomials given by their roots, every
// root of sin(k*x), poles and jumps, domain ends, crossings, the |y| mode and the limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <tuple>
#include <string>
#include <vector>

#include "engine/formula_tables.h"
#include "plot/curve_function.h"
#include "plot/notable_points.h"

namespace kq {
namespace {

constexpr long double kTruePi = 3.141592653589793238462643383279502884L;

// Units in the last place of `want` between the two.
long double UlpsApart(long double got, long double want) {
    if (got == want) return 0;
    const long double ulp = std::nextafter(std::fabs(want), INFINITY) - std::fabs(want);
    return std::fabs(got - want) / ulp;
}

class Finder {
public:
    explicit Finder(std::vector<std::string> formulas, ViewRect view = {-10, 10, -10, 10}, bool absolute = false) {
        options_.view = view;
        options_.absolute = absolute;
        for (std::size_t i = 0; i < formulas.size(); ++i) {
            translators_.push_back(std::make_unique<Translator>());
            translators_.back()->Translate(formulas[i]);
            curves_.push_back({translators_.back().get(), static_cast<int>(i)});
        }
    }
    NotablePoints Find() { return FindNotablePoints(curves_, options_); }
    Translator& Formula(int i) { return *translators_[i]; }
    PointOptions& Options() { return options_; }

private:
    std::vector<std::unique_ptr<Translator>> translators_;
    std::vector<PlotCurve> curves_;
    PointOptions options_;
};

// The order of the list: by x, then kind, curve, second curve and value.
bool Before(const NotablePoint& a, const NotablePoint& b) {
    return std::tie(a.x, a.kind, a.curve, a.other, a.y) < std::tie(b.x, b.kind, b.curve, b.other, b.y);
}

std::vector<NotablePoint> OfKind(const NotablePoints& found, PointKind kind, int curve = 0) {
    std::vector<NotablePoint> out;
    for (const NotablePoint& p : found.points)
        if (p.kind == kind && p.curve == curve) out.push_back(p);
    return out;
}

// The points of `kind` are exactly the expected x's (in order), each within `ulps`.
void ExpectAt(const NotablePoints& found, PointKind kind, const std::vector<long double>& xs, long double ulps,
              const std::string& what, int curve = 0) {
    const std::vector<NotablePoint> got = OfKind(found, kind, curve);
    ASSERT_EQ(got.size(), xs.size()) << what << ": " << PointKindWord(kind);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (xs[i] == 0) {
            EXPECT_LE(std::fabs(got[i].x), 1e-300L) << what << " " << PointKindWord(kind) << " " << i;
            continue;
        }
        EXPECT_LE(UlpsApart(got[i].x, xs[i]), ulps)
            << what << " " << PointKindWord(kind) << " " << i << ": " << static_cast<double>(got[i].x) << " vs "
            << static_cast<double>(xs[i]);
    }
}

struct Polynomial {
    const char* formula;
    std::vector<long double> roots, minima, maxima, inflections;
    bool turns = true;  // the extrema and inflections are given
};

// Polynomials written as products of their factors, so the roots are the numbers written; the
// extrema and inflections are the zeros of the derivatives, worked out by hand.
// The neighbours of a number, zero of either sign included, lie on the side asked for.
TEST(NotablePoints, NeighboursOfNumbers) {
    constexpr long double tiny = std::numeric_limits<long double>::denorm_min();
    for (long double x : {0.0L, -0.0L}) {
        EXPECT_EQ(Above(x), tiny) << std::signbit(x);
        EXPECT_EQ(Below(x), -tiny) << std::signbit(x);
    }
    for (long double x : {1.0L, -1.0L, 1e-4940L, -3.5e300L, tiny, -tiny}) {
        EXPECT_GT(Above(x), x);
        EXPECT_LT(Below(x), x);
        EXPECT_EQ(Below(Above(x)), x);
        EXPECT_EQ(SplitPoint(x, Above(x)), x);
    }
    // The library's neighbours, bit for bit, away from zero: across binades, subnormals, the
    // largest finite values and the infinities.
    auto same = [](long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; };
    constexpr long double inf = std::numeric_limits<long double>::infinity();
    constexpr long double big = std::numeric_limits<long double>::max();
    constexpr long double least = std::numeric_limits<long double>::min();
    std::vector<long double> xs = {1, 2, 0.5L, big, -big, least, -least, tiny * 2, -tiny * 2, inf, -inf, 3 * tiny, tiny, -tiny};
    // Every significand bit set (the step up carries into the exponent), and the largest
    // subnormal (the step up gains the integer bit).
    for (long double v : {2.0L, 1e300L, least}) {
        xs.push_back(std::nextafter(v, 0.0L));
        xs.push_back(-std::nextafter(v, 0.0L));
    }
    std::mt19937_64 bits(7);
    for (int k = 0; k < 20000; ++k) {
        std::uint64_t significand = bits() | 0x8000000000000000u;
        const auto top = static_cast<std::uint16_t>(bits() % 0xFFFF);  // any sign, exponent but 0x7FFF
        if ((top & 0x7FFF) == 0x7FFF) continue;
        if ((top & 0x7FFF) == 0) significand &= 0x7FFFFFFFFFFFFFFFu;  // a subnormal
        long double v = 0;
        std::memcpy(&v, &significand, 8);
        std::memcpy(reinterpret_cast<char*>(&v) + 8, &top, 2);
        if (v != 0) xs.push_back(v);
    }
    for (long double x : xs) {
        EXPECT_TRUE(same(Above(x), std::nextafter(x, inf))) << static_cast<double>(x);
        EXPECT_TRUE(same(Below(x), std::nextafter(x, -inf))) << static_cast<double>(x);
    }
    EXPECT_TRUE(std::isnan(Above(std::numeric_limits<long double>::quiet_NaN())));
}

TEST(NotablePoints, PolynomialsWithSimpleAndDoubleRoots) {
    const long double s73 = std::sqrt(7.0L / 3);
    const Polynomial cases[] = {
        {"(x-1)*(x-2)*(x+3)", {-3, 1, 2}, {s73}, {-s73}, {0}},
        // A double root touches 0: a root and a minimum at once.
        {"(x-1)^2*(x+2)", {-2, 1}, {1}, {-1}, {0}},
        {"(x+3.5)*(x+1.25)*(x-0.75)*(x-2.5)", {-3.5L, -1.25L, 0.75L, 2.5L}, {}, {}, {}, false},
        // Two roots closer than a pixel, on either side of a minimum between two samples.
        {"(x-1)*(x-1.0001)", {1, 1.0001L}, {(1 + 1.0001L) / 2}, {}, {}},
        {"x*x*x", {0}, {}, {}, {0}},
        {"(x*x-4)^2", {-2, 2}, {-2, 2}, {0}, {-2 / std::sqrt(3.0L), 2 / std::sqrt(3.0L)}},
    };
    for (const Polynomial& c : cases) {
        Finder finder({c.formula});
        const NotablePoints found = finder.Find();
        ExpectAt(found, PointKind::Root, c.roots, 4, c.formula);
        if (c.turns) {
            ExpectAt(found, PointKind::Min, c.minima, 4, c.formula);
            ExpectAt(found, PointKind::Max, c.maxima, 4, c.formula);
            ExpectAt(found, PointKind::Inflection, c.inflections, 16, c.formula);
        } else {
            EXPECT_EQ(OfKind(found, PointKind::Min).size(), 2u) << c.formula;
            EXPECT_EQ(OfKind(found, PointKind::Max).size(), 1u) << c.formula;
        }
        EXPECT_TRUE(OfKind(found, PointKind::Break).empty()) << c.formula;
        EXPECT_TRUE(found.more.empty()) << c.formula;
    }
}

// Every root of sin(k*x) in [-10, 10] for k up to 100, each within 4 units of m*pi/k, and the
// extrema between them.
TEST(NotablePoints, EveryRootOfSinKx) {
    for (int k = 1; k <= 100; ++k) {
        const std::string formula = "sin(" + std::to_string(k) + "*x)";
        Finder finder({formula});
        const NotablePoints found = finder.Find();
        std::vector<long double> roots, minima, maxima;
        const int last = static_cast<int>(std::floor(10 * k / kTruePi));
        for (int m = -last; m <= last; ++m) roots.push_back(m * kTruePi / k);
        for (int m = -last - 1; m <= last; ++m) {
            const long double x = (m + 0.5L) * kTruePi / k;
            if (std::fabs(x) > 10) continue;
            ((m % 2 == 0) ? maxima : minima).push_back(x);
        }
        ExpectAt(found, PointKind::Root, roots, 4, formula);
        ExpectAt(found, PointKind::Min, minima, 4, formula);
        ExpectAt(found, PointKind::Max, maxima, 4, formula);
        if (HasFailure()) return;
    }
}

// An extremum is where the exact slope is 0 to the last bit: 0 there, or of opposite signs at
// its two neighbours.
TEST(NotablePoints, ExtremaAreWhereTheSlopeIsZeroToTheLastBit) {
    for (const char* formula : {"cos(x^2-3)", "x*exp(0-x*x)", "sin(x)/(1+x*x)", "(x-1)^2*(x+2)"}) {
        Finder finder({formula});
        const NotablePoints found = finder.Find();
        CurveFunction f(finder.Formula(0));
        int extrema = 0;
        for (const NotablePoint& p : found.points) {
            if (p.kind != PointKind::Min && p.kind != PointKind::Max) continue;
            ++extrema;
            CurveSlopes at, below, above;
            ASSERT_TRUE(f.At(p.x, at) && f.At(Below(p.x), below) && f.At(Above(p.x), above));
            const bool zero = at.dx == 0;
            const bool across = (below.dx < 0) != (above.dx < 0) || below.dx == 0 || above.dx == 0;
            EXPECT_TRUE(zero || across) << formula << " at " << static_cast<double>(p.x);
            EXPECT_LE(std::fabs(at.dx), std::max(std::fabs(below.dx), std::fabs(above.dx))) << formula;
        }
        EXPECT_GT(extrema, 0) << formula;
    }
}

// Poles and jumps are breaks, never roots: tg(x) changes sign across every pole.
TEST(NotablePoints, PolesAndJumpsAreBreaksNotRoots) {
    {
        Finder finder({"tg(x)"}, {-5, 5, -10, 10});
        const NotablePoints found = finder.Find();
        // tg is computed in double: its roots are as close as a double can put them.
        ExpectAt(found, PointKind::Root, {-kTruePi, 0, kTruePi}, 4 * 2048, "tg(x)");
        const std::vector<NotablePoint> breaks = OfKind(found, PointKind::Break);
        ASSERT_EQ(breaks.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(static_cast<double>(breaks[i].x), static_cast<double>((i - 1.5L) * kTruePi), 1e-13);
            EXPECT_FALSE(breaks[i].hasY);
        }
        EXPECT_TRUE(OfKind(found, PointKind::Min).empty());
        EXPECT_TRUE(OfKind(found, PointKind::Max).empty());
    }
    const struct {
        const char* formula;
        std::vector<long double> breaks, roots, maxima;
    } cases[] = {
        {"1/(x-2)", {2}, {}, {}},
        {"1/(x-2)+1", {2}, {1}, {}},
        {"abs(x+2)/(x+2)-x", {-2}, {1}, {}},
        {"1/(x*x-2)", {-std::sqrt(2.0L), std::sqrt(2.0L)}, {}, {0}},
        {"sgn(x-0.5)", {0.5L}, {}, {}},
        {"1/(x-2)^2", {2}, {}, {}},
    };
    for (const auto& c : cases) {
        Finder finder({c.formula});
        const NotablePoints found = finder.Find();
        const std::vector<NotablePoint> breaks = OfKind(found, PointKind::Break);
        ASSERT_EQ(breaks.size(), c.breaks.size()) << c.formula;
        for (std::size_t i = 0; i < breaks.size(); ++i)
            EXPECT_NEAR(static_cast<double>(breaks[i].x), static_cast<double>(c.breaks[i]), 1e-13) << c.formula;
        ExpectAt(found, PointKind::Root, c.roots, 4, c.formula);
        ExpectAt(found, PointKind::Max, c.maxima, 4, c.formula);
        EXPECT_TRUE(OfKind(found, PointKind::Min).empty()) << c.formula;
    }
}

// Where the domain ends inside the view, with the last defined value.
TEST(NotablePoints, DomainEndsWithTheirLastValue) {
    {
        Finder finder({"sqrt(16-x*x)"});
        const NotablePoints found = finder.Find();
        const std::vector<NotablePoint> ends = OfKind(found, PointKind::End);
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(ends[0].x, -4);
        EXPECT_EQ(ends[1].x, 4);
        EXPECT_EQ(ends[0].y, 0);
        ExpectAt(found, PointKind::Root, {-4, 4}, 0, "sqrt(16-x*x)");
        ExpectAt(found, PointKind::Max, {0}, 0, "sqrt(16-x*x)");
    }
    {
        Finder finder({"arcsin(x)"}, {-2, 2, -2, 2});
        const NotablePoints found = finder.Find();
        const std::vector<NotablePoint> ends = OfKind(found, PointKind::End);
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(ends[0].x, -1);
        EXPECT_EQ(ends[1].x, 1);
        EXPECT_NEAR(static_cast<double>(ends[1].y), static_cast<double>(kTruePi / 2), 1e-15);
    }
    {
        // ln has values down to the smallest positive number.
        Finder finder({"ln(x)"}, {-2, 3, -5, 5});
        const NotablePoints found = finder.Find();
        const std::vector<NotablePoint> ends = OfKind(found, PointKind::End);
        ASSERT_EQ(ends.size(), 1u);
        EXPECT_GT(ends[0].x, 0);
        EXPECT_LT(ends[0].x, 1e-4940L);
        ExpectAt(found, PointKind::Root, {1}, 0, "ln(x)");
    }
    {
        // An undefined stretch narrower than the sampling is a break, a wider one two ends.
        Finder finder({"sqrt(x*x-1)"});
        const NotablePoints found = finder.Find();
        ExpectAt(found, PointKind::End, {-1, 1}, 0, "sqrt(x*x-1)");
        EXPECT_TRUE(OfKind(found, PointKind::Break).empty());
    }
}

// Crossings are the roots of the difference, never across a break of either curve.
TEST(NotablePoints, CrossingsOfTwoCurves) {
    const struct {
        const char* first;
        const char* second;
        std::vector<long double> xs;
    } cases[] = {
        {"x*x", "2-x", {-2, 1}},
        {"sin(x)", "cos(x)", {}},  // pi/4 + m*pi, below
        {"1/(x-1)", "x", {(1 - std::sqrt(5.0L)) / 2, (1 + std::sqrt(5.0L)) / 2}},
        {"x/4", "sgn(x)", {-4, 4}},
    };
    for (auto c : cases) {
        if (c.xs.empty())
            for (int m = -3; m <= 2; ++m) c.xs.push_back(kTruePi / 4 + m * kTruePi);
        Finder finder({c.first, c.second});
        const NotablePoints found = finder.Find();
        std::vector<long double> xs;
        for (const NotablePoint& p : found.points)
            if (p.kind == PointKind::Cross) {
                EXPECT_EQ(p.curve, 0);
                EXPECT_EQ(p.other, 1);
                xs.push_back(p.x);
            }
        ASSERT_EQ(xs.size(), c.xs.size()) << c.first << " & " << c.second;
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_LE(UlpsApart(xs[i], c.xs[i]), 4) << c.first << " & " << c.second << " " << i;
    }
}

// The same formula twice coincides everywhere: no meeting points, not even at its domain's
// ends; each copy has its own points. In another mode the two are different curves.
TEST(NotablePoints, OneFormulaTwiceHasNoCrossings) {
    for (const char* formula : {"sqrt(16-x*x)", "x^2-3", "tg(x)"}) {
        Finder twice({formula, "x+20", formula});
        const NotablePoints found = twice.Find();
        Finder once({formula});
        const NotablePoints alone = once.Find();
        for (const NotablePoint& p : found.points) {
            if (p.kind == PointKind::Cross) {
                EXPECT_FALSE(p.curve != 1 && p.other != 1) << formula << " " << double(p.x);
            }
        }
        EXPECT_EQ(OfKind(found, PointKind::Root, 2).size(), OfKind(alone, PointKind::Root).size()) << formula;
        EXPECT_EQ(OfKind(found, PointKind::End, 2).size(), OfKind(alone, PointKind::End).size()) << formula;
    }
    Finder modes({"sin(x)", "sin(x)"});
    modes.Formula(1).SetDegrees(true);
    std::size_t crossings = 0;
    for (const NotablePoint& p : modes.Find().points) crossings += p.kind == PointKind::Cross;
    EXPECT_GT(crossings, 0u);
}

// A formula ticked twice is worked out once, yet each of its curves lists, bit for bit, what
// it would alone: its own points, and its crossings with a third curve in the pair's order
// (the curve listed first is the one whose value is given), limits included.
TEST(NotablePoints, AFormulaTwiceListsWhatEachWouldAlone) {
    auto bits = [](const NotablePoint& p) {
        return std::tuple{p.kind, p.curve, p.other, std::string(reinterpret_cast<const char*>(&p.x), 10),
                          std::string(reinterpret_cast<const char*>(&p.y), p.hasY ? 10 : 0)};
    };
    // The points of `from` with curve numbers renamed, in the list's order.
    auto renamed = [&](const NotablePoints& from, std::map<int, int> names) {
        std::vector<NotablePoint> out;
        for (NotablePoint p : from.points) {
            if (!names.count(p.curve) || (p.other >= 0 && !names.count(p.other))) continue;
            p.curve = names[p.curve];
            if (p.other >= 0) p.other = names[p.other];
            out.push_back(p);
        }
        return out;
    };
    int crossingLimits = 0;
    for (const auto& [a, b] : {std::pair{"cos(x^2-3)", "sin(x)"}, std::pair{"sqrt(16-x*x)", "x/3"},
                               std::pair{"tg(x)", "1/(x-1)"}}) {
        for (int threads : {1, 2}) {
            Finder three({a, b, a});
            three.Options().threads = threads;
            three.Options().limit = 30;
            const NotablePoints found = three.Find();
            Finder ab({a, b}), ba({b, a});
            ab.Options().limit = ba.Options().limit = 30;
            const NotablePoints pairAB = ab.Find(), pairBA = ba.Find();
            // Curve 2 and its crossings with curve 1 as {b, a} has them; curves 0, 1 as {a, b}.
            std::vector<NotablePoint> want = renamed(pairAB, {{0, 0}, {1, 1}});
            for (const NotablePoint& p : renamed(pairBA, {{0, 1}, {1, 2}}))
                if (p.curve == 2 || p.kind == PointKind::Cross) want.push_back(p);
            std::sort(want.begin(), want.end(), Before);
            ASSERT_EQ(found.points.size(), want.size()) << a << " " << threads;
            for (std::size_t k = 0; k < want.size(); ++k)
                EXPECT_EQ(bits(found.points[k]), bits(want[k])) << a << " " << threads << " " << k;
            for (const PointLimit& m : pairBA.more)
                if (m.other >= 0) {
                    ++crossingLimits;
                    const PointLimit cut{1, 2, m.kind};
                    EXPECT_NE(std::find(found.more.begin(), found.more.end(), cut), found.more.end()) << a;
                }
        }
    }
    EXPECT_GT(crossingLimits, 0);
}

// Turns hidden between two samples right next to a pole are still found: the subdivision
// that stops following a pole down to the last bits stops only where the curve stays steady.
// The reference is the zero of the slope written out by hand, bisected here.
TEST(NotablePoints, TurnsNextToAPoleAreFound) {
    const struct {
        const char* formula;
        long double c, s, height;  // a bump height * exp(-((x-c)/s)^2) on the pole's curve
        bool tangent;              // tg(x), else 1/x
        long double from, to;      // where to look for the turns
    } cases[] = {
        {"1/x+30*exp(-((x-0.011)/0.002)^2)", 0.011L, 0.002L, 30, false, 0.001L, 0.05L},
        {"tg(x)+1e3*exp(-((x-1.56)/0.002)^2)", 1.56L, 0.002L, 1e3L, true, 1.5L, 1.5705L},
    };
    for (const auto& c : cases) {
        auto slope = [&](long double x) {
            const long double u = (x - c.c) / c.s;
            const long double bump = -2 * c.height * u / c.s * std::exp(-u * u);
            const long double pole = c.tangent ? 1 / (std::cos(x) * std::cos(x)) : -1 / (x * x);
            return pole + bump;
        };
        std::vector<long double> want;
        const long double step = (c.to - c.from) / 200000;
        for (long double x = c.from; x + step <= c.to; x += step) {
            long double lo = x, hi = x + step;
            if ((slope(lo) > 0) == (slope(hi) > 0)) continue;
            for (int k = 0; k < 200 && hi - lo > 0; ++k) {
                const long double m = lo + (hi - lo) / 2;
                if (m == lo || m == hi) break;
                ((slope(m) > 0) == (slope(lo) > 0) ? lo : hi) = m;
            }
            want.push_back(lo);
        }
        ASSERT_EQ(want.size(), 2u) << c.formula;
        Finder finder({c.formula});
        const NotablePoints found = finder.Find();
        std::vector<long double> got;
        for (const NotablePoint& p : found.points)
            if ((p.kind == PointKind::Min || p.kind == PointKind::Max) && p.x > c.from && p.x < c.to) got.push_back(p.x);
        ASSERT_EQ(got.size(), want.size()) << c.formula;
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_LE(std::fabs(got[i] - want[i]), 1e-12L * std::fabs(want[i])) << c.formula << " " << i;
    }
}

// |y| = f(x): where f < 0 nothing is drawn; elsewhere each point has its mirror image, a
// maximum's being a minimum.
TEST(NotablePoints, AbsoluteModeAsDrawn) {
    {
        Finder finder({"sin(x)"}, {0, 7, -2, 2}, true);
        const NotablePoints found = finder.Find();
        ExpectAt(found, PointKind::Root, {0, kTruePi, 2 * kTruePi}, 4, "|y| = sin(x)");
        const std::vector<NotablePoint> maxima = OfKind(found, PointKind::Max);
        const std::vector<NotablePoint> minima = OfKind(found, PointKind::Min);
        ASSERT_EQ(maxima.size(), 1u);
        ASSERT_EQ(minima.size(), 1u);
        EXPECT_LE(UlpsApart(maxima[0].x, kTruePi / 2), 4);
        EXPECT_EQ(maxima[0].y, 1);
        EXPECT_EQ(minima[0].x, maxima[0].x);
        EXPECT_EQ(minima[0].y, -1);
    }
    {
        Finder finder({"x*x-1"}, {-3, 3, -5, 5}, true);
        const NotablePoints found = finder.Find();
        ExpectAt(found, PointKind::Root, {-1, 1}, 4, "|y| = x*x-1");
        EXPECT_TRUE(OfKind(found, PointKind::Min).empty());  // its minimum is below the axis
    }
    {
        // Two curves meet on both branches.
        Finder finder({"x", "2"}, {-5, 5, -5, 5}, true);
        const NotablePoints found = finder.Find();
        std::vector<long double> ys;
        for (const NotablePoint& p : found.points)
            if (p.kind == PointKind::Cross) {
                EXPECT_EQ(p.x, 2);
                ys.push_back(p.y);
            }
        ASSERT_EQ(ys.size(), 2u);
        EXPECT_EQ(ys[0], -2);
        EXPECT_EQ(ys[1], 2);
    }
}

// A flat extremum is named at both ends of its plateau (to within the kink's neighbour, where
// the slope is still exactly 0).
TEST(NotablePoints, FlatExtremumAtBothEnds) {
    Finder finder({"0-abs(x-1)-abs(x+1)"});
    const NotablePoints found = finder.Find();
    ExpectAt(found, PointKind::Max, {-1, 1}, 1, "plateau");
    EXPECT_TRUE(OfKind(found, PointKind::Min).empty());
}

// At most `limit` points of a curve and kind; the list says where more exist.
TEST(NotablePoints, LimitIsSaid) {
    Finder finder({"sin(1/x)"}, {-1, 1, -2, 2});
    const NotablePoints found = finder.Find();
    EXPECT_EQ(OfKind(found, PointKind::Root).size(), 1000u);
    bool saidRoots = false;
    for (const PointLimit& m : found.more) saidRoots = saidRoots || (m.curve == 0 && m.kind == PointKind::Root);
    EXPECT_TRUE(saidRoots);

    Finder few({"sin(x)"});
    few.Options().limit = 3;
    const NotablePoints cut = few.Find();
    EXPECT_EQ(OfKind(cut, PointKind::Root).size(), 3u);
    ASSERT_FALSE(cut.more.empty());
}

// Sorted by x, then in the order root, min, max, inflection, cross, break, end; nothing
// outside the view's x range.
TEST(NotablePoints, SortedByXThenKind) {
    Finder finder({"(x-1)^2", "x-1", "sqrt(x-1)"}, {-3, 3, -3, 3});
    const NotablePoints found = finder.Find();
    ASSERT_FALSE(found.points.empty());
    for (std::size_t i = 1; i < found.points.size(); ++i) {
        const NotablePoint &a = found.points[i - 1], &b = found.points[i];
        EXPECT_TRUE(a.x < b.x || (a.x == b.x && a.kind <= b.kind));
    }
    for (const NotablePoint& p : found.points) {
        EXPECT_GE(p.x, -3);
        EXPECT_LE(p.x, 3);
    }
    // At x = 1: roots of all three, the minimum of the first, the crossings, the end of the third.
    std::vector<PointKind> atOne;
    for (const NotablePoint& p : found.points)
        if (p.x == 1) atOne.push_back(p.kind);
    const std::vector<PointKind> expected = {PointKind::Root,  PointKind::Root,  PointKind::Root,  PointKind::Min,
                                             PointKind::Cross, PointKind::Cross, PointKind::Cross, PointKind::End};
    EXPECT_EQ(atOne, expected);
}

TEST(NotablePoints, EmptyViewHasNoPoints) {
    Finder finder({"x"}, {1, 1, -1, 1});
    EXPECT_TRUE(finder.Find().points.empty());
}

}  // namespace
}  // namespace kq

namespace kq {
namespace {

// Formulas made at random from the language's parts, over views of several sizes and in both
// modes: the finder ends, and what it lists keeps its rules.
TEST(NotablePoints, RandomFormulasKeepTheRules) {
    test::FormulaMaker maker(77);
    const ViewRect views[] = {{-10, 10, -10, 10}, {-0.001L, 0.002L, -1, 1}, {-1e6, 1e6, -1e6, 1e6}};
    for (int i = 0; i < 90; ++i) {
        const std::string formula = maker.Make(4);
        Finder finder({formula, "x/3"}, views[i % 3], i % 2 == 1);
        finder.Options().limit = 200;
        const NotablePoints found = finder.Find();
        const long double lo = finder.Options().view.xmin, hi = finder.Options().view.xmax;
        std::map<std::tuple<int, int, PointKind>, int> counts;
        for (std::size_t k = 0; k < found.points.size(); ++k) {
            const NotablePoint& p = found.points[k];
            SCOPED_TRACE(formula + " " + PointKindWord(p.kind));
            EXPECT_GE(p.x, lo);
            EXPECT_LE(p.x, hi);
            EXPECT_EQ(p.hasY, p.kind != PointKind::Break);
            if (p.hasY) {
                EXPECT_TRUE(std::isfinite(p.y));
            }
            if (k > 0) {
                EXPECT_FALSE(Before(p, found.points[k - 1]));
            }
            const int count = ++counts[std::make_tuple(p.curve, p.other, p.kind)];
            EXPECT_LE(count, 200);
        }
    }
}

}  // namespace
}  // namespace kq

namespace kq {
namespace {

// Shared among threads, the curves and their crossings give the very list one thread gives.
TEST(NotablePoints, ThreadsGiveTheSameList) {
    const std::vector<std::string> formulas = {"sin(3*x)", "x^2/10-1", "1/(x-2)", "rt2(16-x*x)",
                                               "tg(x)",    "log<2>(x)", "abs(x+2)/(x+2)", "cos(x)/2"};
    for (bool degrees : {false, true}) {
        Finder one(formulas, {-10, 10, -10, 10});
        Finder several(formulas, {-10, 10, -10, 10});
        for (std::size_t i = 0; i < formulas.size(); ++i) {
            one.Formula(static_cast<int>(i)).SetDegrees(degrees);
            several.Formula(static_cast<int>(i)).SetDegrees(degrees);
        }
        one.Options().limit = several.Options().limit = 40;
        const NotablePoints alone = one.Find();
        ASSERT_GT(alone.points.size(), 20u);
        for (int threads : {2, 3, 8}) {
            several.Options().threads = threads;
            const NotablePoints shared = several.Find();
            ASSERT_EQ(shared.points.size(), alone.points.size()) << threads;
            for (std::size_t k = 0; k < alone.points.size(); ++k) {
                const NotablePoint& a = alone.points[k];
                const NotablePoint& b = shared.points[k];
                EXPECT_EQ(a.kind, b.kind);
                EXPECT_EQ(a.curve, b.curve);
                EXPECT_EQ(a.other, b.other);
                EXPECT_EQ(std::memcmp(&a.x, &b.x, 10), 0) << PointKindWord(a.kind) << " " << static_cast<double>(a.x);
                EXPECT_EQ(std::memcmp(&a.y, &b.y, 10), 0) << PointKindWord(a.kind) << " " << static_cast<double>(a.x);
            }
            EXPECT_EQ(shared.more, alone.more) << threads;
        }
    }
}

}  // namespace
}  // namespace kq
