// The plane renderer's strokes, checked on a recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "plot/curve_palette.h"
#include "plot/graphiq.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

struct Point {
    char kind;
    int x, y;
};

std::vector<Point> Parse(const std::vector<std::string>& strokes) {
    std::vector<Point> out;
    for (const auto& s : strokes) {
        std::istringstream in(s);
        Point p{};
        in >> p.kind >> p.x >> p.y;
        out.push_back(p);
    }
    return out;
}

std::vector<Point> CurveOf(const char* formula, int w = 400, int h = 300, ViewRect view = {}, bool absolute = false) {
    Graphiq g;
    g.SetFormula(formula);
    g.SetView(view, false);
    g.SetAbsoluteMode(absolute);
    RecordingCanvas c;
    g.Draw(c, w, h, false, false);
    return Parse(c.Strokes());
}

// A LineTo joins the previous point to its own; one to the same point shows nothing.
struct Segment {
    Point from, to;
};

std::vector<Segment> VisibleSegments(const std::vector<Point>& points) {
    std::vector<Segment> out;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i].kind == 'L' && (points[i].x != points[i - 1].x || points[i].y != points[i - 1].y))
            out.push_back({points[i - 1], points[i]});
    return out;
}

// The largest vertical step of a segment that lies on the canvas (rows 0..h).
int LargestJoinedJump(const std::vector<Point>& points, int h = 480) {
    int largest = 0;
    for (const Segment& s : VisibleSegments(points))
        if (s.from.y >= 0 && s.from.y <= h && s.to.y >= 0 && s.to.y <= h)
            largest = std::max(largest, std::abs(s.to.y - s.from.y));
    return largest;
}

TEST(Graphiq, NothingAtAllForAnEmptyRange) {
    Graphiq g;
    g.SetFormula("x");
    g.SetView({1, 1, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, true);
    EXPECT_TRUE(c.calls.empty());
    g.SetView({-1, 1, 2, 2}, false);
    g.Draw(c, 400, 300, true, true);
    EXPECT_TRUE(c.calls.empty());
}

TEST(Graphiq, AxesComeFirstWithTicksAndLabels) {
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, true);
    ASSERT_GE(c.calls.size(), 8u);
    const std::vector<std::string> head(c.calls.begin(), c.calls.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{"pen 192,192,192", "M 3 150", "L 397 150", "M 200 3", "L 200 297",
                                              "font 6"}));
    // Ticks every 2 units from -10 to 10 on x, 1 unit from -5 to 5 on y; labels but not at 0.
    const auto texts = std::count_if(c.calls.begin(), c.calls.end(), [](const std::string& s) { return s[0] == 'T'; });
    EXPECT_EQ(texts, 10 + 1 + 10 + 2);  // x labels, "O", y labels, "Y" and "X"
    // The end labels are moved inside the frame, so "-10" does not read as "10", nor "10" as "1".
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 0 134 -10"), c.calls.end());
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 388 134 10"), c.calls.end());
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 211 2 5"), c.calls.end());
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 211 290 -5"), c.calls.end());
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 203 137 O"), c.calls.end());
    // The names keep half a number's height from the numbers: "Y" right of "5", "X" above "10".
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 228 3 Y"), c.calls.end());
    EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), "T 380 119 X"), c.calls.end());
}

struct Label {
    int x, y;
    std::string text;
    int Right() const { return x + static_cast<int>(text.size()) * RecordingCanvas::kCharWidth; }
    int Bottom() const { return y + RecordingCanvas::kTextHeight; }
};

std::vector<Label> LabelsOf(const std::vector<std::string>& calls) {
    std::vector<Label> out;
    for (const auto& s : calls) {
        if (s[0] != 'T') continue;
        std::istringstream in(s.substr(2));
        Label l{};
        in >> l.x >> l.y >> l.text;
        out.push_back(l);
    }
    return out;
}

// Every label whole on the canvas and clear of every other, whatever the view.
TEST(Graphiq, LabelsAreWholeAndApart) {
    struct Case {
        ViewRect view;
        int w, h;
    };
    for (const Case& k : {Case{{-10, 10, -5, 5}, 400, 300}, Case{{-13.33L, 13.33L, -5, 5}, 400, 300},
                          Case{{-10, 10, -0.2L, 9.8L}, 400, 300},      // X axis on the bottom rows
                          Case{{-10, 10, -9.9L, 0.1L}, 400, 300},      // X axis on the top rows
                          Case{{-9.9L, 0.1L, -5, 5}, 400, 300},        // Y axis at the right edge
                          Case{{-0.05L, 9.95L, -5, 5}, 400, 300},      // Y axis at the left edge
                          Case{{-1000, 1000, -1000, 1000}, 400, 300},  // wide labels, the names must move
                          Case{{-1e6L, 1e6L, -3, 3}, 400, 300},        // labels wider than their spacing
                          Case{{2.5L, 7.5L, 1.5L, 4.5L}, 400, 300},    // first ticks before the canvas
                          Case{{2, 12, 1, 6}, 400, 300}, Case{{-12, -2, -6, -1}, 400, 300},  // origin out of view
                          Case{{-10, 10, 1, 6}, 400, 300}, Case{{0.5L, 1.5L, -1, 1}, 400, 300},
                          Case{{-10, 10, -5, 5}, 101, 60}, Case{{-10, 10, -5, 5}, 1920, 1080}}) {
        Graphiq g;
        g.SetFormula("x");
        g.SetView(k.view, false);
        RecordingCanvas c;
        g.Draw(c, k.w, k.h, true, true);
        const auto labels = LabelsOf(c.calls);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const Label& a = labels[i];
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.Right() <= k.w && a.Bottom() <= k.h)
                << a.text << " at " << a.x << "," << a.y << " on " << k.w << "x" << k.h << " view " << k.view.xmin;
            for (std::size_t j = 0; j < i; ++j) {
                const Label& b = labels[j];
                EXPECT_FALSE(a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom())
                    << a.text << " over " << b.text << " view " << k.view.xmin << " " << k.view.ymin;
                // An axis name stands apart from every number, so that "X" beside "10" never
                // reads as "X10".
                const bool name = a.text == "X" || a.text == "Y" || b.text == "X" || b.text == "Y";
                constexpr int gap = RecordingCanvas::kTextHeight / 2;
                EXPECT_FALSE(name && a.x - gap < b.Right() && b.x < a.Right() + gap && a.y - gap < b.Bottom() &&
                             b.y < a.Bottom() + gap)
                    << a.text << " at " << a.x << "," << a.y << " next to " << b.text << " at " << b.x << "," << b.y
                    << " view " << k.view.xmin << " " << k.view.ymin << " on " << k.w << "x" << k.h;
            }
        }
    }
}

TEST(Graphiq, LabelsMoveInsideRatherThanVanish) {
    // X axis two rows from the top: its labels go under it instead of above the frame.
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-10, 10, -9.9L, 0.1L}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, true);
    const auto labels = LabelsOf(c.calls);
    const auto minusTen = std::find_if(labels.begin(), labels.end(), [](const Label& l) { return l.text == "-10"; });
    ASSERT_NE(minusTen, labels.end());
    EXPECT_EQ(minusTen->x, 0);
    EXPECT_GT(minusTen->y, 3);  // below the axis at row 3
    // Names stay on the canvas too.
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "X"; }));
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "Y"; }));
    // Y axis at the right edge: its labels go left of it, all of them kept.
    RecordingCanvas right;
    g.SetView({-9.9L, 0.1L, -5, 5}, false);
    g.Draw(right, 400, 300, true, true);
    const auto yLabels = LabelsOf(right.calls);
    for (const char* text : {"-5", "-4", "-1", "1", "4", "5"}) {
        const auto it = std::find_if(yLabels.begin(), yLabels.end(), [&](const Label& l) { return l.text == text; });
        ASSERT_NE(it, yLabels.end()) << text;
        EXPECT_LT(it->Right(), 396) << text;  // left of the axis at column 396
    }
}

// With the origin out of view, the numbers of a hidden axis run along the canvas edge it lies
// beyond, grey, at the same ticks; the names of hidden axes and the "O" are left out.
TEST(Graphiq, HiddenAxesLabelTheEdges) {
    struct Case {
        ViewRect view;
        bool xAlongTop, yAlongLeft;
    };
    for (const Case& k : {Case{{2, 12, 1, 6}, false, true}, Case{{-12, -2, -6, -1}, true, false}}) {
        Graphiq g;
        g.SetFormula("x");
        g.SetView(k.view, false);
        RecordingCanvas c;
        g.Draw(c, 400, 300, true, false);
        const auto grey = std::find(c.calls.begin(), c.calls.end(), "fontcolor 128,128,128");
        ASSERT_NE(grey, c.calls.end());
        const auto labels = LabelsOf(std::vector<std::string>(grey, c.calls.end()));
        EXPECT_EQ(labels.size(), LabelsOf(c.calls).size());  // every label is grey, after the switch
        const PixelMap map(k.view, 400, 300);
        int xs = 0, ys = 0;
        for (const Label& l : labels) {
            EXPECT_TRUE(l.text != "X" && l.text != "Y" && l.text != "O") << l.text;
            const long double v = std::stold(l.text);
            const long double column = map.x0 + v * map.kx, row = map.y0 - v * map.ky;
            const int centreX = (l.x + l.Right()) / 2, centreY = (l.y + l.Bottom()) / 2;
            const bool centred = std::abs(centreX - column) <= 3 || l.x == 0 || l.Right() == 400;  // or pushed in
            if (l.y == (k.xAlongTop ? 2 : 300 - RecordingCanvas::kTextHeight - 2) && centred) {
                ++xs;
            } else {
                EXPECT_EQ(l.x, k.yAlongLeft ? 2 : 400 - l.Right() + l.x - 2) << l.text;
                EXPECT_LE(std::abs(centreY - row), 6) << l.text;
                ++ys;
            }
        }
        EXPECT_EQ(xs, 11) << k.view.xmin;  // 2..12 or -12..-2, the ends pushed inside
        EXPECT_GE(ys, 5) << k.view.xmin;
    }
    // Only the hidden one moves: the y axis is in view here and keeps its labels and name.
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-10, 10, 1, 6}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, true);
    const auto labels = LabelsOf(c.calls);
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "Y"; }));
    EXPECT_TRUE(std::none_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "X"; }));
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "3" && l.x == 211; }));
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const Label& l) { return l.text == "-10" && l.y == 288; }));
}

TEST(Graphiq, VisibleAxesNeedNoColourSwitch) {
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, false);
    EXPECT_TRUE(std::none_of(c.calls.begin(), c.calls.end(), [](const std::string& s) { return s[0] == 'f' && s[4] == 'c'; }));
}

TEST(Graphiq, SmallCanvasHasNoText) {
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 100, 80, true, true);
    EXPECT_TRUE(std::none_of(c.calls.begin(), c.calls.end(), [](const std::string& s) { return s[0] == 'T'; }));
    EXPECT_FALSE(c.Strokes().empty());
}

TEST(Graphiq, NarrowRangeStillTicksEveryUnit) {
    Graphiq g;
    g.SetFormula("x");
    g.SetView({-2, 2, -1.5L, 1.5L}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, true, false);
    const auto labels = std::count_if(c.calls.begin(), c.calls.end(), [](const std::string& s) {
        return s.rfind("T ", 0) == 0 && s.size() > 2 && s.back() != 'O' && s.back() != 'X' && s.back() != 'Y';
    });
    EXPECT_EQ(labels, 4 + 2);  // -2 -1 1 2 on x; -1 1 on y
}

TEST(Graphiq, TickLoopsEndOnAnyRange) {
    for (ViewRect v :
         {ViewRect{-1e300L, 1e300L, -5, 5}, ViewRect{-10, 10, -1e18L, 1e18L}, ViewRect{1e35L, 1e35L + 1e17L, -5, 5},
          ViewRect{-5, 5, 1e4000L, 1.0000001e4000L}, ViewRect{-2147483650.0L, 2147483650.0L, -5, 5}}) {
        Graphiq g;
        g.SetFormula("x");
        g.SetView(v, false);
        RecordingCanvas c;
        g.Draw(c, 640, 480, true, true);
        EXPECT_LT(c.calls.size(), 10000u);
    }
}

TEST(Graphiq, TangentIsLiftedAtItsPoles) {
    const auto points = CurveOf("tg(x)", 640, 480);
    ASSERT_FALSE(points.empty());
    EXPECT_LT(LargestJoinedJump(points), 240);
    // Six poles in [-10, 10]: the curve is split into seven branches at least.
    const auto moves = std::count_if(points.begin(), points.end(), [](const Point& p) { return p.kind == 'M'; });
    EXPECT_GE(moves, 7);
    // Each branch reaches the edge rows before it is lifted.
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const Point& p) { return p.y == 1; }));
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const Point& p) { return p.y == 478; }));
}

// A pole inside one column, whose neighbours both land on the canvas a few rows apart: only
// sampling the pole itself lifts the pen there (the edge rows do not help).
TEST(Graphiq, PolesInsideAColumnAreNeverJoined) {
    struct Case {
        const char* formula;
        int w, h;
        bool absolute;
    };
    for (const Case& k : {Case{"0.001/(x-2.01)", 400, 300, false}, Case{"-0.001/(x-2.01)", 400, 300, false},
                          Case{"0.001/(x-2.01)", 400, 300, true}, Case{"-0.001/(x-2.01)", 400, 300, true},
                          Case{"0.001/(x-2.01)", 640, 480, false}, Case{"-0.001/(x-2.01)", 640, 480, true}}) {
        const auto points = CurveOf(k.formula, k.w, k.h, {}, k.absolute);
        const PixelMap map({}, k.w, k.h);
        const int left = static_cast<int>(map.x0 + 2.01L * map.kx);  // the column holding the pole
        int nearPole = 0;
        for (const Segment& s : VisibleSegments(points)) {
            EXPECT_FALSE(s.from.x <= left && s.to.x > left)
                << k.formula << (k.absolute ? " |y|" : "") << ": joined from " << s.from.x << "," << s.from.y
                << " to " << s.to.x << "," << s.to.y;
            if (s.to.x == left || s.from.x == left + 1) ++nearPole;
        }
        EXPECT_GE(nearPole, 1) << k.formula << ": the curve is drawn up to the pole";
    }
}

// The same in degrees mode, where tg's poles lie at 90 + 180k degrees: left of each pole the
// curve climbs above the axis, right of it it comes up from below (or, with |y|, along the
// axis); a stroke from the one side to the other would join +∞ to −∞.
TEST(Graphiq, DegreePolesInsideAColumnAreNeverJoined) {
    for (bool absolute : {false, true}) {
        Graphiq g;
        g.SetDegrees(true);
        g.SetFormula("0.001*tg(x)");
        // 641 columns: each pole strictly inside a column, its neighbours' values on the canvas.
        const ViewRect view{-400, 400, -0.5L, 0.5L};
        g.SetView(view, false);
        g.SetAbsoluteMode(absolute);
        RecordingCanvas c;
        g.Draw(c, 641, 480, false, false);
        const auto points = Parse(c.Strokes());
        ASSERT_FALSE(points.empty());
        const PixelMap map(view, 641, 480);
        const int axis = static_cast<int>(map.y0);
        for (long double pole : {-270.0L, -90.0L, 90.0L, 270.0L}) {
            const int column = static_cast<int>(map.x0 + pole * map.kx);
            for (const Segment& s : VisibleSegments(points))
                EXPECT_FALSE(s.from.x <= column && s.to.x > column && s.from.y < axis && s.to.y >= axis)
                    << (absolute ? "|y| " : "") << "pole " << static_cast<double>(pole) << ": joined from "
                    << s.from.x << "," << s.from.y << " to " << s.to.x << "," << s.to.y;
        }
    }
}

TEST(Graphiq, UndefinedStretchesAreNotDrawn) {
    for (const char* f : {"ln(x)", "sqrt(x)", "rt2(x)", "lg(x)"}) {
        const auto points = CurveOf(f, 400, 300);
        ASSERT_FALSE(points.empty()) << f;
        for (const Point& p : points) EXPECT_GE(p.x, 200) << f;  // column 200 is x = 0
    }
    const auto arcsin = CurveOf("arcsin(x)", 400, 300);
    for (const Point& p : arcsin) EXPECT_TRUE(p.x >= 180 && p.x <= 220) << p.x;
}

// Where the next or previous column fails, the curve is drawn on to the end of its domain.
TEST(Graphiq, CurvesReachTheEndOfTheirDomain) {
    // ±4 falls inside a column on these canvases: the circle still comes down to the axis.
    for (const auto& [w, view] : {std::pair{401, ViewRect{}}, std::pair{400, ViewRect{-6.667L, 6.667L, -5, 5}},
                                  std::pair{333, ViewRect{-7.1L, 6.9L, -5, 5}}}) {
        const PixelMap map(view, w, 300);
        for (bool absolute : {false, true}) {
            const auto segments = VisibleSegments(CurveOf("sqrt(16-x*x)", w, 300, view, absolute));
            ASSERT_FALSE(segments.empty());
            int left = w, right = 0;
            for (const Segment& s : segments) {
                for (const Point& p : {s.from, s.to}) {
                    if (absolute && p.y > map.y0) continue;  // the mirrored half
                    if (p.x < left || (p.x == left && p.y > 0)) left = p.x;
                    if (p.x > right) right = p.x;
                }
            }
            const auto lowest = [&](int column) {
                int row = 0;
                for (const Segment& s : segments)
                    for (const Point& p : {s.from, s.to})
                        if (p.x == column && p.y <= map.y0) row = std::max(row, p.y);
                return row;
            };
            EXPECT_NEAR(left, static_cast<double>(map.x0 - 4 * map.kx), 1) << w;
            EXPECT_NEAR(right, static_cast<double>(map.x0 + 4 * map.kx), 1) << w;
            EXPECT_GE(lowest(left), map.y0 - 1) << w << (absolute ? " |y|" : "");
            EXPECT_GE(lowest(right), map.y0 - 1) << w << (absolute ? " |y|" : "");
        }
    }
    // ln(x) comes down to the bottom edge row from its first defined column.
    const auto ln = CurveOf("ln(x)", 400, 300);
    ASSERT_GE(ln.size(), 2u);
    EXPECT_EQ(ln[0].kind, 'M');
    EXPECT_EQ(ln[0].y, 298);
    EXPECT_TRUE(ln[0].x == 200 || ln[0].x == 201) << ln[0].x;
    EXPECT_EQ(ln[1].x, 201);
    // A domain starting between columns: the curve starts on the axis there (a value just
    // above 0 truncates to the row above the axis row).
    const auto shifted = CurveOf("sqrt(x-0.013)", 400, 300);
    ASSERT_FALSE(shifted.empty());
    EXPECT_EQ(shifted[0].kind, 'M');
    EXPECT_EQ(shifted[0].x, 200);
    EXPECT_GE(shifted[0].y, 149);
    // The left ends of sqrt(x) and of a circle seen from its right half.
    EXPECT_EQ(CurveOf("sqrt(x)", 400, 300)[0].y, 150);
}

// A failing pole is no domain end to draw to across: the branches stay apart.
TEST(Graphiq, PolesStayApartWhereTheyFail) {
    for (const char* f : {"1/x", "-1/x", "1/(x*x)", "1/(x-0.0125)", "tg(x)", "1/sin(x)"})
        for (int w : {400, 401, 333}) {
            const auto segments = VisibleSegments(CurveOf(f, w, 300));
            for (const Segment& s : segments)
                EXPECT_LT(std::abs(s.to.y - s.from.y), 300) << f << " " << w << " at " << s.from.x;
            if (std::string(f).find("sin") == std::string::npos && f[0] != 't') {
                const int pole = static_cast<int>(PixelMap({}, w, 300).x0);
                for (const Segment& s : segments)
                    EXPECT_FALSE(s.from.x < pole && s.to.x > pole + 1) << f << " " << w;
            }
        }
}

TEST(Graphiq, FailuresNeverEndTheDrawing) {
    Graphiq g;
    g.SetFormula("1/(x-x)");
    g.SetListFormula(1, "x");
    g.SetListFormula(2, "1e4000*x");  // values no int can hold
    g.SetListFormula(3, "x/2");
    g.SetListCount(3);
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 400, 300, false, false);
    const auto points = Parse(c.Strokes());
    // Two straight lines survive; the first runs through the middle of the canvas.
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const Point& p) { return p.x == 200 && p.y == 150; }));
    EXPECT_GT(points.size(), 300u);
}

TEST(Graphiq, EdgeRowsAndTheLookAhead) {
    // y = 10x crosses the whole height within 1 unit: it enters at the bottom edge row,
    // is drawn to the top edge row, and nothing is drawn outside.
    const auto points = CurveOf("10*x", 400, 300);
    ASSERT_FALSE(points.empty());
    const auto first =
        std::find_if(points.begin(), points.end(), [](const Point& p) { return p.y >= 0 && p.y <= 300; });
    ASSERT_NE(first, points.end());
    EXPECT_EQ(first->y, 298);  // entered from below: the look-ahead starts it on the edge row
    EXPECT_EQ(first->kind, 'M');
    const auto top = std::find_if(points.begin(), points.end(), [](const Point& p) { return p.y == 1; });
    ASSERT_NE(top, points.end());
    EXPECT_LT(first - points.begin(), top - points.begin());
    EXPECT_LT(LargestJoinedJump(points, 300), 40);
    // Past the top edge row nothing more is drawn on the canvas.
    const std::vector<Point> rest(top + 1, points.end());
    for (const Segment& seg : VisibleSegments(rest)) EXPECT_LT(seg.to.y, 0);
}

TEST(Graphiq, AbsoluteModeDrawsBothSignsAndMeetsTheAxis) {
    // |y| = x: nothing left of the origin; two mirrored branches right of it.
    const auto segments = VisibleSegments(CurveOf("x", 400, 300, {}, true));
    int above = 0, below = 0;
    for (const Segment& s : segments) {
        EXPECT_GE(s.from.x, 199);
        if (s.to.y < 150) ++above;
        if (s.to.y > 150) ++below;
    }
    EXPECT_GT(above, 100);
    EXPECT_GT(below, 100);
    // |y| = 1 - x*x meets the axis at x = ±1 (columns 180 and 220) and stops there.
    const auto cap = VisibleSegments(CurveOf("1-x*x", 400, 300, {}, true));
    ASSERT_FALSE(cap.empty());
    for (const Segment& s : cap) EXPECT_TRUE(s.from.x >= 179 && s.to.x <= 221) << s.from.x << " " << s.to.x;
    EXPECT_TRUE(std::any_of(cap.begin(), cap.end(), [](const Segment& s) { return s.to.y == 150; }));
}

TEST(Graphiq, ListFormulasFollowTheMainOne) {
    Graphiq g;
    g.SetFormula("1");
    g.Reserve(150);
    EXPECT_EQ(g.Reserved(), 100);
    EXPECT_TRUE(g.SetListFormula(1, "2"));
    EXPECT_FALSE(g.SetListFormula(101, "3"));
    g.SetListCount(1);
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 200, 100, false, false);
    const auto points = Parse(c.Strokes());
    ASSERT_EQ(points.size(), 400u);
    EXPECT_EQ(points[0].y, 40);    // y = 1
    EXPECT_EQ(points[200].y, 30);  // y = 2 comes after
    long double y = 0;
    EXPECT_EQ(g.Evaluate(3, 1, y), EvalStatus::Ok);
    EXPECT_EQ(y, 2);
}

// What one curve leaves behind (a lifted pen, a negative stretch in |y| mode) never changes
// how the next one is drawn: a list formula looks the same whatever comes before it.
TEST(Graphiq, EachCurveStartsAfresh) {
    const auto strokes = [](std::vector<const char*> formulas, bool absolute) {
        Graphiq g;
        g.SetAbsoluteMode(absolute);
        g.SetFormula(formulas[0]);
        for (std::size_t i = 1; i < formulas.size(); ++i) g.SetListFormula(static_cast<int>(i), formulas[i]);
        g.SetListCount(static_cast<int>(formulas.size()) - 1);
        g.SetView({-10, 10, -5, 5}, false);
        RecordingCanvas c;
        g.Draw(c, 400, 300, false, false);
        return c.Strokes();
    };
    for (bool absolute : {false, true})
        for (const char* before : {"ln(-x)", "x-100", "1/(x-x)", "tg(x)", "-x"})
            for (const char* after : {"x-1", "sqrt(x)", "-1", "x"}) {
                auto expected = strokes({before}, absolute);
                const auto alone = strokes({after}, absolute);
                expected.insert(expected.end(), alone.begin(), alone.end());
                EXPECT_EQ(strokes({before, after}, absolute), expected) << before << " then " << after << " |y| "
                                                                       << absolute;
            }
}

// The angle mode reaches the main formula and every list formula, reserved before or after.
TEST(Graphiq, DegreesReachEveryFormula) {
    Graphiq g;
    g.SetDegrees(true);
    g.SetFormula("sin(x)");
    g.SetListFormula(1, "cos(x)");
    g.Reserve(20);
    g.SetListFormula(20, "tg(x)");
    g.SetListCount(20);
    long double v = 0;
    ASSERT_EQ(g.Evaluate(30, 0, v), EvalStatus::Ok);
    EXPECT_NEAR(static_cast<double>(v), 0.5, 1e-17);
    ASSERT_EQ(g.Evaluate(60, 1, v), EvalStatus::Ok);
    EXPECT_NEAR(static_cast<double>(v), 0.5, 1e-17);
    ASSERT_EQ(g.Evaluate(45, 20, v), EvalStatus::Ok);
    EXPECT_NEAR(static_cast<double>(v), 1, 1e-15);
    g.SetDegrees(false);
    ASSERT_EQ(g.Evaluate(45, 20, v), EvalStatus::Ok);
    EXPECT_LT(v, 1.7L);  // tan(45 radians) is about 1.62
    ASSERT_EQ(g.Evaluate(30, 0, v), EvalStatus::Ok);
    EXPECT_LT(v, -0.9L);
}

// Coloured graphs: the main formula black, each list formula its palette colour, on every
// canvas; plain graphs keep one black pen for all.
TEST(Graphiq, ColouredGraphsGiveEachListFormulaItsColour) {
    Graphiq g;
    g.SetFormula("x");
    g.Reserve(12);
    for (int i = 1; i <= 12; ++i) g.SetListFormula(i, "x+" + std::to_string(i));
    g.SetListCount(12);
    g.SetView({-10, 10, -5, 5}, false);
    const auto pens = [&] {
        RecordingCanvas c;
        g.Draw(c, 200, 100, false, false);
        std::vector<std::string> out;
        for (const auto& s : c.calls)
            if (s.rfind("pen ", 0) == 0) out.push_back(s.substr(4));
        return out;
    };
    EXPECT_EQ(pens(), std::vector<std::string>{"0,0,0"});
    g.SetColoured(true);
    const auto coloured = pens();
    ASSERT_EQ(coloured.size(), 13u);  // black, then one per list formula
    EXPECT_EQ(coloured[0], "0,0,0");
    EXPECT_EQ(g.CurveColour(0), kBlack);
    for (int i = 1; i <= 12; ++i) {
        const Rgb c = g.CurveColour(i);
        EXPECT_EQ(coloured[i], std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b));
    }
    EXPECT_EQ(g.CurveColour(11), g.CurveColour(1));  // the palette repeats after ten
    g.SetColoured(false);
    EXPECT_EQ(g.CurveColour(3), kBlack);
}

// Ten colours, each its own, none pale on white paper and none grey like the axes.
TEST(Graphiq, ThePaletteReadsOnWhite) {
    const auto luminance = [](Rgb c) { return (0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b) / 255; };
    for (int i = 1; i <= kCurvePaletteSize; ++i) {
        const Rgb a = ListCurveColour(i);
        EXPECT_LT(luminance(a), 0.65) << i;  // contrast with white well above 1.5
        EXPECT_GT(std::max({a.r, a.g, a.b}) - std::min({a.r, a.g, a.b}), 60) << i;  // a hue, not a grey
        for (int j = 1; j < i; ++j) {
            const Rgb b = ListCurveColour(j);
            EXPECT_GT(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 80) << i << " " << j;
        }
    }
}

// The curves go between the axis lines and their labels: every label is written after the
// last stroke of the last curve, grey, on a white halo, so that no curve hides a number.
TEST(Graphiq, LabelsComeAfterTheCurvesOnAHalo) {
    for (bool grey : {true, false}) {
        Graphiq g;
        g.SetFormula("0.25*x");  // runs through the x labels left of the origin
        g.SetListFormula(1, "-x");
        g.SetListCount(1);
        g.SetView({-10, 10, -5, 5}, false);
        RecordingCanvas c;
        g.Draw(c, 400, 300, true, grey);
        const auto black = std::find(c.calls.begin(), c.calls.end(), "pen 0,0,0");
        ASSERT_NE(black, c.calls.end());
        const auto firstText =
            std::find_if(c.calls.begin(), c.calls.end(), [](const std::string& s) { return s[0] == 'T'; });
        ASSERT_NE(firstText, c.calls.end());
        EXPECT_LT(black, firstText);
        // Nothing but text and its settings after the first label.
        const std::vector<std::string> rest(firstText, c.calls.end());
        for (const std::string& s : rest) EXPECT_TRUE(s[0] != 'M' && s[0] != 'L' && s[0] != 'Y') << s;
        for (std::size_t i = 0; i < c.calls.size(); ++i)
            if (c.calls[i][0] == 'T') {
                EXPECT_EQ(c.calls[i - 1], "halo 255,255,255") << c.calls[i];
            }
        EXPECT_EQ(std::count(c.calls.begin(), black, "fontcolor 128,128,128"), 0) << grey;
        EXPECT_EQ(LabelsOf(c.calls).size(), 23u);
        EXPECT_EQ(std::find(black, firstText, "fontcolor 128,128,128") != firstText, grey);
    }
}

// A view whose "от" lies above its "до" shows the plane mirrored, with the same ticks and
// numbers as the upright view, each at its mirrored place.
TEST(Graphiq, MirroredViewsAreLabelledLikeAnyOther) {
    struct Case {
        ViewRect upright, mirrored;
        bool xMirrored;
    };
    for (const Case& k : {Case{{-10, 10, -5, 5}, {10, -10, -5, 5}, true}, Case{{-10, 10, -5, 5}, {-10, 10, 5, -5}, false},
                          Case{{-3, 7, -2, 4}, {7, -3, -2, 4}, true}, Case{{-3, 7, -2, 4}, {-3, 7, 4, -2}, false}}) {
        const auto draw = [](const ViewRect& v) {
            Graphiq g;
            g.SetFormula("x");
            g.SetView(v, false);
            RecordingCanvas c;
            g.Draw(c, 400, 300, true, true);
            return c;
        };
        const RecordingCanvas upright = draw(k.upright), mirrored = draw(k.mirrored);
        const auto numbers = [](const RecordingCanvas& c) {
            std::vector<std::string> out;
            for (const Label& l : LabelsOf(c.calls))
                if (l.text != "X" && l.text != "Y" && l.text != "O") out.push_back(l.text);
            std::sort(out.begin(), out.end());
            return out;
        };
        EXPECT_EQ(numbers(mirrored), numbers(upright)) << k.mirrored.xmin << " " << k.mirrored.ymin;
        const auto ticks = [](const RecordingCanvas& c) {
            return std::count_if(c.calls.begin(), c.calls.end(), [](const std::string& s) { return s[0] == 'M'; });
        };
        EXPECT_EQ(ticks(mirrored), ticks(upright));
        // Each number sits by its own tick of the mirrored axis (or is pushed inside the frame).
        const PixelMap map(k.mirrored, 400, 300);
        const int xRow = static_cast<int>(map.y0) - 300 / 50 - 10, yColumn = static_cast<int>(map.x0) + 400 / 50 + 3;
        int checked = 0;
        for (const Label& l : LabelsOf(mirrored.calls)) {
            if (l.text == "X" || l.text == "Y" || l.text == "O") continue;
            const long double v = std::stold(l.text);
            if (k.xMirrored && l.y == xRow && l.x > 0 && l.Right() < 400) {
                EXPECT_LE(std::abs(l.x - (map.x0 + v * map.kx - 2)), 1) << l.text;
                ++checked;
            } else if (!k.xMirrored && l.x == yColumn && l.y > 0 && l.Bottom() < 300) {
                EXPECT_LE(std::abs(l.y - (map.y0 - v * map.ky + 2)), 1) << l.text;
                ++checked;
            }
        }
        EXPECT_GE(checked, 4) << k.mirrored.xmin << " " << k.mirrored.ymin;
    }
}

// Mirrored, a pole inside a column is still sampled, so the pen lifts there: the likely poles
// of a column are looked for between its two edges whichever way the columns run.
TEST(Graphiq, MirroredViewsLiftThePenAtPoles) {
    for (const char* formula : {"0.001/(x-2.01)", "-0.001/(x-2.01)"}) {
        const ViewRect view{10, -10, -5, 5};
        const auto points = CurveOf(formula, 400, 300, view);
        const PixelMap map(view, 400, 300);
        const int left = static_cast<int>(map.x0 + 2.01L * map.kx);  // the column holding the pole
        int nearPole = 0;
        for (const Segment& s : VisibleSegments(points)) {
            EXPECT_FALSE(s.from.x <= left && s.to.x > left)
                << formula << ": joined from " << s.from.x << "," << s.from.y << " to " << s.to.x << "," << s.to.y;
            if (s.to.x == left || s.from.x == left + 1) ++nearPole;
        }
        EXPECT_GE(nearPole, 1) << formula;
    }
    const auto tangent = CurveOf("tg(x)", 640, 480, {10, -10, -5, 5});
    EXPECT_LT(LargestJoinedJump(tangent), 240);
}

// Strokes as the polylines through pixel centres they show, scaled: a line to the point the
// pen is at shows nothing and is left out, and so is a run of a single point.
std::vector<std::vector<CanvasPoint>> Runs(const std::vector<std::string>& strokes, double sx, double sy) {
    std::vector<std::vector<CanvasPoint>> runs;
    Point at{};
    for (const Point& p : Parse(strokes)) {
        const bool still = p.kind == 'L' && p.x == at.x && p.y == at.y;
        at = p;
        if (still) continue;
        if (p.kind == 'M' || runs.empty()) runs.emplace_back();
        runs.back().push_back({(p.x + 0.5) * sx, (p.y + 0.5) * sy});
    }
    std::erase_if(runs, [](const auto& run) { return run.size() < 2; });
    return runs;
}

// On a device of density d the curves are sampled at every device column: the same strokes
// as on a canvas d times larger, drawn through the device pixels' centres. Axes and labels
// keep the canvas's own pixels; at density 1 nothing changes.
TEST(Graphiq, FineDevicesSampleEveryDevicePixel) {
    struct Case {
        const char* formula;
        bool absolute;
        double density;
        int w, h;
    };
    for (const Case& k : {Case{"sin(x)", false, 2, 200, 150}, Case{"tg(x)", false, 2, 200, 150},
                          Case{"sqrt(16-x*x)", true, 2, 201, 150}, Case{"x*x-3", false, 3, 120, 90},
                          Case{"ln(x)", false, 1.5, 200, 150}}) {
        Graphiq g;
        g.SetFormula(k.formula);
        g.SetAbsoluteMode(k.absolute);
        g.SetView({-10, 10, -5, 5}, false);
        const int fw = static_cast<int>(std::lround(k.w * k.density)), fh = static_cast<int>(std::lround(k.h * k.density));
        RecordingCanvas coarse, fine, large;
        g.Draw(coarse, k.w, k.h, true, true);
        g.Draw(fine, k.w, k.h, true, true, k.density);
        g.Draw(large, fw, fh, false, false);
        // The fine curve, point for point, is the large canvas's curve scaled down.
        const auto expected = Runs(large.Strokes(), static_cast<double>(k.w) / fw, static_cast<double>(k.h) / fh);
        ASSERT_EQ(fine.polylines.size(), expected.size()) << k.formula;
        std::size_t columns = 0;
        for (std::size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(fine.polylines[r].size(), expected[r].size()) << k.formula << " run " << r;
            for (std::size_t i = 0; i < expected[r].size(); ++i) {
                EXPECT_DOUBLE_EQ(fine.polylines[r][i].x, expected[r][i].x) << k.formula;
                EXPECT_DOUBLE_EQ(fine.polylines[r][i].y, expected[r][i].y) << k.formula;
            }
            columns += expected[r].size();
        }
        // Finer than the canvas: more points than its own curve has, by about the density.
        RecordingCanvas plain;
        g.Draw(plain, k.w, k.h, false, false);
        std::size_t coarsePoints = 0;
        for (const auto& run : Runs(plain.Strokes(), 1, 1)) coarsePoints += run.size();
        EXPECT_GT(static_cast<double>(columns), 1.3 * static_cast<double>(coarsePoints)) << k.formula;
        // The axes and their labels are those of the canvas itself.
        EXPECT_EQ(LabelsOf(fine.calls).size(), LabelsOf(coarse.calls).size());
        const auto firstCurve = std::find(fine.calls.begin(), fine.calls.end(), "pen 0,0,0");
        const auto coarseCurve = std::find(coarse.calls.begin(), coarse.calls.end(), "pen 0,0,0");
        EXPECT_EQ(std::vector<std::string>(fine.calls.begin(), firstCurve),
                  std::vector<std::string>(coarse.calls.begin(), coarseCurve));
        // The numbers go over the fine curves too: the axis labels come after every stroke.
        const auto lastStroke = std::find(fine.calls.rbegin(), fine.calls.rend(), "Y");
        ASSERT_NE(lastStroke, fine.calls.rend()) << k.formula;
        EXPECT_EQ(std::count_if(lastStroke.base(), fine.calls.end(), [](const std::string& c) { return c[0] == 'T'; }),
                  static_cast<long>(LabelsOf(coarse.calls).size()))
            << k.formula;
        // Density 1 is the canvas's own grid: the very same calls.
        RecordingCanvas one;
        g.Draw(one, k.w, k.h, true, true, 1.0);
        EXPECT_EQ(one.calls, coarse.calls);
    }
}

// A colour belongs to the formula it is given to, not to its place among the drawn ones.
TEST(Graphiq, ListColoursAreGivenNotCounted) {
    Graphiq g;
    g.SetColoured(true);
    EXPECT_EQ(g.CurveColour(2), ListCurveColour(2));  // until told otherwise
    EXPECT_TRUE(g.SetListColour(1, 7));
    EXPECT_TRUE(g.SetListColour(2, 3));
    EXPECT_FALSE(g.SetListColour(11, 1));  // not reserved
    EXPECT_FALSE(g.SetListColour(1, 0));
    EXPECT_EQ(g.CurveColour(1), ListCurveColour(7));
    EXPECT_EQ(g.CurveColour(2), ListCurveColour(3));
    EXPECT_EQ(g.CurveColour(0), kBlack);
    g.SetFormula("x");
    g.SetListFormula(1, "x+1");
    g.SetListFormula(2, "x+2");
    g.SetListCount(2);
    g.SetView({-10, 10, -5, 5}, false);
    RecordingCanvas c;
    g.Draw(c, 200, 100, false, false);
    const auto colour = [](Rgb r) { return "pen " + std::to_string(r.r) + "," + std::to_string(r.g) + "," + std::to_string(r.b); };
    std::vector<std::string> pens;
    for (const auto& s : c.calls)
        if (s.rfind("pen ", 0) == 0) pens.push_back(s);
    EXPECT_EQ(pens, (std::vector<std::string>{"pen 0,0,0", colour(ListCurveColour(7)), colour(ListCurveColour(3))}));
}

// A new colour is one no drawn curve shows, then one no other entry keeps, then the first.
TEST(Graphiq, FreeColourSlots) {
    struct Case {
        std::vector<int> ticked, others;
        int slot;
    };
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (const Case& k : {Case{{}, {}, 1}, Case{{1}, {}, 2}, Case{{2, 1}, {}, 3}, Case{{1, 3}, {}, 2},
                          Case{{}, {1, 2}, 3}, Case{{3}, {1, 2}, 4}, Case{{1}, {2}, 3},
                          Case{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10}, 10},  // kept by an unticked entry, still free
                          Case{all, {}, 1}, Case{all, {1, 2}, 3}, Case{{11}, {}, 2},
                          Case{{0, -1}, {}, 1}}) {
        EXPECT_EQ(FreeColourSlot(k.ticked, k.others), k.slot) << k.ticked.size() << " " << k.others.size();
    }
}

TEST(Graphiq, SetViewAsksForARepaintOnlyWhenTold) {
    Graphiq g;
    int repaints = 0;
    g.onRepaint = [&] { ++repaints; };
    EXPECT_TRUE(g.NotSetUp());
    g.SetView({-1, 1, -1, 1}, false);
    EXPECT_FALSE(g.NotSetUp());
    EXPECT_EQ(repaints, 0);
    g.SetView({-1, 1, -1, 1}, true);
    EXPECT_EQ(repaints, 1);
}

}  // namespace
}  // namespace kq
