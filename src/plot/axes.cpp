#include "plot/axes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/number_text.h"

namespace kq {
namespace {

// Axis coordinates far outside the canvas draw nothing visible; keep them where every
// painter handles them.
int ClampPixel(long double v) {
    constexpr long double kLimit = 1 << 24;
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -kLimit, kLimit)));
}

std::string TickLabel(long double i) { return std::fabs(i) < 1e18L ? FormatC("%.0Lf", i) : FormatC("%.6Lg", i); }

// The tick step: a tenth of the range, truncated, at least 1.
long double TickStep(long double range) {
    const long double step = std::trunc(std::trunc(range) / 10);
    return step < 1 ? 1 : step;
}

// The integer ticks of one axis: from trunc(low) up to high by the step, a bounded number of
// them, and a stop when the step no longer moves the value (ranges a user can type). A
// mirrored axis ("от" above "до") has the same ticks as the upright one.
std::vector<long double> Ticks(long double from, long double to, int most) {
    const long double low = std::min(from, to), high = std::max(from, to);
    std::vector<long double> ticks;
    const long double step = TickStep(high - low);
    for (long double i = std::trunc(low); i <= high && static_cast<int>(ticks.size()) < most; i += step) {
        ticks.push_back(i);
        if (i + step == i) break;
    }
    return ticks;
}

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    bool Overlaps(const Box& o) const {
        return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
    }
};

// The labels already placed: a new one goes only where it is whole on the canvas and clear
// of the others, so no number is cut by the frame or hidden under another.
class LabelLayout {
public:
    LabelLayout(Canvas& canvas, int width, int height) : canvas_(canvas), width_(width), height_(height) {}

    // The font size of the labels placed next; the canvas measures at it.
    void SetFontSize(int points, bool edge = false) {
        canvas_.SetFontSize(points);
        fontSize_ = points;
        edge_ = edge;
    }

    Box Measure(int x, int y, std::string_view text) {
        const Size size = canvas_.TextExtent(text);
        return {x, y, size.width, size.height};
    }
    // The same box pushed inside the canvas where it crosses an edge.
    Box Inside(Box b) const {
        b.x = std::clamp(b.x, 0, std::max(0, width_ - b.width));
        b.y = std::clamp(b.y, 0, std::max(0, height_ - b.height));
        return b;
    }
    // Whole on the canvas, and at least `gap` pixels from every label placed.
    bool Free(const Box& b, int gap = 0) const {
        if (b.x < 0 || b.y < 0 || b.x + b.width > width_ || b.y + b.height > height_) return false;
        const Box wide{b.x - gap, b.y - gap, b.width + 2 * gap, b.height + 2 * gap};
        return std::none_of(placed_.begin(), placed_.end(), [&](const Box& p) { return p.Overlaps(wide); });
    }
    bool Put(const Box& b, std::string_view text, int gap = 0) {
        if (!Free(b, gap)) return false;
        placed_.push_back(b);
        labels_.push_back({b.x, b.y, fontSize_, edge_, std::string(text)});
        return true;
    }
    // The first place of `candidates` (each pushed inside the canvas) that keeps `gap` clear
    // of every label; none when all are taken.
    void PutFirstFree(std::initializer_list<Box> candidates, std::string_view text, int gap) {
        for (Box b : candidates)
            if (Put(Inside(b), text, gap)) return;
    }

    std::vector<AxisLabel> Take() { return std::move(labels_); }

private:
    Canvas& canvas_;
    int width_, height_;
    int fontSize_ = 6;
    bool edge_ = false;
    std::vector<Box> placed_;
    std::vector<AxisLabel> labels_;
};

// Whether a tick at pixel `at` lies on a canvas `extent` pixels long (its far edge included).
// A tick less than a pixel outside is drawn on the edge pixel (pixels truncate toward zero), so
// it is labelled: a range end on an odd-sized canvas maps half a pixel beyond it.
bool OnCanvas(long double at, int extent) { return at > -1 && at < extent + 1; }

}  // namespace

std::vector<AxisLabel> DrawAxes(Canvas& canvas, const ViewRect& view, const PixelMap& map, int width, int height) {
    canvas.SetPenColor(kSilver);
    const int x0 = ClampPixel(map.x0), y0 = ClampPixel(map.y0);
    canvas.MoveTo(3, y0);
    canvas.LineTo(width - 3, y0);
    canvas.MoveTo(x0, 3);
    canvas.LineTo(x0, height - 3);
    const int hx = width / 50, hy = height / 50;
    const bool text = width > 100;
    LabelLayout labels(canvas, width, height);
    labels.SetFontSize(6);
    // An axis out of view leaves its numbers to the canvas edge it is beyond.
    const bool xAxisShown = OnCanvas(map.y0, height), yAxisShown = OnCanvas(map.x0, width);
    struct EdgeLabel {
        long double at;  // the tick's column (x labels) or row (y labels)
        std::string text;
    };
    std::vector<EdgeLabel> xEdge, yEdge;

    // X labels sit above the axis, or below it when there is no room above.
    const std::vector<long double> xTicks = Ticks(view.xmin, view.xmax, std::max(2, width / 4));
    const int labelHeight = labels.Measure(0, 0, "0").height;
    const int xLabelRow = y0 - hy - 10 >= 0 ? y0 - hy - 10 : y0 + hy + 2;
    for (long double i : xTicks) {
        const long double cx = map.x0 + i * map.kx;
        canvas.MoveTo(ClampPixel(cx), y0 - hy);
        canvas.LineTo(ClampPixel(cx), y0 + hy);
        if (text && !xAxisShown && OnCanvas(cx, width)) {
            xEdge.push_back({cx, TickLabel(i)});
        } else if (text && i != 0 && OnCanvas(cx, width)) {
            const std::string label = TickLabel(i);
            labels.Put(labels.Inside(labels.Measure(ClampPixel(cx - 2), xLabelRow, label)), label);
        }
        const int minor = ClampPixel(cx + 0.5L * map.kx);
        canvas.MoveTo(minor, y0 - hy / 2);
        canvas.LineTo(minor, y0 + hy / 2);
    }
    if (text && OnCanvas(map.x0, width) && OnCanvas(map.y0, height))
        labels.Put(labels.Inside(labels.Measure(x0 + 3, y0 - hy - 7, "O")), "O");

    // Y labels sit right of the axis, or left of it when the widest does not fit there.
    const std::vector<long double> yTicks = Ticks(view.ymin, view.ymax, std::max(2, height / 4));
    int widest = 0;
    if (text)
        for (long double i : yTicks) widest = std::max(widest, labels.Measure(0, 0, TickLabel(i)).width);
    const bool yLabelsLeft = x0 + hx + 3 + widest > width;
    for (long double i : yTicks) {
        const long double r = map.y0 - i * map.ky;
        canvas.MoveTo(x0 - hx, ClampPixel(r));
        canvas.LineTo(x0 + hx, ClampPixel(r));
        if (text && !yAxisShown && OnCanvas(r, height)) {
            yEdge.push_back({r, TickLabel(i)});
        } else if (text && i != 0 && OnCanvas(r, height)) {
            const std::string label = TickLabel(i);
            Box b = labels.Measure(x0 + hx + 3, ClampPixel(r + 2), label);
            if (yLabelsLeft) b.x = x0 - hx - 3 - b.width;
            labels.Put(labels.Inside(b), label);
        }
        const int minor = ClampPixel(r - 0.5L * map.ky);
        canvas.MoveTo(x0 - hx / 2, minor);
        canvas.LineTo(x0 + hx / 2, minor);
    }

    labels.SetFontSize(8);
    // The axis names keep clear of the numbers, by half a number's height, so that "X" beside
    // "10" never reads as one word: their usual place, else the next one free.
    const int nameGap = std::max(2, labelHeight / 2);
    if (text && yAxisShown) {
        const Box y = labels.Measure(x0 + 20, 3, "Y");
        labels.PutFirstFree(
            {y, {x0 + hx + 3 + widest + nameGap, 3, y.width, y.height}, {x0 - 20 - y.width, 3, y.width, y.height}},
            "Y", nameGap);
    }
    if (text && xAxisShown) {
        const Box x = labels.Measure(width - 20, y0 - 20, "X");
        labels.PutFirstFree({x,
                             {x.x, xLabelRow - x.height - nameGap, x.width, x.height},
                             {x.x, y0 + hy + labelHeight + 5, x.width, x.height},
                             {x.x, xLabelRow + labelHeight + nameGap, x.width, x.height}},
                            "X", nameGap);
    }

    // A hidden axis's numbers, grey, centred on their ticks along its edge.
    if (xEdge.empty() && yEdge.empty()) return labels.Take();
    labels.SetFontSize(6, true);
    constexpr int kEdgeMargin = 2;
    for (const EdgeLabel& e : xEdge) {
        Box b = labels.Measure(0, 0, e.text);
        b.x = ClampPixel(e.at - b.width / 2.0L);
        b.y = map.y0 < 0 ? kEdgeMargin : height - b.height - kEdgeMargin;
        labels.Put(labels.Inside(b), e.text);
    }
    for (const EdgeLabel& e : yEdge) {
        Box b = labels.Measure(0, 0, e.text);
        b.x = map.x0 < 0 ? kEdgeMargin : width - b.width - kEdgeMargin;
        b.y = ClampPixel(e.at - b.height / 2.0L);
        labels.Put(labels.Inside(b), e.text);
    }
    return labels.Take();
}

void DrawAxisLabels(Canvas& canvas, const std::vector<AxisLabel>& labels, bool greyLabels) {
    if (labels.empty()) return;
    constexpr Rgb kHalo{255, 255, 255};
    canvas.SetBrushClear(true);
    if (greyLabels) canvas.SetFontColor(kGrey);
    int size = 0;
    bool grey = greyLabels;
    for (const AxisLabel& label : labels) {
        if (label.fontSize != size) canvas.SetFontSize(size = label.fontSize);
        if (label.edge && !grey) {
            canvas.SetFontColor(kGrey);
            grey = true;
        }
        canvas.TextOutOnHalo(label.x, label.y, label.text, kHalo);
    }
}

}  // namespace kq
