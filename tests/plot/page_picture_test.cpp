// One drawing of each page for every medium: what each medium lays the picture on.
#include <gtest/gtest.h>

#include <algorithm>

#include "plot/graphiq.h"
#include "plot/page_picture.h"
#include "plot/three_dim_graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

struct Case {
    Medium medium;
    const char* planeFill;    // the plane graph's background; "" for none
    const char* surfaceFill;  // the surface's
};

class PagePicture : public testing::TestWithParam<Case> {};

std::string MediumName(const testing::TestParamInfo<Case>& info) {
    const char* const names[] = {"Screen", "File", "Paper"};
    return names[static_cast<int>(info.param.medium)];
}

std::string FirstFill(const RecordingCanvas& canvas) {
    const auto fill = std::find_if(canvas.calls.begin(), canvas.calls.end(),
                                   [](const std::string& call) { return call.rfind("fill ", 0) == 0; });
    return fill == canvas.calls.end() ? "" : *fill;
}

TEST_P(PagePicture, TheMediumChoosesTheBackground) {
    Graphiq plane;
    plane.SetFormula("x");
    plane.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas planeCanvas;
    PlaneDrawing(plane)(planeCanvas, 200, 100, {GetParam().medium});
    EXPECT_EQ(FirstFill(planeCanvas), GetParam().planeFill);
    EXPECT_GT(planeCanvas.calls.size(), 10u);

    ThreeDimGraphiq surface;
    surface.SetFormula("x*y");
    RecordingCanvas surfaceCanvas;
    SurfaceDrawing(surface)(surfaceCanvas, 200, 100, {GetParam().medium});
    ASSERT_FALSE(surfaceCanvas.calls.empty());
    EXPECT_EQ(surfaceCanvas.calls.front(), GetParam().surfaceFill);
}

INSTANTIATE_TEST_SUITE_P(Media, PagePicture,
                         testing::Values(Case{Medium::Screen, "fill 255,255,255", "fill 242,242,242"},
                                         Case{Medium::File, "fill 255,255,255", "fill 242,242,242"},
                                         Case{Medium::Paper, "", "fill 255,255,255"}),
                         MediumName);

// The plane graph's axes follow the style; the same view draws the same strokes otherwise.
TEST(PagePicture, AxesFollowTheStyle) {
    Graphiq plane;
    plane.SetFormula("x");
    plane.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas with, without;
    PlaneDrawing(plane)(with, 200, 100, {Medium::File, true});
    PlaneDrawing(plane)(without, 200, 100, {Medium::File, false});
    EXPECT_GT(with.calls.size(), without.calls.size());
}

}  // namespace
}  // namespace kq
