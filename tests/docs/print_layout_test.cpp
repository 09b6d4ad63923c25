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
    EXPECT_EQ(none->rows, (std::vector<TextRow>{{0, 0}, {0, 112}, {0, 225}}));

    const auto half = LayOutPrintedPage(kPageWidth, kPageHeight, 50, a, kFont);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->graphWidth, kPageWidth / 2);
    EXPECT_EQ(half->graphHeight, 1785);  // 2380 * 0.75
    // The text starts 100/95 of the graph's height below the top: 238000 / 95 * 0.75 = 1878.9...
    // Then 112.5 + 1878.9 and 225 + 1878.9.
    EXPECT_EQ(half->rows, (std::vector<TextRow>{{0, 1878}, {0, 1991}, {0, 2103}}));
    EXPECT_EQ(half->shrink, 1);

    const auto full = LayOutPrintedPage(kPageWidth, kPageHeight, 100, a, kFont);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->graphWidth, kPageWidth);
    EXPECT_EQ(full->graphHeight, 3570);
    EXPECT_GT(full->rows[0].y, full->graphHeight);
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
    // 33033 / 95 * 2/3 = 231.8, then 16.5 and 33 below.
    EXPECT_EQ(odd->rows, (std::vector<TextRow>{{0, 231}, {0, 248}, {0, 264}}));
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
    const PageLayout printed = *LayOutPrintedPage(kPageWidth, kPageHeight, 50, 0.75f, kFont);
    const PageLayout p = LayOutPreview(70, 50, 0.75f, 1, printed);
    EXPECT_EQ(p.graphWidth, 35);
    EXPECT_EQ(p.graphHeight, 26);  // 26.25
    EXPECT_EQ(p.rows, (std::vector<TextRow>{{0, 27}, {0, 28}, {0, 30}}));  // 27, 1.5 + 27, 3 + 27
    EXPECT_EQ(LayOutPreview(100, 100, 0.75f, 1, printed).graphWidth, 100);
    const PageLayout zero = LayOutPreview(100, 0, 0.75f, 2, printed);
    EXPECT_EQ(zero, (PageLayout{0, 0, 1, {{0, 0}, {0, 3}, {0, 6}}}));
}

// A landscape A4 page at 600 dpi: the graph the full width would be taller than the page.
constexpr int kWideWidth = 6779, kWideHeight = 4760;

TEST(PrintLayout, AGraphTooTallForThePageShrinksUntilTheTextFits) {
    struct Case {
        int percent;
        float aspect;
        int lines;
        bool shrinks;
    };
    for (const Case c : {Case{100, 0.75f, 3, true}, Case{100, 0.75f, 10, true}, Case{100, 0.5f, 3, false},
                         Case{60, 0.75f, 3, false}, Case{100, 2.0f, 3, true}}) {
        SCOPED_TRACE(testing::Message() << c.percent << "% " << c.aspect << " " << c.lines << " lines");
        const auto page = LayOutPrintedPage(kWideWidth, kWideHeight, c.percent, c.aspect, kFont, c.lines);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->shrink < 1, c.shrinks);
        // The aspect is kept, the graph ends above the text, every line is on the first page.
        const long double full = c.percent * kWideWidth * 0.01L;
        EXPECT_EQ(page->graphWidth, static_cast<int>(full * page->shrink));
        EXPECT_NEAR(page->graphHeight, page->graphWidth * c.aspect, 1.0);
        ASSERT_EQ(page->rows.size(), static_cast<std::size_t>(c.lines));
        EXPECT_GT(page->rows[0].y, page->graphHeight);
        for (const TextRow& r : page->rows) EXPECT_EQ(r.page, 0);
        EXPECT_LE(page->rows.back().y + kFont, kWideHeight);
        // Shrunk only as far as needed: the last line's foot within a pixel of the page's.
        if (c.shrinks) {
            EXPECT_GE(page->rows.back().y + kFont, kWideHeight - 2);
        } else {
            EXPECT_EQ(page->graphWidth, static_cast<int>(full));
        }
    }
}

TEST(PrintLayout, LongTextsGoOnOverFurtherPages) {
    // 100 lines of 112.5 pixels cannot share a 4760-pixel page with the graph: the graph keeps
    // half the page, the lines run on, each page's first at the top, none lost.
    const auto page = LayOutPrintedPage(kWideWidth, kWideHeight, 100, 0.75f, kFont, 100);
    ASSERT_TRUE(page);
    EXPECT_NEAR(page->graphHeight * 100.0 / 95, kWideHeight / 2.0, 2.0);
    ASSERT_EQ(page->rows.size(), 100u);
    EXPECT_EQ(page->rows[0].page, 0);
    int lastPage = 0;
    for (std::size_t k = 1; k < page->rows.size(); ++k) {
        const TextRow& r = page->rows[k];
        const TextRow& before = page->rows[k - 1];
        EXPECT_LE(r.y + kFont, kWideHeight);
        if (r.page == before.page) {
            EXPECT_NEAR(r.y - before.y, 112.5, 1.0);
        } else {
            EXPECT_EQ(r.page, before.page + 1);
            EXPECT_EQ(r.y, 0);
            EXPECT_GT(before.y + 112.5 + kFont, kWideHeight);  // the line did not fit below
        }
        lastPage = r.page;
    }
    EXPECT_EQ(page->Pages(), lastPage + 1);
    EXPECT_EQ(lastPage, 2);  // 21 lines beside the graph, 42 on each page after it
    // A portrait page with room for all: one page, the rows as always.
    EXPECT_EQ(LayOutPrintedPage(kPageWidth, kPageHeight, 50, 0.75f, kFont, 20)->Pages(), 1);
    // A page shorter than a line still takes a line a page.
    const auto tiny = LayOutPrintedPage(100, 50, 0, 0.75f, kFont, 3);
    EXPECT_EQ(tiny->rows, (std::vector<TextRow>{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(PrintLayout, ThePreviewShrinksAndBreaksAsThePrintedPage) {
    const PageLayout printed = *LayOutPrintedPage(kWideWidth, kWideHeight, 100, 0.75f, kFont, 60);
    ASSERT_LT(printed.shrink, 1);
    const PageLayout preview = LayOutPreview(100, 100, 0.75f, 1, printed);
    EXPECT_EQ(preview.shrink, printed.shrink);
    EXPECT_EQ(preview.graphWidth, static_cast<int>(100 * printed.shrink));
    ASSERT_EQ(preview.rows.size(), printed.rows.size());
    for (std::size_t k = 0; k < printed.rows.size(); ++k) EXPECT_EQ(preview.rows[k].page, printed.rows[k].page);
    EXPECT_EQ(preview.rows[0].y, static_cast<int>(10000 / 95 * 0.75L * printed.shrink));
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
