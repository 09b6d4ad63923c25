// The surface plotter drawing on a recording canvas: hidden lines, poles, planes, constants,
// turning, and evaluating only when something that changes the values changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/angle_mode.h"
#include "plot/surface_box.h"
#include "plot/three_dim_graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

RecordingCanvas DrawnBy(ThreeDimGraphiq& s, int w = 640, int h = 480) {
    RecordingCanvas c;
    s.Draw(c, w, h);
    return c;
}

std::vector<std::string> Texts(const RecordingCanvas& c) {
    std::vector<std::string> out;
    for (const auto& call : c.calls)
        if (call[0] == 'T') out.push_back(call.substr(call.find(' ', call.find(' ', 2) + 1) + 1));
    return out;
}

TEST(ThreeDimGraphiq, DrawsBackgroundBoxCellsAndLabelsInThatOrder) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");
    const RecordingCanvas c = DrawnBy(s);
    ASSERT_FALSE(c.calls.empty());
    EXPECT_EQ(c.calls.front(), "fill 242,242,242");
    const auto firstPolygon = std::find(c.calls.begin(), c.calls.end(), "P 242,242,242");
    const auto firstText = std::find_if(c.calls.begin(), c.calls.end(), [](auto& call) { return call[0] == 'T'; });
    ASSERT_NE(firstPolygon, c.calls.end());
    EXPECT_LT(firstPolygon, firstText);
    // Far box edges come before the surface.
    EXPECT_LT(std::find(c.calls.begin(), c.calls.end(), "pen 175,175,175"), firstPolygon);
    EXPECT_EQ(c.polygons.size(), 21u * 21u);
    const auto texts = Texts(c);
    for (const char* t : {"x", "y", "z", "-10", "10"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    // The z range is written as the box spans it.
    EXPECT_NE(std::find(texts.begin(), texts.end(), RangeText(s.Range().high)), texts.end());
}

TEST(ThreeDimGraphiq, CellsAreDrawnBackToFront) {
    // Seen from straight above, z = x is nearer the eye the farther right: cells must come
    // left to right, whatever the order of the grid.
    ThreeDimGraphiq s;
    for (const char* formula : {"x", "0-x"}) {
        s.SetFormula(formula);
        for (bool perspective : {false, true}) {
            s.View().SetPerspective(perspective);
            s.View().SetAngles(90, 0);
            const RecordingCanvas c = DrawnBy(s, 500, 500);
            ASSERT_EQ(c.polygons.size(), 21u * 21u);
            const double sign = formula[0] == 'x' ? 1 : -1;
            double previous = -1e9;
            for (const auto& q : c.polygons) {
                const double x = sign * (q[0].x + q[1].x + q[2].x + q[3].x) / 4;
                if (!perspective) {
                    EXPECT_GE(x, previous - 1e-9);
                }
                previous = x;
            }
            // In perspective the order is by distance from the eye: the nearest cell last.
            const auto& last = c.polygons.back();
            EXPECT_GT(sign * (last[0].x - 250), 100) << formula;
        }
    }
}

TEST(ThreeDimGraphiq, PlaneProjectsToParallelograms) {
    ThreeDimGraphiq s;
    s.SetFormula("x+y");
    s.View().SetPerspective(false);
    for (double spin : {-35.0, 10.0, 100.0}) {
        s.View().SetAngles(25, spin);
        const RecordingCanvas c = DrawnBy(s);
        ASSERT_EQ(c.polygons.size(), 21u * 21u);  // nothing cut: the plane fits its box
        for (const auto& q : c.polygons) {
            ASSERT_EQ(q.size(), 4u);
            EXPECT_NEAR(q[0].x + q[2].x, q[1].x + q[3].x, 1e-9);
            EXPECT_NEAR(q[0].y + q[2].y, q[1].y + q[3].y, 1e-9);
        }
    }
    // In perspective the far cells come out smaller than the near ones.
    s.View().SetPerspective(true);
    const RecordingCanvas c = DrawnBy(s);
    auto area = [](const std::vector<CanvasPoint>& q) {
        double a = 0;
        for (std::size_t k = 0; k < q.size(); ++k)
            a += q[k].x * q[(k + 1) % q.size()].y - q[(k + 1) % q.size()].x * q[k].y;
        return std::fabs(a) / 2;
    };
    EXPECT_LT(area(c.polygons.front()), area(c.polygons.back()) * 0.8);
}

TEST(ThreeDimGraphiq, PoleStaysInsideItsBox) {
    ThreeDimGraphiq s;
    s.SetFormula("1/(x*x+y*y-4)");
    for (double step : {0.91, 0.3, 0.05}) {
        s.SetStep(step);
        const SurfaceGeometry& g = s.Geometry();
        ASSERT_GT(g.PolygonCount(), 300u);
        bool cut = false;
        for (std::size_t k = 0; k < g.PolygonCount(); ++k) {
            double lowest = 1e9, highest = -1e9;
            for (std::uint32_t i = g.starts[k]; i < g.starts[k + 1]; ++i) {
                const BoxPoint& v = g.vertices[g.indices[i]];
                lowest = std::min(lowest, v.z);
                highest = std::max(highest, v.z);
            }
            EXPECT_GE(lowest, -kBoxHalfHeight);
            EXPECT_LE(highest, kBoxHalfHeight);
            cut = cut || highest == kBoxHalfHeight;
            // No wall from floor to ceiling joins the two sides of the pole.
            EXPECT_LT(highest - lowest, 1.6 * kBoxHalfHeight) << step;
        }
        EXPECT_TRUE(cut) << "the pole is cut at the top face";
    }
    // On the canvas: nothing outside the box's outline.
    s.SetStep(0.2);
    const Projector p = s.View().For(640, 480);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (double x : {-1.0, 1.0})
        for (double y : {-1.0, 1.0})
            for (double z : {-kBoxHalfHeight, kBoxHalfHeight}) {
                const ScreenPoint q = p({x, y, z});
                left = std::min(left, q.x), right = std::max(right, q.x);
                top = std::min(top, q.y), bottom = std::max(bottom, q.y);
            }
    const RecordingCanvas c = DrawnBy(s);
    for (const auto& polygon : c.polygons)
        for (const CanvasPoint& q : polygon) {
            EXPECT_GE(q.x, left - 1e-6);
            EXPECT_LE(q.x, right + 1e-6);
            EXPECT_GE(q.y, top - 1e-6);
            EXPECT_LE(q.y, bottom + 1e-6);
        }
}

TEST(ThreeDimGraphiq, TangentPolesLeaveGapsNotWalls) {
    ThreeDimGraphiq s;
    s.SetFormula("tg(x)");
    const SurfaceGeometry& g = s.Geometry();
    const int n = s.Mesh().Intervals();
    // No cell spans a pole of tg at (k + 1/2) pi.
    for (std::uint32_t cell : g.cells) {
        const double x0 = static_cast<double>(s.Mesh().X(static_cast<int>(cell % n))), x1 = x0 + 0.91;
        const double k = std::floor(x0 / M_PI - 0.5);
        const double pole = (k + 1.5) * M_PI;
        EXPECT_FALSE(x0 < pole && pole < x1) << x0;
    }
    EXPECT_GT(g.PolygonCount(), 200u);
}

TEST(ThreeDimGraphiq, ConstantIsAFlatSquareInTheMiddleOfItsBox) {
    ThreeDimGraphiq s;
    s.SetFormula("3");
    EXPECT_EQ(s.Geometry().PolygonCount(), 21u * 21u);
    for (const BoxPoint& p : s.Geometry().vertices) EXPECT_EQ(p.z, 0);
    const auto texts = Texts(DrawnBy(s));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "2.5"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "3.5"), texts.end());
}

TEST(ThreeDimGraphiq, NoValuesAnywhereDrawsTheEmptyBox) {
    ThreeDimGraphiq s;
    s.SetFormula("ln(0-x*x-y*y-1)");
    const RecordingCanvas c = DrawnBy(s);
    EXPECT_TRUE(c.polygons.empty());
    EXPECT_FALSE(c.Strokes().empty());
    RecordingCanvas none;
    s.Draw(none, 0, 100);
    EXPECT_TRUE(none.calls.empty());
}

TEST(ThreeDimGraphiq, FullTurnGivesTheSamePicture) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))+x/10");
    for (bool perspective : {true, false}) {
        s.View().SetPerspective(perspective);
        const auto before = DrawnBy(s).calls;
        s.View().Turn(0, 360);
        EXPECT_EQ(DrawnBy(s).calls, before);
        s.View().Turn(-360, 0);
        EXPECT_EQ(DrawnBy(s).calls, before);
        for (int k = 0; k < 72; ++k) s.View().Turn(5, -5);
        EXPECT_EQ(DrawnBy(s).calls, before);
        s.View().Turn(0, 90);
        EXPECT_NE(DrawnBy(s).calls, before);
        s.View().Turn(0, 270);
        EXPECT_EQ(DrawnBy(s).calls, before);
    }
}

TEST(ThreeDimGraphiq, EvaluatesOnlyWhenValuesCanChange) {
    ThreeDimGraphiq s;
    s.SetFormula("sin(x)*y");
    DrawnBy(s);
    const auto evaluated = s.EvaluationCount();
    s.View().Turn(10, 20);
    s.View().Zoom(1.5);
    s.View().SetPerspective(false);
    DrawnBy(s, 300, 200);
    DrawnBy(s, 1000, 700);
    s.SetStep(kInitialGridStep);
    s.SetDegrees(false);
    s.SetRounding(-1);
    EXPECT_EQ(s.EvaluationCount(), evaluated);

    const long double radians = s.Mesh().Z(20, 20);
    s.SetDegrees(true);
    EXPECT_NE(s.Mesh().Z(20, 20), radians);
    EXPECT_FALSE(DegreesMode()) << "the process's unit is left as it was";
    s.SetRounding(1);
    const long double rounded = s.Mesh().Z(20, 20);
    EXPECT_EQ(rounded, std::round(rounded * 10) / 10);
    s.SetStep(0.5);
    EXPECT_EQ(s.Mesh().Side(), 41);
    s.SetFormula("x");
    EXPECT_EQ(s.Mesh().Z(40, 0), 10);
    EXPECT_EQ(s.EvaluationCount(), evaluated + 4);
}

}  // namespace
}  // namespace kq
