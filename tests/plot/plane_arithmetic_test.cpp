// The plane graph's arithmetic: range texts, 1:1, zooming, the pointer line and list clicks.
#include <gtest/gtest.h>

#include "plot/formula_doubts.h"
#include "plot/list_clicks.h"
#include "plot/pointer_line.h"
#include "plot/range_text.h"
#include "plot/view_zoom.h"

namespace kq {
namespace {

TEST(PlaneArithmetic, RangeTexts) {
    EXPECT_EQ(ReadRange("-10"), -10);
    EXPECT_EQ(ReadRange(" 2.5 "), 2.5L);
    EXPECT_EQ(ReadRange("abc"), 0);
    EXPECT_EQ(ReadRange("1,5"), 0);
    EXPECT_EQ(ReadRange(""), 0);
    EXPECT_EQ(ReadRange("1e5000"), 0);
    EXPECT_EQ(WriteRange(-6.666666L), "-6.667");
    EXPECT_EQ(WriteRange(12345.678L), "1.235e+04");
    EXPECT_EQ(WriteRange(10), "10");
    EXPECT_EQ(WriteRange(-0.0L), "0");
    EXPECT_EQ(WriteRange(0.0001234567L), "0.0001235");
}

TEST(PlaneArithmetic, DoubtfulRanges) {
    struct Case {
        const char *from, *to;
        bool fromBad, toBad;
        const char* says;  // part of the first message
    };
    for (const Case& k : {Case{"-10", "10", false, false, ""}, Case{" -2.5 ", "1e3", false, false, ""},
                          Case{"abc", "10", true, false, "«abc» — не число"}, Case{"1,5", "10", true, false, "точкой"},
                          Case{"", "10", true, false, "пусто"}, Case{"-10", "x", false, true, "«x» — не число"},
                          Case{"5", "5", true, false, "равных границах"}, Case{"7", "5", true, false, "зеркально"},
                          Case{"1e5000", "1", true, false, "не число"},  // beyond the type: counts as 0 too
                          Case{"abc", "-3", true, false, "не число"}}) {
        const RangeProblems p = CheckRange(k.from, k.to);
        EXPECT_EQ(!p.from.empty(), k.fromBad) << k.from << " " << k.to;
        EXPECT_EQ(!p.to.empty(), k.toBad) << k.from << " " << k.to;
        const std::string& first = p.from.empty() ? p.to : p.from;
        EXPECT_NE(first.find(k.says), std::string::npos) << first;
    }
}

TEST(PlaneArithmetic, OneToOneWidensTheXRange) {
    ViewRect v{-10, 10, -5, 5};
    const auto r = OneToOne(v, 640, 480);
    ASSERT_TRUE(r);
    EXPECT_NEAR(static_cast<double>(r->xmin), -6.6666667, 1e-6);
    EXPECT_NEAR(static_cast<double>(r->xmax), 6.6666667, 1e-6);
    EXPECT_EQ(r->ymin, -5);
    // One unit is as long on both axes.
    EXPECT_NEAR(static_cast<double>(640 / (r->xmax - r->xmin)), static_cast<double>(480 / (r->ymax - r->ymin)), 1e-4);
    ViewRect flat{-1, 1, 3, 3};
    const auto f = OneToOne(flat, 640, 480);
    EXPECT_EQ(flat.ymin, 3 - 0.00001L);  // pulled apart, then used
    ASSERT_TRUE(f);
    EXPECT_LT(f->xmax - f->xmin, 0.0001L);
    // Tiny and huge y ranges: the x range still has the canvas's aspect about its middle.
    for (const ViewRect& y : {ViewRect{-10, 10, -1e-12L, 1e-12L}, ViewRect{5, 7, -3e-9L, 3e-9L},
                              ViewRect{-1, 1, -1e30L, 1e30L}}) {
        ViewRect in = y;
        const auto square = OneToOne(in, 400, 300);
        ASSERT_TRUE(square);
        const long double middle = (y.xmin + y.xmax) / 2, half = (y.ymax - y.ymin) * 2 / 3;
        EXPECT_NEAR(static_cast<double>((square->xmin - middle) / half), -1, 1e-9) << static_cast<double>(y.ymax);
        EXPECT_NEAR(static_cast<double>((square->xmax - middle) / half), 1, 1e-9) << static_cast<double>(y.ymax);
    }
    ViewRect thin{-1, 1, 3, 3 + 1e-13L};
    EXPECT_FALSE(OneToOne(thin, 640, 480));
    ViewRect any{-1, 1, -1, 1};
    EXPECT_FALSE(OneToOne(any, 0, 480));
}

TEST(PlaneArithmetic, ZoomRectangleIgnoresTheDragDirection) {
    const ViewRect v{-10, 10, -5, 5};
    const ViewRect a = ZoomToRectangle(v, 400, 300, 100, 50, 300, 150);
    const ViewRect b = ZoomToRectangle(v, 400, 300, 300, 150, 100, 50);
    const ViewRect c = ZoomToRectangle(v, 400, 300, 300, 50, 100, 150);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(a.xmin, -5);
    EXPECT_EQ(a.xmax, 5);
    EXPECT_EQ(a.ymax, 10.0L / 3);
    EXPECT_EQ(a.ymin, 0);
    EXPECT_EQ(OneToOneColumn(400, 300, 100, 50, 200), 300);
    EXPECT_EQ(OneToOneColumn(400, 300, 100, 50, 20), 60);
}

TEST(PlaneArithmetic, ZoomOutStopsPastFortyMillion) {
    const auto r = ZoomOut({-10, 10, -5, 5}, 400, 200);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->xmin, -20);
    EXPECT_EQ(r->xmax, 20);
    EXPECT_EQ(r->ymin, -10);
    EXPECT_EQ(r->ymax, 10);
    EXPECT_FALSE(ZoomOut({-5e7L, 10, -5, 5}, 400, 200));
    EXPECT_FALSE(ZoomOut({-10, 4.1e7L, -5, 5}, 400, 200));
    EXPECT_TRUE(ZoomOut({-4e7L, 4e7L, -5, 5}, 400, 200));
}

// A mirrored view ("от" above "до") zooms out and keeps 1:1 like any other, mirrored as it
// was: each axis widens away from its middle in its own direction.
TEST(PlaneArithmetic, MirroredViewsZoomOutAndKeepTheirSide) {
    struct Case {
        ViewRect view, out;
    };
    for (const Case& k : {Case{{10, -10, -5, 5}, {20, -20, -10, 10}}, Case{{-10, 10, 5, -5}, {-20, 20, 10, -10}},
                          Case{{10, -10, 5, -5}, {20, -20, 10, -10}}, Case{{-10, 10, -5, 5}, {-20, 20, -10, 10}}}) {
        const auto r = ZoomOut(k.view, 400, 200);
        ASSERT_TRUE(r);
        EXPECT_EQ(*r, k.out) << static_cast<double>(k.view.xmin) << " " << static_cast<double>(k.view.ymin);
    }
    EXPECT_FALSE(ZoomOut({5e7L, -10, -5, 5}, 400, 200));
    EXPECT_FALSE(ZoomOut({10, -4.1e7L, -5, 5}, 400, 200));
    // 1:1 derives x from y: its width follows y's height, its direction stays x's own (a y
    // range running down, below 1e-12, leaves x alone).
    ViewRect mirrored{10, -10, -5, 5};
    const auto r = OneToOne(mirrored, 400, 300);
    ASSERT_TRUE(r);
    EXPECT_NEAR(static_cast<double>(r->xmin), 20.0 / 3, 1e-9);
    EXPECT_NEAR(static_cast<double>(r->xmax), -20.0 / 3, 1e-9);
    ViewRect down{-10, 10, 5, -5};
    EXPECT_FALSE(OneToOne(down, 400, 300));
}

TEST(PlaneArithmetic, ValuesAtTheViewsResolution) {
    struct Case {
        long double value, resolution;
        const char* text;
    };
    for (const Case& k : {Case{1.25L, 0.05L, "1.25"}, Case{1.6666667L, 1 / 30.0L, "1.67"}, Case{-0.001L, 0.05L, "0.00"},
                          Case{-0.006L, 0.05L, "-0.01"}, Case{123.456L, 2, "123"}, Case{0.00012345L, 1e-6L, "0.000123"},
                          Case{3.14159L, 0.001L, "3.142"}, Case{2e20L, 1e18L, "2e+20"}, Case{-7, 1e-30L, "-7.000000000000000000"},
                          Case{1, 0, "1"}}) {
        EXPECT_EQ(WriteAtResolution(k.value, k.resolution), k.text) << static_cast<double>(k.value);
    }
}

TEST(PlaneArithmetic, PointerReadings) {
    // 400 x 300 on the default view: 20 pixels an x unit, 30 a y unit.
    auto at = ReadPointer({-10, 10, -5, 5}, 400, 300, 225, 100);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->xText, "1.25");
    EXPECT_EQ(at->yText, "1.67");
    EXPECT_EQ(at->x, 1.25L);  // the number the text says, where the formula is read
    EXPECT_EQ(PointerLineText(*at, std::nullopt), "x = 1.25   y = 1.67");
    EXPECT_EQ(PointerLineText(*at, 0.9490L), "x = 1.25   y = 1.67   f(x) = 0.95");
    at = ReadPointer({-10, 10, -5, 5}, 400, 300, 200, 150);
    ASSERT_TRUE(at);
    EXPECT_EQ(PointerLineText(*at, -0.0001L), "x = 0.00   y = 0.00   f(x) = 0.00");
    // Zoomed in: more decimals; zoomed far out: none.
    at = ReadPointer({2, 2.0009765625L, -1, 1}, 512, 400, 256, 0);  // 2^19 pixels a unit
    ASSERT_TRUE(at);
    EXPECT_EQ(at->xText, "2.000488");
    EXPECT_EQ(at->yText, "1.000");
    at = ReadPointer({-40000, 40000, -30000, 30000}, 800, 600, 0, 600);
    ASSERT_TRUE(at);
    EXPECT_EQ(PointerLineText(*at, 12345.678L), "x = -40000   y = -30000   f(x) = 12346");
    EXPECT_FALSE(ReadPointer({1, 1, -1, 1}, 400, 300, 10, 10));
    // Mirrored views are read at the same resolution, the values mirrored.
    at = ReadPointer({10, -10, 5, -5}, 400, 300, 225, 100);
    ASSERT_TRUE(at);
    EXPECT_EQ(PointerLineText(*at, 0.9490L), "x = -1.25   y = -1.67   f(x) = 0.95");
}

// What the line under the formula says: positions as a user counts, in the text's order.
TEST(PlaneArithmetic, FormulaDoubtsLine) {
    EXPECT_EQ(FormulaDoubts("cos(x^2-3)"), "");
    EXPECT_EQ(FormulaDoubts(""), "");
    EXPECT_EQ(FormulaDoubts("sinx"), "Позиция 1: неизвестное слово «sinx» считается нулём");
    EXPECT_EQ(FormulaDoubts("sinx+cosy"),
              "Позиция 1: неизвестное слово «sinx» считается нулём; "
              "позиция 6: неизвестное слово «cosy» считается нулём");
    // After a two-byte letter the position still counts characters.
    const std::string cyrillic = FormulaDoubts("ж+ abc");
    EXPECT_NE(cyrillic.find("озиция 4: неизвестное слово «abc» считается нулём"), std::string::npos) << cyrillic;
}

TEST(PlaneArithmetic, ListClicks) {
    FormulaListState s;
    // Checking item 2 compiles it and redraws.
    auto c = s.OnClick({false, false, true}, 2);
    EXPECT_TRUE(c.recompile);
    EXPECT_EQ(c.compile, std::vector<int>{2});
    EXPECT_TRUE(c.redraw);
    EXPECT_FALSE(c.copyText);
    // A click on an item unchecked before and after only copies its text.
    c = s.OnClick({false, false, true}, 0);
    EXPECT_FALSE(c.recompile);
    EXPECT_FALSE(c.redraw);
    EXPECT_TRUE(c.copyText);
    // Unchecking: it was checked, so the graph is redrawn without it.
    c = s.OnClick({false, false, false}, 2);
    EXPECT_TRUE(c.recompile);
    EXPECT_TRUE(c.compile.empty());
    EXPECT_TRUE(c.redraw);
    // Nothing selected: only the bookkeeping.
    c = s.OnClick({true, false, true}, -1);
    EXPECT_EQ(c.compile, (std::vector<int>{0, 2}));
    EXPECT_FALSE(c.redraw || c.copyText);
    EXPECT_EQ(s.CheckedAtLastClick(), 2);
    // An empty list after deleting the last item selects nothing.
    c = s.OnClick({}, 0);
    EXPECT_TRUE(c.recompile);
    EXPECT_FALSE(c.redraw || c.copyText);
}

}  // namespace
}  // namespace kq
