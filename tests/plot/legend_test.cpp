// A picture's legend on a recording canvas: one row per formula in its colour, at most half
// the picture, the rest counted.
#include <gtest/gtest.h>

#include "plot/curve_palette.h"
#include "plot/legend.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

std::vector<LegendEntry> Entries(int n) {
    std::vector<LegendEntry> entries{{"x^2", kBlack}};
    for (int i = 1; i < n; ++i) entries.push_back({"f" + std::to_string(i) + "(x)", ListCurveColour(i)});
    return entries;
}

// The texts the legend wrote, in order, each with the font colour it was written in.
std::vector<std::pair<std::string, std::string>> Texts(const RecordingCanvas& c) {
    std::vector<std::pair<std::string, std::string>> out;
    std::string colour;
    for (const std::string& call : c.calls) {
        if (call.rfind("fontcolor ", 0) == 0) colour = call.substr(10);
        if (call.rfind("T ", 0) == 0) out.emplace_back(call.substr(call.find(' ', call.find(' ', 2) + 1) + 1), colour);
    }
    return out;
}

std::string Colour(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }

TEST(Legend, EachFormulaInItsColourWhileHalfThePictureHoldsThem) {
    // Rows are 12 pixels (10 of text and 2), with 4 above and below.
    struct Case {
        int entries, pictureHeight, shown, hidden;
    };
    // 300 pixels hold 11 rows in their half: 12 entries show 10 and a count of 2.
    for (const Case c : {Case{1, 300, 1, 0}, Case{3, 300, 3, 0}, Case{11, 300, 11, 0}, Case{12, 300, 10, 2},
                         Case{30, 300, 10, 20}, Case{1, 40, 1, 0}, Case{3, 40, 0, 3}, Case{2, 39, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, " << c.pictureHeight << " high");
        const std::vector<LegendEntry> entries = Entries(c.entries);
        RecordingCanvas canvas;
        const LegendLayout layout = LayOutLegend(canvas, entries, c.pictureHeight);
        EXPECT_EQ(layout.shown, c.shown);
        EXPECT_EQ(layout.hidden, c.hidden);
        const int rows = c.shown + (c.hidden > 0 ? 1 : 0);
        EXPECT_EQ(layout.height, rows > 0 ? 8 + rows * (RecordingCanvas::kTextHeight + 2) : 0);
        EXPECT_LE(layout.height, c.pictureHeight / 2);

        canvas.calls.clear();
        const int top = c.pictureHeight - layout.height;
        DrawLegend(canvas, entries, layout, top, 200);
        const auto texts = Texts(canvas);
        ASSERT_EQ(texts.size(), static_cast<std::size_t>(rows));
        for (int i = 0; i < c.shown; ++i) {
            EXPECT_EQ(texts[i].first, entries[i].text);
            EXPECT_EQ(texts[i].second, Colour(entries[i].colour));
        }
        if (c.hidden > 0) {
            EXPECT_EQ(texts.back().first, "… ещё формул: " + std::to_string(c.hidden));
        }
        // Everything stays inside the legend's band: nothing over the graph above it.
        for (const std::string& call : canvas.calls) {
            int x = 0, y = 0;
            if (std::sscanf(call.c_str(), "M %d %d", &x, &y) == 2 || std::sscanf(call.c_str(), "L %d %d", &x, &y) == 2 ||
                std::sscanf(call.c_str(), "T %d %d", &x, &y) == 2) {
                EXPECT_GE(y, top) << call;
                EXPECT_LT(y, top + layout.height) << call;
            }
        }
    }
}

TEST(Legend, NoEntriesNoLegend) {
    RecordingCanvas canvas;
    const LegendLayout layout = LayOutLegend(canvas, {}, 300);
    EXPECT_EQ(layout.height, 0);
    canvas.calls.clear();
    DrawLegend(canvas, {}, layout, 300, 200);
    EXPECT_TRUE(canvas.calls.empty());
}

}  // namespace
}  // namespace kq
