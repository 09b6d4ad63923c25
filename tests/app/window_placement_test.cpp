// A remembered window place brought onto the screens of today.
#include <gtest/gtest.h>

#include <climits>

#include "app/window_placement.h"

namespace kq {
namespace {

constexpr int kMinW = 494, kMinH = 407;

TEST(WindowPlacement, SavedPlacesComeBackOnScreen) {
    const std::vector<Box> one = {{0, 0, 1280, 1024}};
    const std::vector<Box> two = {{0, 0, 1920, 1050}, {1920, 0, 1280, 1024}};
    struct Case {
        Box saved;
        std::vector<Box> screens;
        Box expected;
    };
    const Case cases[] = {
        {{126, 64, 780, 560}, one, {126, 64, 780, 560}},           // fits: unchanged
        {{3000, 64, 780, 560}, one, {500, 64, 780, 560}},          // beyond the right edge
        {{-99999, -99999, 780, 560}, one, {0, 0, 780, 560}},       // far to the left and above
        {{100, 100, 780, 999999999}, one, {100, 0, 780, 1024}},    // absurd height: the screen's
        {{10, 10, 100, 50}, one, {10, 10, kMinW, kMinH}},          // below the minimum
        {{INT_MAX, INT_MIN, INT_MAX, INT_MAX}, one, {0, 0, 1280, 1024}},
        {{2000, 100, 800, 600}, two, {2000, 100, 800, 600}},       // on the second screen
        {{2500, 100, 800, 600}, two, {2400, 100, 800, 600}},       // mostly on the second
        {{5000, 100, 800, 600}, two, {1120, 100, 800, 600}},       // on none: the primary one
        {{0, 0, 780, 560}, {{0, 0, 400, 300}}, {0, 0, 400, 300}},  // a screen below the minimum
    };
    for (const Case& c : cases) {
        const Box got = FitOnScreen(c.saved, kMinW, kMinH, c.screens);
        EXPECT_EQ(got, c.expected) << c.saved.left << "," << c.saved.top << " " << c.saved.width << "x"
                                   << c.saved.height << " -> " << got.left << "," << got.top << " " << got.width << "x"
                                   << got.height;
    }
}

}  // namespace
}  // namespace kq
