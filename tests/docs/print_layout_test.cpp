// The printed page's and the preview's arithmetic: graph size, text rows and page shape.
#include <gtest/gtest.h>

#include "docs/print_layout.h"

namespace kq {
namespace {

// An A4 page's printable area at 600 dpi with 4.23 mm margins, and a 9-point font there.
constexpr int kPageWidth = 4760, kPageHeight = 6779, kFont = 75;

TEST(PrintLayout, GraphWidthIsAShareOfThePageWidth) {
    const float a = 0.75f;
    const auto none = LayOutPrintedPage(kPageWidth, kPageHeight, 0, a, kFont);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->graphWidth, 0);
    EXPECT_EQ(none->graphHeight, 0);
    // P = 0: the lines start at the top, 1.5 font heights apart.
    EXPECT_EQ(none->descriptionRow, 0);
    EXPECT_EQ(none->extraTextRow, 112);
    EXPECT_EQ(none->stampRow, 225);

    const auto half = LayOutPrintedPage(kPageWidth, kPageHeight, 50, a, kFont);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->graphWidth, kPageWidth / 2);
    EXPECT_EQ(half->graphHeight, 1785);  // 2380 * 0.75
    // The text starts 100/95 of the graph's height below the top: 238000 / 95 * 0.75 = 1878.9...
    EXPECT_EQ(half->descriptionRow, 1878);
    EXPECT_EQ(half->extraTextRow, 1991);  // 112.5 + 1878.9
    EXPECT_EQ(half->stampRow, 2103);      // 225 + 1878.9

    const auto full = LayOutPrintedPage(kPageWidth, kPageHeight, 100, a, kFont);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->graphWidth, kPageWidth);
    EXPECT_EQ(full->graphHeight, 3570);
    EXPECT_GT(full->descriptionRow, full->graphHeight);
    // A negative font height (a size in points) counts by its absolute value.
    EXPECT_EQ(LayOutPrintedPage(kPageWidth, kPageHeight, 100, a, -kFont), full);
}

TEST(PrintLayout, TruncationAndEmptyPages) {
    EXPECT_FALSE(LayOutPrintedPage(0, kPageHeight, 50, 0.75f, kFont));
    EXPECT_FALSE(LayOutPrintedPage(kPageWidth, 0, 50, 0.75f, kFont));
    // 33 % of 1001 pixels is 330.33: truncated; the height 330.33 * 2/3 = 220.2 too.
    const auto odd = LayOutPrintedPage(1001, 1500, 33, 2.0f / 3, 11);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->graphWidth, 330);
    EXPECT_EQ(odd->graphHeight, 220);
    EXPECT_EQ(odd->descriptionRow, 231);  // 33033 / 95 * 2/3 = 231.8
    EXPECT_EQ(odd->extraTextRow, 248);    // 16.5 + 231.8
    EXPECT_EQ(odd->stampRow, 264);        // 33 + 231.8
    // A paint box of width 0 has no aspect; one of height 0 a flat graph.
    EXPECT_FALSE(GraphAspect(0, 300));
    EXPECT_EQ(GraphAspect(400, 300), 0.75f);
    EXPECT_EQ(LayOutPrintedPage(kPageWidth, kPageHeight, 50, *GraphAspect(400, 0), kFont)->graphHeight, 0);
}

TEST(PrintLayout, PreviewPageShape) {
    EXPECT_EQ(PreviewPageShape(6779, 4760), (PreviewShape{100, 70}));   // landscape: 70.2
    EXPECT_EQ(PreviewPageShape(4760, 6779), (PreviewShape{70, 100}));   // portrait
    EXPECT_EQ(PreviewPageShape(5000, 5000), (PreviewShape{100, 100}));  // square counts as portrait
    EXPECT_EQ(PreviewPageShape(5001, 5000), (PreviewShape{100, 99}));
    EXPECT_EQ(PreviewPageShape(1, 1000), (PreviewShape{0, 100}));
    EXPECT_FALSE(PreviewPageShape(0, 100));
    EXPECT_FALSE(PreviewPageShape(100, 0));
    EXPECT_EQ(PreviewTrackBarWidth({70, 100}), 89);
}

TEST(PrintLayout, PreviewContents) {
    // 70 preview pixels at P = 50: a graph 35 wide; the text from (70 * 50) div 95 = 36.
    const PageLayout p = LayOutPreview(70, 50, 0.75f, 1);
    EXPECT_EQ(p.graphWidth, 35);
    EXPECT_EQ(p.graphHeight, 26);  // 26.25
    EXPECT_EQ(p.descriptionRow, 27);
    EXPECT_EQ(p.extraTextRow, 28);  // 1.5 + 27
    EXPECT_EQ(p.stampRow, 30);
    EXPECT_EQ(LayOutPreview(100, 100, 0.75f, 1).graphWidth, 100);
    const PageLayout zero = LayOutPreview(100, 0, 0.75f, 2);
    EXPECT_EQ(zero, (PageLayout{0, 0, 0, 3, 6}));
}

TEST(PrintLayout, FontHeightInPixels) {
    EXPECT_EQ(FontPixelHeight(9, 600), 75);
    EXPECT_EQ(FontPixelHeight(9, 1200), 150);
    EXPECT_EQ(FontPixelHeight(9, 96), 12);
    EXPECT_EQ(FontPixelHeight(8, 96), 11);  // 10.67
    EXPECT_EQ(FontPixelHeight(1, 96), 1);
    EXPECT_EQ(FontPixelHeight(1, 72), 1);
}

TEST(PrintLayout, DescriptionListsTheCheckedFormulas) {
    const std::vector<std::string> list{"sin(x)", "cos(x)", "tg(x)"};
    EXPECT_EQ(GraphDescription("x^2", list, {true, false, true}), "x^2, sin(x), tg(x)");
    EXPECT_EQ(GraphDescription("x^2", list, {false, false, false}), "x^2");
    EXPECT_EQ(GraphDescription("x^2", {}, {}), "x^2");
    EXPECT_EQ(GraphDescription("", list, {false, true}), ", cos(x)");
}

}  // namespace
}  // namespace kq
