// What the surface's box and page write: round z labels, the note on values the box cuts, the
// sampled ranges and the grid's size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "plot/round_ticks.h"
#include "plot/surface_box.h"
#include "plot/surface_grid_text.h"
#include "plot/three_dim_graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

struct TickCase {
    long double low, high;
    long double boxLow, boxHigh, step, first;
    int count;
};

TEST(RoundTicks, RoundStepsAndEndsMovedOutOnlyALittle) {
    for (const TickCase& c : {
             TickCase{-0.9991L, 0.9999L, -1, 1, 0.5L, -1, 5},
             TickCase{-100, 100, -100, 100, 50, -100, 5},
             TickCase{0, 200, 0, 200, 50, 0, 5},
             TickCase{0.0049L, 0.3812L, 0, 0.4L, 0.1L, 0, 5},
             TickCase{4.5L, 5.5L, 4.5L, 5.5L, 0.5L, 4.5L, 3},
             TickCase{-20, 18.22L, -20, 20, 10, -20, 5},
             TickCase{44.1L, 51.3L, 44, 51.3L, 2, 44, 4},     // 52 is too far above
             TickCase{-1.11L, 100, -1.11L, 100, 50, 0, 3},    // and -50 too far below
             TickCase{-3e-7L, 7e-7L, -3e-7L, 7e-7L, 5e-7L, 0, 2},
             TickCase{1e300L, 3e300L, 1e300L, 3e300L, 5e299L, 1e300L, 5},
         }) {
        const RoundTicks t = RoundTicksFor(c.low, c.high, kMostZTicks);
        const double tolerance = static_cast<double>(c.step) * 1e-9;
        EXPECT_NEAR(static_cast<double>(t.step), static_cast<double>(c.step), tolerance) << static_cast<double>(c.low);
        EXPECT_NEAR(static_cast<double>(t.low), static_cast<double>(c.boxLow), tolerance) << static_cast<double>(c.low);
        EXPECT_NEAR(static_cast<double>(t.high), static_cast<double>(c.boxHigh), tolerance)
            << static_cast<double>(c.low);
        ASSERT_EQ(t.Count(), c.count) << static_cast<double>(c.low);
        EXPECT_NEAR(static_cast<double>(t.Value(0)), static_cast<double>(c.first), tolerance);
        // Never narrower than asked, and every label inside.
        EXPECT_LE(t.low, c.low + tolerance);
        EXPECT_GE(t.high, c.high - tolerance);
        for (int k = 0; k < t.Count(); ++k) {
            EXPECT_GE(t.Value(k), t.low - tolerance);
            EXPECT_LE(t.Value(k), t.high + tolerance);
        }
    }
    // The widest finite range: the ends that cannot move stay put.
    const long double most = std::numeric_limits<long double>::max();
    const RoundTicks huge = RoundTicksFor(-most, most, kMostZTicks);
    EXPECT_TRUE(std::isfinite(huge.low) && std::isfinite(huge.high) && std::isfinite(huge.step));
    EXPECT_LT(huge.low, huge.high);
    EXPECT_GE(huge.Count(), 2);
    for (int k = 0; k < huge.Count(); ++k) EXPECT_TRUE(std::isfinite(huge.Value(k)));
}

TEST(RoundTicks, ValuesAreWrittenWithTheDigitsTheirStepNeeds) {
    struct Case {
        long double value, step;
        const char* text;
    };
    for (const Case& c : {Case{-1, 0.5L, "-1"}, Case{0.5L, 0.5L, "0.5"}, Case{-0.0L, 0.5L, "0"},
                          Case{0.30000000000000004L, 0.1L, "0.3"}, Case{-100, 50, "-100"}, Case{0.05L, 0.05L, "0.05"},
                          Case{2.5e-7L, 5e-8L, "2.5e-07"}, Case{1e20L, 5e19L, "1e+20"},
                          Case{1.00000000000005e20L, 5e4L, "1.00000000000005e+20"}, Case{-1e-9L, 0.1L, "0"}})
        EXPECT_EQ(TickText(c.value, c.step), c.text) << static_cast<double>(c.value);
    // Every label of a range reads back as its own value, to a hair.
    const RoundTicks t = RoundTicksFor(-0.37L, 0.52L, kMostZTicks);
    ASSERT_GE(t.Count(), 4);
    for (int k = 0; k < t.Count(); ++k)
        EXPECT_NEAR(std::stod(TickText(t.Value(k), t.step)), static_cast<double>(t.Value(k)), 1e-15) << k;
}

TEST(RoundTicks, RoughValuesKeepFourDigits) {
    struct Case {
        long double value;
        const char* text;
    };
    for (const Case& c : {Case{4999.9999999999997917L, "5000"}, Case{1.0L / 3, "0.3333"}, Case{-12.5L, "-12.5"},
                          Case{123456, "123456"}, Case{1.2345e20L, "1.234e+20"}, Case{0, "0"},
                          Case{-2e-5L, "-2e-05"}, Case{0.05L, "0.05"}})
        EXPECT_EQ(RoughText(c.value), c.text) << static_cast<double>(c.value);
}

std::vector<std::string> TextsOf(ThreeDimGraphiq& s, int w = 640, int h = 480) {
    RecordingCanvas c;
    s.Draw(c, w, h);
    std::vector<std::string> out;
    for (const auto& call : c.calls)
        if (call[0] == 'T') out.push_back(call.substr(call.find(' ', call.find(' ', 2) + 1) + 1));
    return out;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(SurfaceNote, SaysWhichValuesTheBoxLeavesOut) {
    struct Case {
        const char* formula;
        const char* note;
    };
    for (const Case& c : {
             Case{"1/(x*x+y*y)", "z обрезано: значения до 5000 вне рамки"},
             Case{"-1/(x*x+y*y)", "z обрезано: значения до -5000 вне рамки"},
             Case{"1/(x*y)", "z обрезано: значения до -111.1 и до 10000 вне рамки"},
             Case{"cos(rt2(x*x+y*y))", ""},
             Case{"x*y", ""},
             Case{"7", ""},
             Case{"ln(0-1-x*x)", ""},  // no value at all: nothing is cut
         }) {
        ThreeDimGraphiq s;
        s.SetFormula(c.formula);
        EXPECT_EQ(CutNote(s.Range()), c.note) << c.formula;
        const auto texts = TextsOf(s);
        if (*c.note)
            EXPECT_TRUE(Has(texts, c.note)) << c.formula;
        else
            EXPECT_FALSE(std::any_of(texts.begin(), texts.end(), [](auto& t) { return t.find("обрезано") != t.npos; }));
    }
}

TEST(SurfaceNote, SitsAtTheFootOfThePictureOnItsBackground) {
    ThreeDimGraphiq s;
    s.SetFormula("1/(x*x+y*y)");
    RecordingCanvas c;
    s.Draw(c, 500, 300, Rgb{255, 255, 255});
    const auto note = std::find_if(c.calls.begin(), c.calls.end(),
                                   [](auto& call) { return call.find("обрезано") != std::string::npos; });
    ASSERT_NE(note, c.calls.end());
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(note->c_str(), "T %d %d", &x, &y), 2);
    EXPECT_LT(x, 10);
    EXPECT_EQ(y + RecordingCanvas::kTextHeight + 3, 300);
    // Written in its colour over a patch of the background.
    EXPECT_EQ(*std::prev(note), "fontcolor 160,0,0");
    EXPECT_EQ(c.polygons.size(), 1u);  // the patch; the surface itself is lines
    EXPECT_NE(std::find(c.calls.begin(), note, "P 255,255,255"), note);
}

TEST(SurfaceLabels, ZIsLabelledAtRoundValuesAlongItsEdge) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");  // from -0.9991 to 0.9999
    const auto texts = TextsOf(s);
    for (const char* t : {"-1", "-0.5", "0", "0.5", "1"}) EXPECT_TRUE(Has(texts, t)) << t;
    EXPECT_FALSE(Has(texts, "0.9999"));
    EXPECT_FALSE(Has(texts, "-0.9991"));
    // A stroke at each value, on the edge, and the values placed in order along it.
    const BoxAxes axes = s.Axes();
    const Projector p = s.View().For(640, 480);
    const auto ticks = BoxTicks(p, axes);
    ASSERT_EQ(ticks.size(), 5u);
    for (std::size_t k = 1; k < ticks.size(); ++k) EXPECT_LT(ticks[k].from.y, ticks[k - 1].from.y);  // upward
    for (const BoxTick& t : ticks) EXPECT_NEAR(std::hypot(t.to.x - t.from.x, t.to.y - t.from.y), 4, 1e-9);
}

// Where a label's text lies, its anchor placed as the label says.
struct Box {
    double left, top, right, bottom;
};
Box BoxOf(const BoxLabel& l) {
    const double w = static_cast<double>(l.text.size()) * RecordingCanvas::kCharWidth, h = RecordingCanvas::kTextHeight;
    double x = l.x, y = l.y;
    if (l.horizontal == BoxLabel::Align::Centre) x -= w / 2;
    if (l.horizontal == BoxLabel::Align::End) x -= w;
    if (l.vertical == BoxLabel::Align::Centre) y -= h / 2;
    if (l.vertical == BoxLabel::Align::End) y -= h;
    return {x, y, x + w, y + h};
}

TEST(SurfaceLabels, CrowdedValuesAreLeftOutNotOverwritten) {
    ThreeDimGraphiq s;
    s.SetFormula("x*y");
    const TextMeasure measure = [](const std::string& text, int) {
        return Size{static_cast<int>(text.size()) * RecordingCanvas::kCharWidth, RecordingCanvas::kTextHeight};
    };
    std::size_t most = 0, fewest = 100;
    for (const auto& [w, h] : {std::pair{640, 480}, {300, 200}, {160, 120}}) {
        const auto labels = BoxLabels(s.View().For(w, h), s.Axes(), measure);
        // The z numbers come after the names of x and y, before the name of z.
        std::vector<BoxLabel> z;
        int names = 0;
        for (const BoxLabel& l : labels) {
            if (l.points == 11)
                ++names;
            else if (names == 2)
                z.push_back(l);
        }
        most = std::max(most, z.size());
        fewest = std::min(fewest, z.size());
        for (std::size_t i = 0; i < z.size(); ++i)
            for (std::size_t j = i + 1; j < z.size(); ++j) {
                const Box a = BoxOf(z[i]), b = BoxOf(z[j]);
                EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                    << w << ": " << z[i].text << " / " << z[j].text;
            }
    }
    EXPECT_EQ(most, 5u);    // -100, -50, 0, 50, 100 where there is room
    EXPECT_LT(fewest, 5u);  // fewer where there is not
    EXPECT_GE(fewest, 2u);  // but always the ends
}

TEST(SurfaceLabels, XAndYGiveTheSampledRange) {
    ThreeDimGraphiq s;
    s.SetFormula("x");
    for (long double step : {0.91L, 0.3L, 3.0L, 0.05L}) {
        s.SetStep(step);
        const BoxAxes a = s.Axes();
        EXPECT_EQ(a.xLow, -10);
        EXPECT_EQ(a.xHigh, 10);
        EXPECT_EQ(a.yLow, -10);
        EXPECT_EQ(a.yHigh, 10);
        EXPECT_EQ(a.z.lowest, -10);
        EXPECT_EQ(a.z.highest, 10);
    }
}

TEST(SurfacePage, GridLabelSaysHowManyLinesAreDrawn) {
    struct Case {
        int intervals, stride;
        const char* text;
    };
    for (const Case& c : {Case{22, 1, "23 × 23 точек"}, Case{50, 1, "51 × 51 точек"},
                          Case{400, 8, "401 × 401 точек, линий на рисунке: 51 × 51"},
                          Case{67, 2, "68 × 68 точек, линий на рисунке: 35 × 35"},
                          Case{134, 3, "135 × 135 точек, линий на рисунке: 46 × 46"}})
        EXPECT_EQ(GridSizeText(c.intervals, c.stride), c.text) << c.intervals;
    // As many as the picture has.
    for (long double step : {0.91L, 0.3L, 0.15L, 0.07L, 0.05L}) {
        ThreeDimGraphiq s;
        s.SetFormula("x*y");
        s.SetStep(step);
        const SurfaceGeometry& g = s.Geometry();
        std::vector<double> columns;
        for (std::size_t e = 0; e < g.edges.size(); e += 2) {
            const BoxPoint &a = g.vertices[g.edges[e]], &b = g.vertices[g.edges[e + 1]];
            if (a.x == b.x) columns.push_back(a.x);
        }
        std::sort(columns.begin(), columns.end());
        columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
        EXPECT_EQ(static_cast<int>(columns.size()), DrawnGridLines(s.Mesh().Intervals(), g.lineStride))
            << static_cast<double>(step);
    }
    EXPECT_EQ(BadStepText(0.91L), "Шаг сетки — число от 0.05 до 5; пока действует шаг 0.91");
}

}  // namespace
}  // namespace kq
