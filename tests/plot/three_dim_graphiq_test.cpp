// The surface plotter drawing on a recording canvas: hidden lines, poles, planes, constants,
// turning, and evaluating only when something that changes the values changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "plot/surface_box.h"
#include "plot/three_dim_graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

// Cells filled back to front, unless asked for the visible lines.
RecordingCanvas DrawnBy(ThreeDimGraphiq& s, int w = 640, int h = 480, SurfaceStyle style = SurfaceStyle::Filled) {
    RecordingCanvas c;
    s.Draw(c, w, h, kSurfaceBackground, style);
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
    EXPECT_EQ(c.polygons.size(), 22u * 22u);
    const auto texts = Texts(c);
    // The z range is written at round values: the surface spans -1..1.
    for (const char* t : {"x", "y", "z", "-10", "10", "-1", "1"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
}

// The painter's result checked against a depth buffer: at sample pixels, the polygon painted
// last must be the nearest one there. Parallel projection, where depth is linear on the canvas.
TEST(ThreeDimGraphiq, PainterAgreesWithADepthBuffer) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");
    s.SetStep(0.5);
    s.View().SetPerspective(false);
    struct Tri {
        ScreenPoint a, b, c;
    };
    // Depth at (x, y) when the point is inside the triangle.
    auto depthAt = [](const Tri& t, double x, double y, double& depth) {
        const double d = (t.b.y - t.c.y) * (t.a.x - t.c.x) + (t.c.x - t.b.x) * (t.a.y - t.c.y);
        if (std::fabs(d) < 1e-12) return false;
        const double l1 = ((t.b.y - t.c.y) * (x - t.c.x) + (t.c.x - t.b.x) * (y - t.c.y)) / d;
        const double l2 = ((t.c.y - t.a.y) * (x - t.c.x) + (t.a.x - t.c.x) * (y - t.c.y)) / d;
        const double l3 = 1 - l1 - l2;
        if (l1 < 0 || l2 < 0 || l3 < 0) return false;
        depth = l1 * t.a.depth + l2 * t.b.depth + l3 * t.c.depth;
        return true;
    };
    for (const auto& [tilt, spin] : {std::pair{35.0, -35.0}, {12.0, 20.0}, {-30.0, 120.0}, {70.0, 200.0}}) {
        s.View().SetAngles(tilt, spin);
        const int w = 640, h = 480;
        const Projector p = s.View().For(w, h);
        const SurfaceGeometry& g = s.Geometry();
        const std::vector<std::uint32_t> order = s.DrawingOrder(p);
        std::vector<std::size_t> paintedAt(order.size());
        for (std::size_t k = 0; k < order.size(); ++k) paintedAt[order[k]] = k;
        std::vector<std::vector<Tri>> tris(g.PolygonCount());
        for (std::size_t k = 0; k < g.PolygonCount(); ++k)
            for (std::uint32_t c = g.starts[k] + 1; c + 1 < g.starts[k + 1]; ++c)
                tris[k].push_back({p(g.vertices[g.indices[g.starts[k]]]), p(g.vertices[g.indices[c]]),
                                   p(g.vertices[g.indices[c + 1]])});
        int checked = 0, wrong = 0;
        for (double y = 2.5; y < h; y += 5) {
            for (double x = 2.5; x < w; x += 5) {
                double nearest = 1e9, second = 1e9;
                std::size_t nearestPolygon = 0, lastPainted = 0;
                bool any = false;
                for (std::size_t k = 0; k < tris.size(); ++k) {
                    for (const Tri& t : tris[k]) {
                        double depth = 0;
                        if (!depthAt(t, x, y, depth)) continue;
                        if (depth < nearest) {
                            second = nearest;
                            nearest = depth;
                            nearestPolygon = k;
                        } else if (depth < second) {
                            second = depth;
                        }
                        if (!any || paintedAt[k] > paintedAt[lastPainted]) lastPainted = k;
                        any = true;
                    }
                }
                // Where two faces nearly meet either answer is right.
                if (!any || second - nearest < 0.02) continue;
                ++checked;
                if (lastPainted != nearestPolygon) ++wrong;
            }
        }
        EXPECT_GT(checked, 1500) << tilt << " " << spin;
        EXPECT_EQ(wrong, 0) << tilt << " " << spin;
    }
}

TEST(ThreeDimGraphiq, NearerCellsArePaintedLaterInPerspective) {
    // From straight above, the eye is over the middle: the cells round it hide the others.
    ThreeDimGraphiq s;
    s.SetFormula("x*x/10+y");
    s.View().SetAngles(90, 0);
    const Projector p = s.View().For(400, 400);
    const std::vector<std::uint32_t> order = s.DrawingOrder(p);
    const SurfaceGeometry& g = s.Geometry();
    const SurfaceMesh& mesh = s.Mesh();
    const int n = mesh.Intervals();
    // How far the cell's middle is from the point under the eye, along x plus along y.
    auto distance = [&](std::uint32_t polygon) {
        const int i = static_cast<int>(g.cells[polygon] % n), j = static_cast<int>(g.cells[polygon] / n);
        return std::fabs(mesh.X(i) + mesh.X(i + 1)) / 2 + std::fabs(mesh.Y(j) + mesh.Y(j + 1)) / 2;
    };
    for (std::uint32_t k : order) {
        EXPECT_GE(distance(k), distance(order.back()));
        EXPECT_LE(distance(k), distance(order.front()));
    }
    EXPECT_LT(distance(order.back()), 0.91);
    EXPECT_GT(distance(order.front()), 18);
    // Turned to look from the side, the far row comes first.
    s.View().SetAngles(10, 0);
    const std::vector<std::uint32_t>& side = s.DrawingOrder(s.View().For(400, 400));
    EXPECT_EQ(g.cells[side.front()] / n, 21u);
    EXPECT_EQ(g.cells[side.back()] / n, 0u);
}

TEST(ThreeDimGraphiq, PlaneProjectsToParallelograms) {
    ThreeDimGraphiq s;
    s.SetFormula("x+y");
    s.View().SetPerspective(false);
    for (double spin : {-35.0, 10.0, 100.0}) {
        s.View().SetAngles(25, spin);
        const RecordingCanvas c = DrawnBy(s);
        ASSERT_EQ(c.polygons.size(), 22u * 22u);  // nothing cut: the plane fits its box
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
    const std::size_t cells = s.Geometry().PolygonCount();
    ASSERT_GE(c.polygons.size(), cells);
    for (std::size_t k = 0; k < cells; ++k)  // the cells (the note's background after them)
        for (const CanvasPoint& q : c.polygons[k]) {
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
        const double k = std::floor(x0 / std::numbers::pi - 0.5);
        const double pole = (k + 1.5) * std::numbers::pi;
        EXPECT_FALSE(x0 < pole && pole < x1) << x0;
    }
    EXPECT_GT(g.PolygonCount(), 200u);
}

TEST(ThreeDimGraphiq, FineGridFillsEveryCellAndDrawsASparserNet) {
    ThreeDimGraphiq s;
    s.SetFormula("x*y");
    s.SetStep(0.1);
    const RecordingCanvas c = DrawnBy(s, 800, 600);
    EXPECT_EQ(c.polygons.size(), 200u * 200u);
    // The cells are filled and outlined in the background colour, the net drawn over them.
    const auto firstPolygon = std::find(c.calls.begin(), c.calls.end(), "P 242,242,242");
    EXPECT_EQ(*std::prev(std::find(c.calls.rbegin(), c.calls.rend(), "pen 242,242,242").base()), "pen 242,242,242");
    EXPECT_NE(std::find(c.calls.begin(), firstPolygon, "pen 242,242,242"), firstPolygon);
    // The edges, then the strokes at the z labels.
    EXPECT_EQ(c.polylines.size(), s.Geometry().edges.size() / 2 + BoxTicks(s.View().For(800, 600), s.Axes()).size());
    // Every 4th line each way (each segment drawn with both its cells): a third of all edges.
    EXPECT_LT(c.polylines.size(), 200u * 200u * 4 / 3);
    // Lines 4 steps apart, about 6 pixels here: dark grey.
    EXPECT_LT(s.LineColor(s.View().For(800, 600)).r, 100);
}

TEST(ThreeDimGraphiq, LabelsStayOnTheCanvasAndNamesEveryAxis) {
    ThreeDimGraphiq s;
    s.SetFormula("x*y");
    for (const auto& [w, h] : {std::pair{640, 480}, {360, 640}, {200, 120}}) {
        for (double tilt = -90; tilt <= 90; tilt += 30) {
            for (double spin = -180; spin < 180; spin += 45) {
                s.View().SetAngles(tilt, spin);
                RecordingCanvas c;
                s.Draw(c, w, h);  // visible lines
                int names = 0;
                for (const auto& call : c.calls) {
                    if (call[0] != 'T') continue;
                    int x = 0, y = 0;
                    char text[32] = {};
                    ASSERT_EQ(std::sscanf(call.c_str(), "T %d %d %31s", &x, &y, text), 3);
                    EXPECT_GE(x, 0) << call;
                    EXPECT_GE(y, 0) << call;
                    EXPECT_LT(x, w) << call;
                    EXPECT_LT(y, h) << call;
                    names += std::string(text) == "x" || std::string(text) == "y" || std::string(text) == "z";
                }
                EXPECT_EQ(names, 3) << tilt << " " << spin;
            }
        }
    }
}

TEST(ThreeDimGraphiq, PreviewIsACoarserGridWithTheSameLines) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))");
    EXPECT_EQ(&s.PreviewGeometry(), &s.Geometry());  // the start grid is quick enough
    s.SetStep(kMinGridStep);
    const SurfaceGeometry& full = s.Geometry();
    const SurfaceGeometry& preview = s.PreviewGeometry();
    ASSERT_NE(&preview, &full);
    EXPECT_EQ(preview.PolygonCount(), 100u * 100u);
    // Its points are points of the full grid: every 4th each way.
    const SurfaceMesh& mesh = s.Mesh();
    for (int j = 0; j <= 100; j += 7)
        for (int i = 0; i <= 100; i += 3) {
            const BoxPoint& p = preview.vertices[static_cast<std::size_t>(j) * 101 + i];
            const BoxPoint& q = full.vertices[mesh.At(4 * i, 4 * j)];
            EXPECT_NEAR(p.x, q.x, 1e-15);
            EXPECT_NEAR(p.y, q.y, 1e-15);
            EXPECT_EQ(p.z, q.z);
        }
    // Its lines lie on the full picture's lines (every 8th of the fine grid).
    auto onFullLine = [](double box) {
        const double index = (box * 10 + 10) / 0.05;
        return std::fabs(index / 8 - std::round(index / 8)) < 1e-6;
    };
    for (std::size_t e = 0; e < preview.edges.size(); e += 2) {
        const BoxPoint &a = preview.vertices[preview.edges[e]], &b = preview.vertices[preview.edges[e + 1]];
        EXPECT_TRUE((a.x == b.x && onFullLine(a.x)) || (a.y == b.y && onFullLine(a.y))) << a.x << " " << a.y;
    }
    // Made once per evaluation.
    EXPECT_EQ(&s.PreviewGeometry(), &preview);
    const auto evaluations = s.EvaluationCount();
    s.View().Turn(10, 10);
    s.PreviewGeometry();
    EXPECT_EQ(s.EvaluationCount(), evaluations);
}

TEST(ThreeDimGraphiq, ConstantIsAFlatSquareInTheMiddleOfItsBox) {
    ThreeDimGraphiq s;
    s.SetFormula("3");
    EXPECT_EQ(s.Geometry().PolygonCount(), 22u * 22u);
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
    EXPECT_FALSE(DrawnBy(s, 640, 480, SurfaceStyle::Lines).polylines.empty());  // the far edges
    RecordingCanvas none;
    s.Draw(none, 0, 100);
    EXPECT_TRUE(none.calls.empty());
}

TEST(ThreeDimGraphiq, FullTurnGivesTheSamePicture) {
    ThreeDimGraphiq s;
    s.SetFormula("cos(rt2(x*x+y*y))+x/10");
    for (bool perspective : {true, false}) {
        s.View().SetPerspective(perspective);
        for (const SurfaceStyle style : {SurfaceStyle::Filled, SurfaceStyle::Lines}) {
            const auto before = DrawnBy(s, 640, 480, style).calls;
            s.View().Turn(0, 360);
            EXPECT_EQ(DrawnBy(s, 640, 480, style).calls, before);
            s.View().Turn(-360, 0);
            EXPECT_EQ(DrawnBy(s, 640, 480, style).calls, before);
            for (int k = 0; k < 72; ++k) s.View().Turn(5, -5);
            EXPECT_EQ(DrawnBy(s, 640, 480, style).calls, before);
            s.View().Turn(0, 90);
            EXPECT_NE(DrawnBy(s, 640, 480, style).calls, before);
            s.View().Turn(0, 270);
            EXPECT_EQ(DrawnBy(s, 640, 480, style).calls, before);
        }
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
