#include "plot/point_marks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "plot/graphiq.h"

namespace kq {

PointQuery QueryOfGraph(const Graphiq& graph, int columns) {
    PointQuery q;
    q.formulas.push_back(graph.Formula());
    q.numbers.push_back(0);
    for (int i = 1; i <= graph.ListCount(); ++i) {
        q.formulas.push_back(graph.ListFormula(i));
        q.numbers.push_back(i);
    }
    q.view = graph.View();
    q.columns = std::max(columns, 1);
    q.absolute = graph.AbsoluteMode();
    q.degrees = graph.Degrees();
    q.exact = graph.ExactFunctions();
    q.rounding = graph.Rounding();
    return q;
}

CanvasPoint MarkPlace(const NotablePoint& point, const PixelMap& map, int height) {
    const long double y = point.hasY ? point.y : 0;
    const double column = static_cast<double>(map.x0 + point.x * map.kx);
    double row = static_cast<double>(map.y0 - y * map.ky);
    if (!point.hasY) row = std::clamp(row, 2.0, std::max(2.0, height - 3.0));
    return {column, row};
}

double MarkRadius(int width, int height) { return std::max(3.5, std::min(width, height) / 160.0); }

namespace {

constexpr int kCircleSides = 16;

std::array<CanvasPoint, kCircleSides> Circle(CanvasPoint c, double r) {
    std::array<CanvasPoint, kCircleSides> ring;
    for (int k = 0; k < kCircleSides; ++k) {
        const double a = 2 * std::numbers::pi * k / kCircleSides;
        ring[k] = {c.x + r * std::cos(a), c.y + r * std::sin(a)};
    }
    return ring;
}

bool Inside(CanvasPoint p, int width, int height, double r) {
    return std::isfinite(p.x) && std::isfinite(p.y) && p.x >= -r && p.x <= width + r && p.y >= -r && p.y <= height + r;
}

}  // namespace

void DrawPointMarks(Canvas& canvas, const ViewRect& view, int width, int height, std::span<const NotablePoint> points,
                    const std::function<Rgb(int curve)>& colour, double r) {
    const PixelMap map(view, width, height);
    if (map.Degenerate() || width <= 0 || height <= 0) return;
    canvas.SetPenWidth(1);
    for (const NotablePoint& p : points) {
        const CanvasPoint c = MarkPlace(p, map, height);
        if (!Inside(c, width, height, r)) continue;
        const Rgb ink = colour(p.curve);
        canvas.SetPenColor(ink);
        if (p.kind == PointKind::Cross) {
            const std::array<CanvasPoint, 2> a{{{c.x - r, c.y - r}, {c.x + r, c.y + r}}};
            const std::array<CanvasPoint, 2> b{{{c.x - r, c.y + r}, {c.x + r, c.y - r}}};
            canvas.Polyline(a);
            canvas.Polyline(b);
        } else if (p.kind == PointKind::Break) {
            auto ring = Circle(c, r);
            std::array<CanvasPoint, kCircleSides + 1> closed;
            std::copy(ring.begin(), ring.end(), closed.begin());
            closed.back() = ring.front();
            canvas.Polyline(closed);
        } else {
            // Inflections and domain ends a little smaller than roots and extrema.
            const bool lesser = p.kind == PointKind::Inflection || p.kind == PointKind::End;
            canvas.Polygon(Circle(c, lesser ? r * 0.7 : r), ink);
        }
    }
    canvas.SetPenColor(kBlack);
}

std::optional<std::size_t> MarkAt(const ViewRect& view, int width, int height, std::span<const NotablePoint> points,
                                  double column, double row, double reach) {
    const PixelMap map(view, width, height);
    if (map.Degenerate()) return std::nullopt;
    std::optional<std::size_t> best;
    double bestDistance = reach;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CanvasPoint c = MarkPlace(points[i], map, height);
        const double d = std::hypot(c.x - column, c.y - row);
        if (d <= bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace kq
