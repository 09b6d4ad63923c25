#include "plot/three_dim_graphiq.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "plot/surface_box.h"
#include "plot/surface_lines.h"

namespace kq {
Rgb MeshLineColor(double cellPixels) {
    const double t = std::clamp((cellPixels - 3) / 7, 0.0, 1.0);
    const auto grey = static_cast<std::uint8_t>(std::lround(130 * (1 - t)));
    return {grey, grey, grey};
}

ThreeDimGraphiq::ThreeDimGraphiq() { translator_.Translate(formula_); }

void ThreeDimGraphiq::SetFormula(std::string_view text) {
    formula_ = std::string(text);
    translator_.Translate(text);
    stale_ = true;
}

void ThreeDimGraphiq::SetStep(long double step) {
    if (std::isnan(step)) return;
    step = std::clamp(step, kMinGridStep, kMaxGridStep);
    if (step == step_) return;
    step_ = step;
    stale_ = true;
}

void ThreeDimGraphiq::SetDegrees(bool degrees) {
    if (degrees == Degrees()) return;
    translator_.SetDegrees(degrees);
    stale_ = true;
}

void ThreeDimGraphiq::SetExactFunctions(bool exact) {
    if (exact == ExactFunctions()) return;
    translator_.SetExactFunctions(exact);
    stale_ = true;
}

void ThreeDimGraphiq::SetRounding(int digits) {
    if (digits == Rounding()) return;
    translator_.SetRounding(digits);
    stale_ = true;
}

void ThreeDimGraphiq::Refresh() {
    if (!stale_) return;
    mesh_.Evaluate(translator_, step_);
    range_ = ZRangeOf(mesh_);
    geometry_ = BuildGeometry(mesh_, range_);
    ++evaluations_;
    stale_ = false;
}

const SurfaceMesh& ThreeDimGraphiq::Mesh() {
    Refresh();
    return mesh_;
}

const ZRange& ThreeDimGraphiq::Range() {
    Refresh();
    return range_;
}

BoxAxes ThreeDimGraphiq::Axes() {
    Refresh();
    return AxesOf(mesh_, range_);
}

const SurfaceGeometry& ThreeDimGraphiq::Geometry() {
    Refresh();
    return geometry_;
}

Rgb ThreeDimGraphiq::LineColor(const Projector& projector) const {
    const int stride = LineStride(GridIntervals(step_));
    return MeshLineColor(projector.PixelsPerUnit() * static_cast<double>(step_) / 10 * stride);
}

// A height field needs no depth sort: a cell can hide another only if, seen from above, it
// lies between that cell and the eye, and so is no farther from the eye's column along
// either grid direction. Painting in falling order of the sum of both distances therefore
// paints every cell before any cell that can hide it, however steep the cells are.
const std::vector<std::uint32_t>& ThreeDimGraphiq::DrawingOrder(const Projector& projector) {
    Refresh();
    const SurfaceGeometry& g = geometry_;
    const int n = std::max(mesh_.Intervals(), 1);
    const BoxPoint eye = projector.Eye();
    // The middles of the cells along x (and y) in box units: the last cell may be narrower.
    centres_.resize(n);
    for (int i = 0; i < n; ++i) centres_[i] = static_cast<double>(mesh_.X(i) / 20 + mesh_.X(i + 1) / 20);
    const double ex = eye.x, ey = eye.y;
    const double sx = eye.x > 0 ? 1 : eye.x < 0 ? -1 : 0, sy = eye.y > 0 ? 1 : eye.y < 0 ? -1 : 0;
    const std::size_t count = g.PolygonCount();
    keys_.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double ci = centres_[g.cells[k] % n], cj = centres_[g.cells[k] / n];
        // An eye infinitely far away: only the side it is on counts.
        const double key = projector.Perspective() ? std::fabs(ci - ex) + std::fabs(cj - ey) : -(sx * ci + sy * cj);
        keys_[k] = {key, static_cast<std::uint32_t>(k)};
    }
    std::sort(keys_.begin(), keys_.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    order_.resize(count);
    for (std::size_t k = 0; k < count; ++k) order_[k] = keys_[k].second;
    return order_;
}

const SurfaceGeometry& ThreeDimGraphiq::PreviewGeometry() {
    Refresh();
    // Every other mesh line's grid, or the lines' own when their stride is odd: the preview
    // keeps exactly the lines of the full picture.
    const int stride = geometry_.lineStride;
    const int k = stride % 2 == 0 ? stride / 2 : stride;
    if (k <= 1) return geometry_;
    if (previewOf_ != evaluations_) {
        preview_ = BuildGeometry(mesh_.Coarser(k), range_);
        previewOf_ = evaluations_;
    }
    return preview_;
}

void ThreeDimGraphiq::Draw(Canvas& canvas, int width, int height, Rgb background, SurfaceStyle style) {
    if (width <= 0 || height <= 0) return;
    Refresh();
    canvas.Fill(background);
    const Projector projector = view_.For(width, height);
    if (style == SurfaceStyle::Lines)
        DrawLines(canvas, projector);
    else
        DrawFilled(canvas, projector, background);
    DrawBoxLabels(canvas, projector, AxesOf(mesh_, range_), background);
}

void ThreeDimGraphiq::DrawLines(Canvas& canvas, const Projector& projector) {
    const SurfaceGeometry& g = geometry_;
    ProjectAll(projector, g.vertices, projected_);
    const VisibleLines lines = VisibleMeshLines(g, projected_, DrawingOrder(projector), FarBoxEdges(projector), projector);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(kBoxColor);
    for (const auto& run : lines.box) canvas.Polyline(run);
    canvas.SetPenColor(LineColor(projector));
    for (const auto& run : lines.mesh) canvas.Polyline(run);
}

void ThreeDimGraphiq::DrawFilled(Canvas& canvas, const Projector& projector, Rgb background) {
    DrawFarEdges(canvas, projector);
    const SurfaceGeometry& g = geometry_;
    ProjectAll(projector, g.vertices, projected_);
    const Rgb line = LineColor(projector);
    canvas.SetPenWidth(1);
    // Every edge a mesh line: each cell's outline. Otherwise the cell is filled without one and
    // only its mesh-line edges are drawn over it.
    const bool outlined = g.lineStride == 1;
    canvas.SetPenColor(outlined ? line : background);
    bool penIsLine = outlined;
    std::array<CanvasPoint, 16> points{};
    for (const std::uint32_t k : DrawingOrder(projector)) {
        const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
        std::size_t n = 0;
        for (std::uint32_t c = from; c < to && n < points.size(); ++c, ++n) {
            const ScreenPoint& s = projected_[g.indices[c]];
            points[n] = {s.x, s.y};
        }
        if (!outlined && penIsLine) {
            canvas.SetPenColor(background);
            penIsLine = false;
        }
        canvas.Polygon(std::span<const CanvasPoint>(points.data(), n), background);
        if (outlined) continue;
        for (std::uint32_t e = g.edgeStarts[k]; e < g.edgeStarts[k + 1]; ++e) {
            if (!penIsLine) {
                canvas.SetPenColor(line);
                penIsLine = true;
            }
            const ScreenPoint &a = projected_[g.edges[2 * e]], &b = projected_[g.edges[2 * e + 1]];
            const CanvasPoint segment[2] = {{a.x, a.y}, {b.x, b.y}};
            canvas.Polyline(segment);
        }
    }
}

}  // namespace kq
