// Where the calculator's keypad block and fields go: plain arithmetic, no widgets.
#include <gtest/gtest.h>

#include "ui/keypad_layout.h"

namespace kq {
namespace {

TEST(KeypadLayout, KeypadBlockAndFields) {
    EXPECT_EQ(FullPanelOffset(777, 561).left, 180);
    EXPECT_EQ(FullPanelOffset(777, 561).top, 213);
    // Smaller than the block: negative numerators truncate toward zero.
    EXPECT_EQ(FullPanelOffset(416, 360).left, 0);
    EXPECT_EQ(FullPanelOffset(416, 360).top, 113);
    EXPECT_EQ(FullPanelOffset(400, 300).left, -8);
    EXPECT_EQ(FullPanelOffset(400, 300).top, 83);
    EXPECT_EQ(CalcFieldWidth(500), 411);
    EXPECT_EQ(CalcFieldWidth(0), 0);
}

}  // namespace
}  // namespace kq
