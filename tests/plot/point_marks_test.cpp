// The markers of notable points on the renderer's canvas, the query of what a graph draws, and
// the trace's reading of the curves under the pointer.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/curve_trace.h"
#include "plot/graphiq.h"
#include "plot/point_marks.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

constexpr ViewRect kView{-10, 10, -5, 5};  // on 200 x 100: 10 pixels a unit, origin at (100, 50)

Rgb Colour(int curve) { return {static_cast<std::uint8_t>(curve * 10), 0, 0}; }

TEST(PointMarks, ShapeAndColourByKind) {
    struct Case {
        NotablePoint point;
        int polygons, polylines;
    };
    const std::vector<Case> cases = {
        {{PointKind::Root, 1, -1, 2, 0, true}, 1, 0},
        {{PointKind::Min, 2, -1, 0, -4, true}, 1, 0},
        {{PointKind::Max, 3, -1, 0, 4, true}, 1, 0},
        {{PointKind::Inflection, 1, -1, 1, 1, true}, 1, 0},
        {{PointKind::End, 1, -1, 4, 0, true}, 1, 0},
        {{PointKind::Cross, 4, 5, -1, 1, true}, 0, 2},
        {{PointKind::Break, 5, -1, 3, 0, false}, 0, 1},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        const std::vector<NotablePoint> points{c.point};
        DrawPointMarks(canvas, kView, 200, 100, points, Colour, 4);
        EXPECT_EQ(static_cast<int>(canvas.polygons.size()), c.polygons) << PointKindWord(c.point.kind);
        EXPECT_EQ(static_cast<int>(canvas.polylines.size()), c.polylines) << PointKindWord(c.point.kind);
        // Drawn about the point's place, in its curve's colour.
        const double cx = 100 + 10 * static_cast<double>(c.point.x);
        const double cy = 50 - 10 * static_cast<double>(c.point.hasY ? c.point.y : 0);
        const auto& shape = c.polygons ? canvas.polygons[0] : canvas.polylines[0];
        double sx = 0, sy = 0, reach = 0;
        for (const CanvasPoint& p : shape) {
            sx += p.x / shape.size();
            sy += p.y / shape.size();
            reach = std::max(reach, std::hypot(p.x - cx, p.y - cy));
        }
        EXPECT_NEAR(sx, cx, c.polylines == 2 ? 0.01 : 0.5) << PointKindWord(c.point.kind);
        EXPECT_NEAR(sy, cy, c.polylines == 2 ? 4.1 : 0.5) << PointKindWord(c.point.kind);
        EXPECT_LE(reach, 4 * std::sqrt(2.0) + 1e-9);
        const Rgb ink = Colour(c.point.curve);
        const std::string pen = "pen " + std::to_string(ink.r) + "," + std::to_string(ink.g) + "," + std::to_string(ink.b);
        EXPECT_NE(std::find(canvas.calls.begin(), canvas.calls.end(), pen), canvas.calls.end()) << canvas.calls[0];
    }
}

TEST(PointMarks, OutsideTheCanvasNothingIsDrawn) {
    RecordingCanvas canvas;
    const std::vector<NotablePoint> points{{PointKind::Max, 0, -1, 0, 50, true}, {PointKind::Min, 0, -1, 0, -50, true}};
    DrawPointMarks(canvas, kView, 200, 100, points, Colour, 4);
    EXPECT_TRUE(canvas.polygons.empty());
}

TEST(PointMarks, TheNearestMarkWithinReach) {
    const std::vector<NotablePoint> points{{PointKind::Root, 0, -1, -2, 0, true},
                                           {PointKind::Min, 0, -1, 0, -4, true},
                                           {PointKind::Root, 0, -1, 2, 0, true}};
    EXPECT_EQ(MarkAt(kView, 200, 100, points, 121, 51, 5), std::optional<std::size_t>(2));
    EXPECT_EQ(MarkAt(kView, 200, 100, points, 100, 88, 5), std::optional<std::size_t>(1));
    EXPECT_EQ(MarkAt(kView, 200, 100, points, 110, 50, 5), std::nullopt);
}

TEST(PointMarks, TheQueryIsWhatTheGraphDraws) {
    Graphiq g;
    g.SetFormula("x^2");
    g.Reserve(3);
    g.SetListFormula(1, "sin(x)");
    g.SetListFormula(2, "x");
    g.SetListFormula(3, "not drawn");
    g.SetListCount(2);
    g.SetAbsoluteMode(true);
    g.SetDegrees(true);
    g.SetView({-1, 2, -3, 4}, false);
    const PointQuery q = QueryOfGraph(g, 640);
    EXPECT_EQ(q.formulas, (std::vector<std::string>{"x^2", "sin(x)", "x"}));
    EXPECT_EQ(q.numbers, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(q.view, (ViewRect{-1, 2, -3, 4}));
    EXPECT_EQ(q.columns, 640);
    EXPECT_TRUE(q.absolute);
    EXPECT_TRUE(q.degrees);
}

// Near a curve the trace snaps onto it with its slope; in |y| mode onto either branch.
TEST(CurveTrace, SnapsOntoTheNearestCurve) {
    Graphiq g;
    g.SetFormula("x^2-4");
    g.Reserve(1);
    g.SetListFormula(1, "x+2");
    g.SetListCount(1);
    g.SetView(kView, false);
    struct Case {
        bool absolute;
        long double x;
        double row;
        int curve;  // -1: none
        long double y, slope;
    };
    const std::vector<Case> cases = {
        {false, 1, 50 + 30 + 2, 0, -3, 2},   // 2 px under the parabola at x = 1
        {false, 1, 50 - 30 - 1, 1, 3, 1},    // 1 px over x + 2
        {false, 1, 50, -1, 0, 0},            // far from both
        {true, 2.5, 50 + 22.5 + 1, 0, -2.25, -5},  // the lower branch of |y| = x^2 - 4
        {true, 2.5, 50 - 45, 1, 4.5, 1},
        {true, 0, 50 + 40, -1, 0, 0},        // x^2 - 4 < 0: not drawn there
    };
    for (const Case& c : cases) {
        g.SetAbsoluteMode(c.absolute);
        const TraceReading r = ReadCurves(g, c.x, c.row, 200, 100, 5);
        ASSERT_EQ(r.values.size(), 2u);
        EXPECT_EQ(*r.values[0].value, c.x * c.x - 4);
        EXPECT_EQ(*r.values[1].value, c.x + 2);
        if (c.curve < 0) {
            EXPECT_FALSE(r.snap) << static_cast<double>(c.x);
            continue;
        }
        ASSERT_TRUE(r.snap) << static_cast<double>(c.x);
        EXPECT_EQ(r.snap->curve, c.curve);
        EXPECT_EQ(r.snap->y, c.y);
        ASSERT_TRUE(r.snap->slope);
        EXPECT_EQ(*r.snap->slope, c.slope);
    }
}

TEST(CurveTrace, TheLineNamesEveryCurve) {
    Graphiq g;
    g.SetFormula("x^2-4");
    g.Reserve(2);
    g.SetListFormula(1, "x+2");
    g.SetListFormula(2, "ln(x)");
    g.SetListCount(2);
    g.SetView(kView, false);
    const auto at = ReadPointer(kView, 200, 100, 110, 82);  // x = 1, 2 px under the parabola
    ASSERT_TRUE(at);
    const auto pieces = TraceLine(g, *at, ReadCurves(g, at->x, 82, 200, 100, 5));
    std::string text;
    for (const TracePiece& p : pieces) text += p.text;
    EXPECT_EQ(text, "x = 1.0   y = -3.0   f(x) = -3.0   наклон = 2   x+2 = 3.0   ln(x) = 0.0");
}

}  // namespace
}  // namespace kq
