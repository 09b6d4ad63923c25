#include "plot/surface_box.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"

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

}  // namespace

std::string AxisEndLabel(long double value) { return FormatC("%.4Lg", value); }

std::vector<BoxEdge> FarBoxEdges(const Projector& projector) {
    std::vector<BoxEdge> out;
    for (int axis = 0; axis < 3; ++axis)
        for (const Edge& e : EdgesAlong(axis))
            if (e.FarFaces(projector) > 0) out.push_back({e.From(), e.To()});
    return out;
}

std::vector<BoxLabel> BoxLabels(const Projector& projector, const ZRange& range, const TextMeasure& measure) {
    std::vector<BoxLabel> labels;
    const ScreenPoint centre = projector({0, 0, 0});
    const char* names[3] = {"x", "y", "z"};
    for (int axis = 0; axis < 3; ++axis) {
        // An edge on the outline of the box (one far face, one near), the lowest on the canvas
        // for x and y, the leftmost for z; without an outline edge (looking along a face), any.
        const Edge* best = nullptr;
        double bestScore = 0;
        bool bestOutline = false;
        const std::vector<Edge> edges = EdgesAlong(axis);
        for (const Edge& e : edges) {
            const ScreenPoint a = projector(e.From()), b = projector(e.To());
            const double score = axis == 2 ? -(a.x + b.x) : a.y + b.y;
            const bool outline = e.FarFaces(projector) == 1;
            if (!best || (outline && !bestOutline) || (outline == bestOutline && score > bestScore)) {
                best = &e;
                bestScore = score;
                bestOutline = outline;
            }
        }
        const ScreenPoint a = projector(best->From()), b = projector(best->To());
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
        const BoxLabel::Align h = AlignFor(nx), v = AlignFor(ny);
        std::string low = "-10", high = "10";
        if (axis == 2) {
            low = AxisEndLabel(range.low);
            high = AxisEndLabel(range.high);
        }
        constexpr double kGap = 6;
        // The range ends sit just inside the ends of the edge, so that two axes meeting at one
        // corner never write over each other.
        double ex = b.x - a.x, ey = b.y - a.y;
        const double edgeLength = std::hypot(ex, ey);
        ex = edgeLength > 1e-6 ? ex / edgeLength : 0;
        ey = edgeLength > 1e-6 ? ey / edgeLength : 0;
        // How much of the edge a text takes along it, and across it.
        auto along = [&](const std::string& text) {
            const Size size = measure(text, 8);
            return std::fabs(ex) * size.width + std::fabs(ey) * size.height;
        };
        auto across = [&](const std::string& text) {
            const Size size = measure(text, 8);
            return std::fabs(nx) * size.width + std::fabs(ny) * size.height;
        };
        // An edge seen end on has no room for two numbers: then it shows only its name.
        const bool roomForRange = edgeLength > along(low) + along(high) + 4;
        if (roomForRange) {
            const double lowInset = std::min(0.5 * along(low) + 3, edgeLength / 3);
            const double highInset = std::min(0.5 * along(high) + 3, edgeLength / 3);
            labels.push_back(
                {a.x + nx * kGap + ex * lowInset, a.y + ny * kGap + ey * lowInset, h, v, low, 8, kRangeTextColor});
            labels.push_back(
                {b.x + nx * kGap - ex * highInset, b.y + ny * kGap - ey * highInset, h, v, high, 8, kRangeTextColor});
        }
        // The name beyond the numbers, wherever they stick out.
        const double nameGap = kGap + (roomForRange ? std::max(across(low), across(high)) : 0) + 4;
        labels.push_back({mx + nx * nameGap, my + ny * nameGap, h, v, names[axis], 11, kAxisNameColor});
    }
    return labels;
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

void DrawBoxLabels(Canvas& canvas, const Projector& projector, const ZRange& range) {
    canvas.SetBrushClear(true);
    const TextMeasure measure = [&canvas](const std::string& text, int points) {
        canvas.SetFontSize(points);
        return canvas.TextExtent(text);
    };
    for (const BoxLabel& l : BoxLabels(projector, range, measure)) {
        canvas.SetFontSize(l.points);
        const Size size = canvas.TextExtent(l.text);
        const double w = size.width, h = size.height;
        double x = l.x, y = l.y;
        if (l.horizontal == BoxLabel::Align::Centre) x -= w / 2;
        if (l.horizontal == BoxLabel::Align::End) x -= w;
        if (l.vertical == BoxLabel::Align::Centre) y -= h / 2;
        if (l.vertical == BoxLabel::Align::End) y -= h;
        // Never off the canvas, however the box is turned.
        x = std::clamp(x, 2.0, std::max(2.0, projector.Width() - w - 2));
        y = std::clamp(y, 2.0, std::max(2.0, projector.Height() - h - 2));
        canvas.SetFontColor(l.color);
        canvas.TextOut(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), l.text);
    }
    canvas.SetBrushClear(false);
}

}  // namespace kq
