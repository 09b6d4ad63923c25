#include "plot/surface_box.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"
#include "plot/round_ticks.h"
#include "plot/surface_geometry.h"

namespace kq {
namespace {

constexpr double kExtent[3] = {1, 1, kBoxHalfHeight};

double& Coord(BoxPoint& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

// Face (axis, sign): the face whose outward normal points along `axis` with `sign`.
bool FaceIsFar(const Projector& projector, int axis, int sign) {
    BoxPoint normal, centre;
    Coord(normal, axis) = sign;
    Coord(centre, axis) = sign * kExtent[axis];
    return projector.ShowsInside(normal, centre);
}

// One of the four edges parallel to `axis`: the other two coordinates at the signs s1, s2.
struct Edge {
    int axis, s1, s2;
    BoxPoint From() const { return Point(-1); }
    BoxPoint To() const { return Point(1); }
    BoxPoint Point(int end) const {
        BoxPoint p;
        Coord(p, axis) = end * kExtent[axis];
        Coord(p, (axis + 1) % 3) = s1 * kExtent[(axis + 1) % 3];
        Coord(p, (axis + 2) % 3) = s2 * kExtent[(axis + 2) % 3];
        return p;
    }
    // How many of the two faces that meet here are far faces.
    int FarFaces(const Projector& projector) const {
        return FaceIsFar(projector, (axis + 1) % 3, s1) + FaceIsFar(projector, (axis + 2) % 3, s2);
    }
};

std::vector<Edge> EdgesAlong(int axis) {
    std::vector<Edge> out;
    for (int s1 : {-1, 1})
        for (int s2 : {-1, 1}) out.push_back({axis, s1, s2});
    return out;
}

BoxLabel::Align AlignFor(double outward) {
    // The text grows away from the box along the outward direction.
    if (outward > 0.38) return BoxLabel::Align::Start;
    if (outward < -0.38) return BoxLabel::Align::End;
    return BoxLabel::Align::Centre;
}

// The edge an axis is labelled along, as it lies on the canvas.
struct LabelEdge {
    Edge edge{0, -1, -1};
    ScreenPoint a, b;           // its ends, at the low and the high end of the axis
    double nx = 0, ny = 0;      // the unit direction away from the box, across the edge
    double ex = 0, ey = 0;      // the unit direction along it, from a to b (zero seen end on)
    double length = 0;          // on the canvas
    BoxLabel::Align horizontal = BoxLabel::Align::Start, vertical = BoxLabel::Align::Start;
};

// An edge on the outline of the box (one far face, one near), the lowest on the canvas for x
// and y, the leftmost for z; without an outline edge (looking along a face), any.
LabelEdge ChooseEdge(const Projector& projector, int axis) {
    const ScreenPoint centre = projector({0, 0, 0});
    LabelEdge out;
    double bestScore = 0;
    bool found = false, bestOutline = false;
    for (const Edge& e : EdgesAlong(axis)) {
        const ScreenPoint a = projector(e.From()), b = projector(e.To());
        const double score = axis == 2 ? -(a.x + b.x) : a.y + b.y;
        const bool outline = e.FarFaces(projector) == 1;
        if (!found || (outline && !bestOutline) || (outline == bestOutline && score > bestScore)) {
            out.edge = e;
            bestScore = score;
            bestOutline = outline;
            found = true;
        }
    }
    const ScreenPoint a = projector(out.edge.From()), b = projector(out.edge.To());
    out.a = a;
    out.b = b;
    const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    // Away from the box: across the edge, on the side away from the centre.
    double nx = -(b.y - a.y), ny = b.x - a.x;
    double length = std::hypot(nx, ny);
    if (length < 1e-6) {
        nx = mx - centre.x;
        ny = my - centre.y;
        length = std::hypot(nx, ny);
    }
    if (length < 1e-6) {
        nx = axis == 2 ? -1 : 0;
        ny = axis == 2 ? 0 : 1;
        length = 1;
    }
    nx /= length;
    ny /= length;
    if (nx * (mx - centre.x) + ny * (my - centre.y) < 0) {
        nx = -nx;
        ny = -ny;
    }
    out.nx = nx;
    out.ny = ny;
    out.horizontal = AlignFor(nx);
    out.vertical = AlignFor(ny);
    out.length = std::hypot(b.x - a.x, b.y - a.y);
    out.ex = out.length > 1e-6 ? (b.x - a.x) / out.length : 0;
    out.ey = out.length > 1e-6 ? (b.y - a.y) / out.length : 0;
    return out;
}

// Where a labelled z value lies on the z edge.
ScreenPoint ZPoint(const Projector& projector, const LabelEdge& edge, const BoxScale& scale, long double value) {
    BoxPoint p = edge.edge.From();
    p.z = std::clamp(scale(value), -kBoxHalfHeight, kBoxHalfHeight);
    return projector(p);
}

struct TextRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool Overlaps(const TextRect& o, double gap) const {
        return left - gap < o.right && o.left - gap < right && top - gap < o.bottom && o.top - gap < bottom;
    }
};

// The box a label covers, its anchor placed as it says.
TextRect RectOf(const BoxLabel& l, Size size) {
    double x = l.x, y = l.y;
    const double w = size.width, h = size.height;
    if (l.horizontal == BoxLabel::Align::Centre) x -= w / 2;
    if (l.horizontal == BoxLabel::Align::End) x -= w;
    if (l.vertical == BoxLabel::Align::Centre) y -= h / 2;
    if (l.vertical == BoxLabel::Align::End) y -= h;
    return {x, y, x + w, y + h};
}

constexpr double kGap = 6;
constexpr double kTickLength = 4;
constexpr int kLabelPoints = 8;

}  // namespace

std::string AxisEndLabel(long double value) { return FormatC("%.4Lg", value); }

BoxAxes AxesOf(const SurfaceMesh& mesh, const ZRange& range) {
    const int n = mesh.Intervals();
    return {mesh.X(0), mesh.X(n), mesh.Y(0), mesh.Y(n), range};
}

std::vector<BoxEdge> FarBoxEdges(const Projector& projector) {
    std::vector<BoxEdge> out;
    for (int axis = 0; axis < 3; ++axis)
        for (const Edge& e : EdgesAlong(axis))
            if (e.FarFaces(projector) > 0) out.push_back({e.From(), e.To()});
    return out;
}

std::vector<BoxLabel> BoxLabels(const Projector& projector, const BoxAxes& axes, const TextMeasure& measure) {
    std::vector<BoxLabel> labels;
    std::vector<TextRect> taken;  // where numbers are written already
    const char* names[3] = {"x", "y", "z"};
    const RoundTicks& z = axes.z.ticks;
    for (int axis = 0; axis < 3; ++axis) {
        const LabelEdge edge = ChooseEdge(projector, axis);
        const ScreenPoint a = edge.a, b = edge.b;
        const double nx = edge.nx, ny = edge.ny, ex = edge.ex, ey = edge.ey;
        const BoxLabel::Align h = edge.horizontal, v = edge.vertical;
        // How much of the edge a text takes along it, and across it.
        auto along = [&](const std::string& text) {
            const Size size = measure(text, kLabelPoints);
            return std::fabs(ex) * size.width + std::fabs(ey) * size.height;
        };
        auto across = [&](const std::string& text) {
            const Size size = measure(text, kLabelPoints);
            return std::fabs(nx) * size.width + std::fabs(ny) * size.height;
        };
        auto put = [&](const BoxLabel& label) {
            labels.push_back(label);
            taken.push_back(RectOf(label, measure(label.text, label.points)));
        };
        // The numbers at the ends sit just inside the ends of the edge, so that two axes meeting
        // at one corner never write over each other.
        auto atLow = [&](const std::string& text) {
            const double inset = std::min(0.5 * along(text) + 3, edge.length / 3);
            return BoxLabel{a.x + nx * kGap + ex * inset, a.y + ny * kGap + ey * inset, h, v, text, kLabelPoints,
                            kRangeTextColor};
        };
        auto atHigh = [&](const std::string& text) {
            const double inset = std::min(0.5 * along(text) + 3, edge.length / 3);
            return BoxLabel{b.x + nx * kGap - ex * inset, b.y + ny * kGap - ey * inset, h, v, text, kLabelPoints,
                            kRangeTextColor};
        };
        std::vector<std::string> texts;  // the axis's numbers, low to high
        if (axis == 0) texts = {AxisEndLabel(axes.xLow), AxisEndLabel(axes.xHigh)};
        if (axis == 1) texts = {AxisEndLabel(axes.yLow), AxisEndLabel(axes.yHigh)};
        if (axis == 2)
            for (int k = 0; k < z.Count(); ++k) texts.push_back(TickText(z.Value(k), z.step));
        double widest = 0;
        // An edge seen end on has no room for two numbers: then it shows only its name.
        const bool room = texts.size() >= 2 && edge.length > along(texts.front()) + along(texts.back()) + 4;
        if (room && axis < 2) {
            put(atLow(texts[0]));
            put(atHigh(texts[1]));
            widest = std::max(across(texts[0]), across(texts[1]));
        } else if (room) {
            // The values at the ends of the box first, then those between at their heights
            // wherever they stay clear of every number written.
            const long double slack = z.step * 1e-6L;
            std::vector<int> between;
            for (int k = 0; k < z.Count(); ++k) {
                if (std::fabs(z.Value(k) - axes.z.low) <= slack)
                    put(atLow(texts[k]));
                else if (std::fabs(z.Value(k) - axes.z.high) <= slack)
                    put(atHigh(texts[k]));
                else {
                    between.push_back(k);
                    continue;
                }
                widest = std::max(widest, across(texts[k]));
            }
            const BoxScale scale(axes.z);
            for (const int k : between) {
                const ScreenPoint p = ZPoint(projector, edge, scale, z.Value(k));
                const BoxLabel label{p.x + nx * kGap, p.y + ny * kGap, h, v, texts[k], kLabelPoints, kRangeTextColor};
                const TextRect rect = RectOf(label, measure(label.text, label.points));
                if (std::any_of(taken.begin(), taken.end(), [&](const TextRect& t) { return t.Overlaps(rect, 2); }))
                    continue;
                put(label);
                widest = std::max(widest, across(texts[k]));
            }
        }
        // The name beyond the numbers, wherever they stick out.
        const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        const double nameGap = kGap + widest + 4;
        labels.push_back({mx + nx * nameGap, my + ny * nameGap, h, v, names[axis], 11, kAxisNameColor});
    }
    return labels;
}

std::vector<BoxTick> BoxTicks(const Projector& projector, const BoxAxes& axes) {
    std::vector<BoxTick> ticks;
    const LabelEdge edge = ChooseEdge(projector, 2);
    // Seen end on the edge is a point: its values are not written, nor marked.
    if (edge.length < 1) return ticks;
    const RoundTicks& z = axes.z.ticks;
    const BoxScale scale(axes.z);
    for (int k = 0; k < z.Count(); ++k) {
        const ScreenPoint p = ZPoint(projector, edge, scale, z.Value(k));
        ticks.push_back({p, {p.x + edge.nx * kTickLength, p.y + edge.ny * kTickLength, p.depth}});
    }
    return ticks;
}

std::string CutNote(const ZRange& range) {
    const bool below = range.CutBelow(), above = range.CutAbove();
    if (!below && !above) return {};
    std::string values;
    if (below) values = "до " + RoughText(range.lowest);
    if (below && above) values += " и ";
    if (above) values += "до " + RoughText(range.highest);
    return "z обрезано: значения " + values + " вне рамки";
}

void DrawFarEdges(Canvas& canvas, const Projector& projector) {
    canvas.SetPenColor(kBoxColor);
    canvas.SetPenWidth(1);
    for (const BoxEdge& e : FarBoxEdges(projector)) {
        const ScreenPoint a = projector(e.a), b = projector(e.b);
        canvas.MoveTo(static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)));
        canvas.LineTo(static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y)));
    }
}

void DrawBoxLabels(Canvas& canvas, const Projector& projector, const BoxAxes& axes, Rgb background) {
    canvas.SetPenColor(kRangeTextColor);
    canvas.SetPenWidth(1);
    // To a hundredth of a pixel, as the surface's lines.
    const auto rounded = [](double v) { return std::round(v * 100) / 100; };
    for (const BoxTick& t : BoxTicks(projector, axes)) {
        const CanvasPoint stroke[2] = {{rounded(t.from.x), rounded(t.from.y)}, {rounded(t.to.x), rounded(t.to.y)}};
        canvas.Polyline(stroke);
    }
    canvas.SetBrushClear(true);
    const TextMeasure measure = [&canvas](const std::string& text, int points) {
        canvas.SetFontSize(points);
        return canvas.TextExtent(text);
    };
    const double width = projector.Width(), height = projector.Height();
    for (const BoxLabel& l : BoxLabels(projector, axes, measure)) {
        canvas.SetFontSize(l.points);
        const Size size = canvas.TextExtent(l.text);
        const TextRect r = RectOf(l, size);
        // Never off the canvas, however the box is turned.
        const double x = std::clamp(r.left, 2.0, std::max(2.0, width - size.width - 2));
        const double y = std::clamp(r.top, 2.0, std::max(2.0, height - size.height - 2));
        canvas.SetFontColor(l.color);
        canvas.TextOut(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), l.text);
    }
    const std::string note = CutNote(axes.z);
    if (!note.empty()) {
        // At the foot of the picture, on the background so that lines behind it do not cross it.
        canvas.SetFontSize(kLabelPoints);
        const Size size = canvas.TextExtent(note);
        const int x = 4, y = std::max(2, projector.Height() - size.height - 3);
        const CanvasPoint halo[4] = {{x - 2.0, y - 1.0},
                                     {x + size.width + 2.0, y - 1.0},
                                     {x + size.width + 2.0, y + size.height + 1.0},
                                     {x - 2.0, y + size.height + 1.0}};
        canvas.SetBrushClear(false);
        canvas.SetPenColor(background);
        canvas.Polygon(halo, background);
        canvas.SetBrushClear(true);
        canvas.SetFontColor(kNoteColor);
        canvas.TextOut(x, y, note);
    }
    canvas.SetBrushClear(false);
}

}  // namespace kq
