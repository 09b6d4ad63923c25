// The surface's grid, its holes and the z range of its box.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/translator.h"
#include "plot/surface_geometry.h"
#include "plot/surface_mesh.h"
#include "plot/three_dim_graphiq.h"

namespace kq {
namespace {

SurfaceMesh MeshOf(const char* formula, long double step = kInitialGridStep) {
    Translator t;
    t.Translate(formula);
    SurfaceMesh mesh;
    mesh.Evaluate(t, step);
    return mesh;
}

TEST(SurfaceGrid, StartsWith23PointsASideEndingAtTen) {
    const SurfaceMesh mesh = MeshOf("x*y");
    ASSERT_EQ(mesh.Intervals(), 22);
    EXPECT_EQ(mesh.Side(), 23);
    EXPECT_EQ(mesh.PointCount(), 529);
    EXPECT_EQ(mesh.X(0), -10);
    EXPECT_NEAR(static_cast<double>(mesh.X(21)), 9.11, 1e-15);
    // 20 / 0.91 is not whole: the last step is shorter and the grid ends at 10 exactly.
    EXPECT_EQ(mesh.X(22), 10);
    EXPECT_EQ(mesh.Y(22), 10);
    EXPECT_EQ(mesh.Z(22, 22), 100);
    EXPECT_EQ(mesh.Z(0, 22), -100);
    EXPECT_NEAR(static_cast<double>(mesh.Z(22, 3)), 10 * (-10 + 3 * 0.91), 1e-13);
}

// Whatever the step, the grid runs from -10 to exactly 10, every step but the last the step
// asked for and the last no longer than it.
TEST(SurfaceGrid, EveryStepEndsAtTen) {
    for (const long double step : {0.91L, 0.05L, 0.07L, 0.3L, 1.5L, 3.0L, 4.99L, 5.0L, 0.33L, 1.999L}) {
        const SurfaceMesh mesh = MeshOf("x", step);
        const int n = mesh.Intervals();
        EXPECT_EQ(mesh.X(0), -10) << static_cast<double>(step);
        EXPECT_EQ(mesh.X(n), 10) << static_cast<double>(step);
        EXPECT_EQ(mesh.Z(n, 0), 10) << static_cast<double>(step);
        for (int i = 0; i + 1 < n; ++i) ASSERT_NEAR(mesh.X(i + 1) - mesh.X(i), step, 1e-15L) << i;
        const long double last = mesh.X(n) - mesh.X(n - 1);
        EXPECT_GT(last, 0) << static_cast<double>(step);
        EXPECT_LE(last, step + 1e-15L) << static_cast<double>(step);
    }
}

// A coarser grid for turning keeps the ends: its last point is the fine grid's.
TEST(SurfaceGrid, CoarserGridEndsAtTenToo) {
    const SurfaceMesh fine = MeshOf("x+y", 0.07L);  // 286 intervals
    for (int k : {2, 3, 4, 7}) {
        const SurfaceMesh coarse = fine.Coarser(k);
        const int n = coarse.Intervals();
        EXPECT_EQ(n, (fine.Intervals() + k - 1) / k) << k;
        EXPECT_EQ(coarse.X(n), 10) << k;
        EXPECT_EQ(coarse.Z(n, n), 20) << k;
        for (int i = 0; i < n; ++i) EXPECT_EQ(coarse.X(i), fine.X(i * k)) << k << " " << i;
    }
}

TEST(SurfaceGrid, FinestStepReachesTenWithoutDrift) {
    const SurfaceMesh mesh = MeshOf("x", kMinGridStep);
    ASSERT_EQ(mesh.Intervals(), 400);
    // Every coordinate is the exact grid value to the last bits of the 80-bit type; summing
    // the step 400 times would be off by far more at the far end.
    for (int i = 0; i <= 400; ++i) EXPECT_NEAR(mesh.X(i), -10 + i / 20.0L, 4e-18L) << i;
    EXPECT_NEAR(mesh.Y(400), 10.0L, 4e-18L);
}

TEST(SurfaceGrid, IntervalsAtTheEdgesOfTheStepRange) {
    struct Case {
        long double step;
        int intervals;
    };
    for (const Case& c : {Case{5, 4}, Case{0.05L, 400}, Case{0.1L, 200}, Case{0.91L, 22}, Case{3, 7}, Case{0.3L, 67},
                          Case{1.5L, 14}, Case{0.07L, 286}, Case{2.5L, 8}})
        EXPECT_EQ(GridIntervals(c.step), c.intervals) << static_cast<double>(c.step);
    // A step that arrives as a double (from a control) still counts 400 intervals.
    EXPECT_EQ(GridIntervals(static_cast<long double>(0.05)), 400);
}

TEST(SurfaceGrid, StepIsKeptInItsRange) {
    ThreeDimGraphiq s;
    EXPECT_EQ(s.Step(), kInitialGridStep);
    s.SetStep(0.001L);
    EXPECT_EQ(s.Step(), kMinGridStep);
    s.SetStep(50);
    EXPECT_EQ(s.Step(), kMaxGridStep);
    s.SetStep(std::nanl(""));
    EXPECT_EQ(s.Step(), kMaxGridStep);
    EXPECT_EQ(s.Mesh().Side(), 5);
}

// The mesh is evaluated a row at a time; every point must be what the formula gives for that
// point alone, failures and their reasons included, in both angle units and with rounding.
TEST(SurfaceGrid, RowsGiveThePointsOwnValues) {
    for (const char* formula : {"cos(rt2(x*x+y*y))", "1/(x*x+y*y-4)", "ln(x*y)", "tg(x)+sqrt(y)", "x^y", "7"}) {
        for (bool degrees : {false, true}) {
            Translator t;
            t.SetDegrees(degrees);
            t.SetRounding(degrees ? 3 : -1);
            t.Translate(formula);
            SurfaceMesh mesh;
            mesh.Evaluate(t, 0.7L);
            for (int j = 0; j < mesh.Side(); ++j)
                for (int i = 0; i < mesh.Side(); ++i) {
                    long double z = 0;
                    const EvalStatus status = t.TryValue(mesh.X(i), mesh.Y(j), z);
                    ASSERT_EQ(mesh.Status(i, j), status) << formula << " at " << i << "," << j;
                    if (status == EvalStatus::Ok) {
                        ASSERT_EQ(mesh.Z(i, j), z) << formula << " at " << i << "," << j;
                    }
                }
        }
    }
}

TEST(SurfaceHoles, FailingPointsAreHoles) {
    const SurfaceMesh mesh = MeshOf("sqrt(x)");
    for (int j = 0; j < mesh.Side(); ++j)
        for (int i = 0; i < mesh.Side(); ++i) EXPECT_EQ(mesh.Defined(i, j), mesh.X(i) >= 0) << i << " " << j;
    EXPECT_EQ(mesh.DefinedCount(), 12 * 23);  // x from 0.01 to 10
    EXPECT_EQ(mesh.Status(0, 0), EvalStatus::NoValue);

    const SurfaceMesh all = MeshOf("1/0");
    EXPECT_EQ(all.DefinedCount(), 0);
    EXPECT_EQ(all.FirstFailure(), EvalStatus::DivisionByZero);
    EXPECT_TRUE(ZRangeOf(all).empty);
}

TEST(SurfaceHoles, NoCellTouchesAHole) {
    for (const char* formula : {"sqrt(x)", "ln(x*x+y*y-4)", "rt2(y-x*x/10)"}) {
        const SurfaceMesh mesh = MeshOf(formula);
        const SurfaceGeometry g = BuildGeometry(mesh, ZRangeOf(mesh));
        ASSERT_GT(g.PolygonCount(), 100u) << formula;
        const int n = mesh.Intervals();
        for (std::uint32_t cell : g.cells) {
            const int i = static_cast<int>(cell % n), j = static_cast<int>(cell / n);
            EXPECT_TRUE(mesh.Defined(i, j) && mesh.Defined(i + 1, j) && mesh.Defined(i, j + 1) &&
                        mesh.Defined(i + 1, j + 1))
                << formula << " cell " << i << " " << j;
        }
    }
}

TEST(SurfaceHoles, HalfPlaneAndDiscAreEmpty) {
    ThreeDimGraphiq s;
    s.SetFormula("sqrt(x)");
    for (std::uint32_t k : s.Geometry().indices) EXPECT_GE(s.Geometry().vertices[k].x * 10, 0.0);
    s.SetFormula("ln(x*x+y*y-4)");
    const SurfaceGeometry& g = s.Geometry();
    for (std::uint32_t k : g.indices)
        EXPECT_GT(g.vertices[k].x * g.vertices[k].x + g.vertices[k].y * g.vertices[k].y, 0.04);
    // The ring of cells round the disc is there.
    EXPECT_GT(g.PolygonCount(), 400u);
}

TEST(SurfaceRange, BoundedSurfacesKeepEveryValue) {
    const ZRange plane = ZRangeOf(MeshOf("x+y"));
    EXPECT_EQ(plane.low, -20);
    EXPECT_EQ(plane.high, 20);
    EXPECT_FALSE(plane.CutAbove() || plane.CutBelow());
    const ZRange fine = ZRangeOf(MeshOf("x*x+y*y", kMinGridStep));
    EXPECT_EQ(fine.low, 0);
    EXPECT_NEAR(static_cast<double>(fine.high), 200, 1e-12);
}

TEST(SurfaceRange, OneHugeValueDoesNotFlattenTheRest) {
    // Grid point 11 is x = y = 0.01: the value there is about 1e13, elsewhere below 1.25.
    const SurfaceMesh mesh = MeshOf("1/((x-0.01)^2+(y-0.01)^2+1e-13)");
    long double largest = 0;
    for (long double z : mesh.Values()) largest = std::max(largest, z);
    ASSERT_GT(largest, 1e12L);
    const ZRange r = ZRangeOf(mesh);
    EXPECT_LT(r.high, 2);
    EXPECT_GE(r.low, 0);
    // And the box says that it leaves the peak out.
    EXPECT_TRUE(r.CutAbove());
    EXPECT_FALSE(r.CutBelow());
    EXPECT_EQ(r.highest, largest);
}

TEST(SurfaceRange, ConstantGetsABoxOfAboutHeightOne) {
    for (const char* formula : {"5", "sin(x)^2+cos(x)^2+4", "-0.25", "0.3"}) {
        const SurfaceMesh mesh = MeshOf(formula);
        const ZRange r = ZRangeOf(mesh);
        const long double value = mesh.Z(3, 4);
        // Half a unit each way at least, widened to round labels.
        EXPECT_LE(r.low, value - 0.5L + 1e-15L) << formula;
        EXPECT_GE(r.high, value + 0.5L - 1e-15L) << formula;
        EXPECT_LE(r.high - r.low, 2) << formula;
    }
    EXPECT_EQ(ZRangeOf(MeshOf("5")).low, 4.5L);
    EXPECT_EQ(ZRangeOf(MeshOf("5")).high, 5.5L);
    // Where a unit is below the type's resolution the box is as thin as the type allows.
    const ZRange huge = ZRangeOf(MeshOf("-1e30"));
    EXPECT_LT(huge.low, -1e30L);
    EXPECT_GT(huge.high, -1e30L);
}

TEST(SurfaceRange, ExtremeValuesNeverOverflowTheBox) {
    for (const char* formula : {"1e4000*x", "exp(x*y*100)", "-1e4000*y+1e4000", "1e4900*x*y"}) {
        const SurfaceMesh mesh = MeshOf(formula);
        const ZRange r = ZRangeOf(mesh);
        ASSERT_FALSE(r.empty) << formula;
        EXPECT_TRUE(std::isfinite(r.low) && std::isfinite(r.high) && r.low < r.high) << formula;
        const SurfaceGeometry g = BuildGeometry(mesh, r);
        for (const BoxPoint& p : g.vertices) EXPECT_TRUE(std::isfinite(p.z)) << formula;
    }
}

// One grid line's steps: (previous, step, next) with both neighbours present.
struct BreakCase {
    double previous, step, next;
    bool isBreak;
};

TEST(SurfaceBreaks, PolesAndJumpsButNotSlopesOrPeaks) {
    const double h = 1.4;
    for (const BreakCase& c : {
             BreakCase{0.2, -1.0, 0.3, true},      // climbs, falls back the whole way, climbs: a pole
             BreakCase{0.2, -0.4, 0.3, false},     // a zigzag smaller than its sides
             BreakCase{0.0, 0.9, 0.0, true},       // flat, a jump, flat
             BreakCase{0.03, 0.9, 0.04, true},     // far steeper than both sides
             BreakCase{0.2, 0.9, 0.3, false},      // a steep slope
             BreakCase{0.3, 0.01, -0.3, false},    // over a peak
             BreakCase{0.3, -0.25, -0.3, false},   // down the other side
             BreakCase{1e-9, -0.02, 1e-9, false},  // below 2 % of the box: noise
         })
        EXPECT_EQ(IsBreak(c.previous, true, c.step, c.next, true, h), c.isBreak)
            << c.previous << " " << c.step << " " << c.next;
    // At an end of the line or beside a hole a slope into a peak looks like a jump: no break.
    EXPECT_FALSE(IsBreak(0, false, 0.9, 0.01, true, h));
    EXPECT_FALSE(IsBreak(0.01, true, 0.9, 0, false, h));
}

}  // namespace
}  // namespace kq

namespace kq {
namespace {

TEST(SurfaceLines, FineGridsDrawEveryFewLinesAndAlwaysTheBorderAndTheCuts) {
    EXPECT_EQ(LineStride(21), 1);
    EXPECT_EQ(LineStride(50), 1);
    EXPECT_EQ(LineStride(51), 2);
    EXPECT_EQ(LineStride(400), 8);

    const SurfaceMesh coarse = MeshOf("x*y");
    const SurfaceGeometry all = BuildGeometry(coarse, ZRangeOf(coarse));
    EXPECT_EQ(all.lineStride, 1);
    EXPECT_EQ(all.edges.size(), all.indices.size() * 2);  // every edge of every cell

    const SurfaceMesh fine = MeshOf("1/(x*x+y*y-4)", kMinGridStep);
    const SurfaceGeometry g = BuildGeometry(fine, ZRangeOf(fine));
    ASSERT_EQ(g.lineStride, 8);
    ASSERT_EQ(g.edgeStarts.size(), g.PolygonCount() + 1);
    int cuts = 0, border = 0;
    for (std::size_t e = 0; e < g.edges.size(); e += 2) {
        const BoxPoint &a = g.vertices[g.edges[e]], &b = g.vertices[g.edges[e + 1]];
        auto onDrawnLine = [&](double box) {
            const long double index = (box * 10 + 10) / kMinGridStep;
            const long double whole = std::round(index);
            return std::fabs(index - whole) < 1e-6 && (static_cast<long>(whole) % 8 == 0 || whole == 400);
        };
        const bool cut = a.z == b.z && std::fabs(a.z) == kBoxHalfHeight;
        cuts += cut;
        border += (a.x == b.x && a.x == -1) || (a.y == b.y && a.y == -1);
        EXPECT_TRUE(cut || (a.x == b.x && onDrawnLine(a.x)) || (a.y == b.y && onDrawnLine(a.y)))
            << a.x << " " << a.y << " - " << b.x << " " << b.y;
    }
    EXPECT_GT(cuts, 100);  // the pole's rim at the top face
    EXPECT_EQ(border, 2 * 400);
}

}  // namespace
}  // namespace kq

namespace kq {
namespace {

TEST(SurfaceFolds, AFoldIsOutlineWhereItsTrianglesFaceApart) {
    SurfaceGeometry g;
    g.vertices.resize(4);
    g.indices = {0, 1, 2, 3};
    g.starts = {0, 4};
    g.cells = {0};
    std::vector<std::uint32_t> out;
    // Triangle (0, 1, 2) and (0, 2, 3) on the canvas: both turn the same way, then one flipped.
    std::vector<ScreenPoint> flat = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    OutlineFolds(g, flat, out);
    EXPECT_TRUE(out.empty());
    std::vector<ScreenPoint> folded = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0.5, 0}};
    OutlineFolds(g, folded, out);
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0, 2}));
}

TEST(SurfaceFolds, AHeightFieldSeenFromStraightAboveNeverFolds) {
    const SurfaceMesh mesh = MeshOf("cos(rt2(x*x+y*y))");
    const SurfaceGeometry g = BuildGeometry(mesh, ZRangeOf(mesh));
    SurfaceView view;
    view.SetPerspective(false);
    std::vector<ScreenPoint> projected;
    std::vector<std::uint32_t> folds;
    view.SetAngles(90, 20);
    ProjectAll(view.For(600, 600), g.vertices, projected);
    OutlineFolds(g, projected, folds);
    EXPECT_TRUE(folds.empty());
    // From low down its steep ridges turn away.
    view.SetAngles(10, 20);
    ProjectAll(view.For(600, 600), g.vertices, projected);
    OutlineFolds(g, projected, folds);
    EXPECT_FALSE(folds.empty());
    EXPECT_EQ(folds.size() % 2, 0u);
}

}  // namespace
}  // namespace kq
