// Turning, scaling and the two projections, and the OpenGL matrix against the canvas path.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plot/surface_view.h"

namespace kq {
namespace {

struct Clip {
    double x, y, z;
};

// Where the OpenGL matrix puts a point: canvas pixels (y down) and depth in [-1, 1].
Clip ThroughMatrix(const std::array<float, 16>& m, const BoxPoint& p, int w, int h) {
    double c[4];
    for (int row = 0; row < 4; ++row) c[row] = m[row] * p.x + m[4 + row] * p.y + m[8 + row] * p.z + m[12 + row];
    return {(c[0] / c[3] + 1) * w / 2, (1 - c[1] / c[3]) * h / 2, c[2] / c[3]};
}

double Extent(const Projector& p) {
    double lo = 1e9, hi = -1e9;
    for (double x : {-1.0, 1.0})
        for (double y : {-1.0, 1.0})
            for (double z : {-kBoxHalfHeight, kBoxHalfHeight}) {
                const double sx = p({x, y, z}).x;
                lo = std::min(lo, sx);
                hi = std::max(hi, sx);
            }
    return hi - lo;
}

TEST(SurfaceView, StartsTurnedSlightlyFromAboveWithDivisorTwo) {
    const SurfaceView v;
    EXPECT_EQ(v.Divisor(), 2.0);
    EXPECT_TRUE(v.Perspective());
    EXPECT_GT(v.Tilt(), 0);
    // The box fits a 400 x 300 canvas with room for its labels.
    const double extent = Extent(v.For(400, 300));
    EXPECT_GT(extent, 200);
    EXPECT_LT(extent, 340);
}

TEST(SurfaceView, LargerDivisorSmallerPicture) {
    SurfaceView v;
    v.SetPerspective(false);
    const double atTwo = Extent(v.For(500, 500));
    v.SetDivisor(4);
    EXPECT_NEAR(Extent(v.For(500, 500)), atTwo / 2, 1e-9);
    v.Zoom(1.0 / 8);
    EXPECT_NEAR(Extent(v.For(500, 500)), atTwo * 4, 1e-9);
    v.SetDivisor(1e9);
    EXPECT_EQ(v.Divisor(), SurfaceView::kMaxDivisor);
    v.SetDivisor(0);
    EXPECT_EQ(v.Divisor(), SurfaceView::kMinDivisor);
    v.SetDivisor(std::nan(""));
    EXPECT_EQ(v.Divisor(), SurfaceView::kMinDivisor);
}

TEST(SurfaceView, AnglesStayInOneTurn) {
    struct Case {
        double in, out;
    };
    for (const Case& c : {Case{0, 0}, Case{180, 180}, Case{-180, 180}, Case{190, -170}, Case{725, 5}, Case{-365, -5},
                          Case{360, 0}, Case{INFINITY, 0}})
        EXPECT_EQ(NormalizeDegrees(c.in), c.out) << c.in;
    SurfaceView v;
    v.Turn(360, -720);
    EXPECT_EQ(v, SurfaceView());
    v.Turn(30, 40);
    v.SetPerspective(false);
    v.Zoom(3);
    v.Reset();
    EXPECT_EQ(v, SurfaceView());
}

TEST(SurfaceView, SpinTurnsAboutTheVerticalAxis) {
    SurfaceView v;
    v.SetPerspective(false);
    v.SetAngles(0, 0);
    // Seen from the side: x to the right, z up, y away from the eye.
    const Projector side = v.For(200, 200);
    EXPECT_GT(side({1, 0, 0}).x, 100);
    EXPECT_LT(side({0, 0, 0.5}).y, 100);
    EXPECT_GT(side({0, 1, 0}).depth, side({0, -1, 0}).depth);
    // A quarter spin brings +x to where +y was.
    v.SetAngles(0, 90);
    const Projector turned = v.For(200, 200);
    EXPECT_NEAR(turned({1, 0, 0}).depth, side({0, 1, 0}).depth, 1e-12);
    // From straight above, far (+y) is up on the canvas and high points are nearer.
    v.SetAngles(90, 0);
    const Projector above = v.For(200, 200);
    EXPECT_LT(above({0, 1, 0}).y, 100);
    EXPECT_LT(above({0, 0, 0.5}).depth, above({0, 0, -0.5}).depth);
}

TEST(SurfaceView, PerspectiveMakesNearThingsLarger) {
    SurfaceView v;
    v.SetAngles(0, 0);
    const Projector p = v.For(400, 400);
    // The centre plane looks the same in both projections.
    v.SetPerspective(false);
    const Projector q = v.For(400, 400);
    EXPECT_NEAR(p({1, 0, 0.3}).x, q({1, 0, 0.3}).x, 1e-9);
    const double nearWidth = p({1, -1, 0}).x - p({-1, -1, 0}).x, farWidth = p({1, 1, 0}).x - p({-1, 1, 0}).x;
    EXPECT_GT(nearWidth, farWidth * 1.2);
    EXPECT_NEAR(q({1, -1, 0}).x - q({-1, -1, 0}).x, q({1, 1, 0}).x - q({-1, 1, 0}).x, 1e-9);
}

TEST(SurfaceView, OpenGLMatrixGivesTheCanvasPixels) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(-1, 1), angle(-180, 180);
    for (bool perspective : {true, false}) {
        for (int round = 0; round < 20; ++round) {
            SurfaceView v;
            v.SetPerspective(perspective);
            v.SetAngles(angle(random), angle(random));
            v.SetDivisor(0.5 + (unit(random) + 1) * 3);
            const int w = 300 + round * 37, h = 200 + round * 11;
            const Projector p = v.For(w, h);
            const auto m = p.ClipMatrix();
            for (int k = 0; k < 20; ++k) {
                const BoxPoint a{unit(random), unit(random), unit(random) * kBoxHalfHeight};
                const BoxPoint b{unit(random), unit(random), unit(random) * kBoxHalfHeight};
                const ScreenPoint sa = p(a), sb = p(b);
                const Clip ca = ThroughMatrix(m, a, w, h), cb = ThroughMatrix(m, b, w, h);
                EXPECT_NEAR(ca.x, sa.x, 1e-3);
                EXPECT_NEAR(ca.y, sa.y, 1e-3);
                // Inside the depth range, and nearer stays nearer.
                EXPECT_GT(ca.z, -1);
                EXPECT_LT(ca.z, 1);
                if (std::fabs(sa.depth - sb.depth) > 1e-3) {
                    EXPECT_EQ(ca.z < cb.z, sa.depth < sb.depth);
                }
            }
        }
    }
}

TEST(SurfaceView, FarFacesAreTheOnesTurnedAway) {
    SurfaceView v;
    v.SetAngles(30, 0);  // from above and in front (-y side)
    for (bool perspective : {true, false}) {
        v.SetPerspective(perspective);
        const Projector p = v.For(400, 400);
        EXPECT_TRUE(p.ShowsInside({0, 1, 0}, {0, 1, 0}));  // the back wall
        EXPECT_FALSE(p.ShowsInside({0, -1, 0}, {0, -1, 0}));
        EXPECT_TRUE(p.ShowsInside({0, 0, -1}, {0, 0, -kBoxHalfHeight}));  // the floor
        EXPECT_FALSE(p.ShowsInside({0, 0, 1}, {0, 0, kBoxHalfHeight}));
    }
}

}  // namespace
}  // namespace kq
