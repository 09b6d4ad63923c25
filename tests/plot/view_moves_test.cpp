// Zooming about a point, panning and the view history, checked against the canvas mapping
// worked out independently of the code under test.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/view_history.h"
#include "plot/view_moves.h"

namespace kq {
namespace {

// The world point under a canvas pixel, continuous.
long double WorldX(const ViewRect& v, int w, long double column) { return v.xmin + column * (v.xmax - v.xmin) / w; }
long double WorldY(const ViewRect& v, int h, long double row) { return v.ymax - row * (v.ymax - v.ymin) / h; }

struct ZoomCase {
    ViewRect view;
    int width, height;
    int column, row;
    long double notches;
};

class ZoomAboutPointer : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomAboutPointer, KeepsThePointUnderThePointerAndScalesBothRanges) {
    const ZoomCase& c = GetParam();
    const long double scale = WheelScale(c.notches);
    const ViewRect z = ZoomAbout(c.view, c.width, c.height, c.column, c.row, scale);
    const long double eps = 1e-12L * (std::fabs(c.view.xmax) + std::fabs(c.view.xmin) + 1);
    EXPECT_NEAR(WorldX(z, c.width, c.column), WorldX(c.view, c.width, c.column), eps);
    EXPECT_NEAR(WorldY(z, c.height, c.row), WorldY(c.view, c.height, c.row), eps);
    EXPECT_NEAR((z.xmax - z.xmin) / (c.view.xmax - c.view.xmin), std::pow(1.25L, -c.notches), 1e-12L);
    EXPECT_NEAR((z.ymax - z.ymin) / (c.view.ymax - c.view.ymin), std::pow(1.25L, -c.notches), 1e-12L);
    // On the renderer's own mapping (its origin column truncated) the point stays within the pixel.
    const long double x = WorldX(c.view, c.width, c.column);
    const PixelMap after(z, c.width, c.height);
    EXPECT_LT(std::fabs(after.x0 + x * after.kx - c.column), 1.0L);
}

INSTANTIATE_TEST_SUITE_P(Notches, ZoomAboutPointer,
                         ::testing::Values(ZoomCase{{-10, 10, -5, 5}, 400, 200, 100, 50, 1},
                                           ZoomCase{{-10, 10, -5, 5}, 400, 200, 100, 50, -1},
                                           ZoomCase{{-10, 10, -5, 5}, 400, 200, 0, 0, 3},
                                           ZoomCase{{-10, 10, -5, 5}, 400, 200, 399, 199, -2.5L},
                                           ZoomCase{{0.001L, 0.002L, 1e6L, 1e6L + 3}, 640, 480, 17, 300, 0.25L},
                                           ZoomCase{{10, -10, -5, 5}, 300, 300, 250, 10, 1}));

TEST(ZoomAbout, LeavesADegenerateViewOrCanvasAlone) {
    const ViewRect flat{1, 1, -5, 5};
    EXPECT_EQ(ZoomAbout(flat, 100, 100, 10, 10, 0.8L), flat);
    const ViewRect v{-10, 10, -5, 5};
    EXPECT_EQ(ZoomAbout(v, 0, 100, 10, 10, 0.8L), v);
    EXPECT_EQ(ZoomAbout(v, 100, 100, 10, 10, 0), v);
}

TEST(ZoomAbout, TheCentreKeepsTheMiddle) {
    const ViewRect z = ZoomAboutCentre({-10, 10, -4, 6}, 0.8L);
    EXPECT_EQ(z, (ViewRect{-8, 8, -3, 5}));
}

TEST(PanByPixels, MovesByTheDraggedDistance) {
    const struct {
        long double dx, dy;
        ViewRect expected;
    } cases[] = {
        {40, 0, {-12, 8, -5, 5}},    // 40 px of 400 is a tenth of 20 units
        {0, -20, {-10, 10, -6, 4}},  // up by 20 px of 200: the view goes down by a unit
        {-400, 200, {10, 30, 5, 15}},
    };
    for (const auto& c : cases) EXPECT_EQ(PanByPixels({-10, 10, -5, 5}, 400, 200, c.dx, c.dy), c.expected);
}

TEST(PanByShare, MovesByATenth) {
    EXPECT_EQ(PanByShare({-10, 10, -5, 5}, 0.1L, 0), (ViewRect{-8, 12, -5, 5}));
    EXPECT_EQ(PanByShare({-10, 10, -5, 5}, 0, -0.1L), (ViewRect{-10, 10, -6, 4}));
}

const ViewRect kA{-10, 10, -5, 5}, kB{-1, 1, -1, 1}, kC{0, 4, 0, 2}, kD{5, 6, 7, 8};

TEST(ViewHistory, WalksBackAndForward) {
    ViewHistory h;
    h.Start(kA);
    h.Record(kB);
    h.Record(kC);
    EXPECT_EQ(h.Back(), kB);
    EXPECT_EQ(h.Back(), kA);
    EXPECT_FALSE(h.Back());
    EXPECT_EQ(h.Forward(), kB);
    EXPECT_EQ(h.Forward(), kC);
    EXPECT_FALSE(h.Forward());
}

TEST(ViewHistory, ANewViewAfterGoingBackDropsTheOnesAhead) {
    ViewHistory h;
    h.Start(kA);
    h.Record(kB);
    h.Record(kC);
    h.Back();
    h.Record(kD);
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Back(), kB);
    EXPECT_EQ(h.Size(), 3u);
}

TEST(ViewHistory, OneGestureIsOneStepAndTheSameViewNone) {
    ViewHistory h;
    h.Start(kA);
    h.Record(kB, 7);
    h.Record(kC, 7);
    h.Record(kC);
    EXPECT_EQ(h.Size(), 2u);
    h.Record(kD, 8);
    EXPECT_EQ(h.Size(), 3u);
    EXPECT_EQ(h.Back(), kC);
    EXPECT_EQ(h.Back(), kA);
}

TEST(ViewHistory, KeepsTheNewestViewsUpToItsCapacity) {
    ViewHistory h;
    h.Start(kA);
    for (std::size_t i = 1; i <= ViewHistory::kCapacity + 50; ++i) h.Record({0, static_cast<long double>(i), 0, 1});
    EXPECT_EQ(h.Size(), ViewHistory::kCapacity);
    std::size_t steps = 0;
    std::optional<ViewRect> last;
    while (auto v = h.Back()) {
        last = v;
        ++steps;
    }
    EXPECT_GE(steps, 100u);
    EXPECT_EQ(last->xmax, static_cast<long double>(51));
}

TEST(ViewHistory, AmendChangesTheCurrentViewInPlace) {
    ViewHistory h;
    h.Start(kA);
    h.Record(kB);
    h.Amend(kC);
    EXPECT_EQ(h.Size(), 2u);
    EXPECT_EQ(h.Back(), kA);
    EXPECT_EQ(h.Forward(), kC);
}

}  // namespace
}  // namespace kq
