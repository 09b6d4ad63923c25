#include "plot/three_dim_graphiq.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/angle_mode.h"
#include "plot/surface_box.h"

namespace kq {
namespace {

// The angle unit is still one for the whole process: the surface's own is put in force while
// it evaluates and the previous one restored after.
class AngleUnitScope {
public:
    explicit AngleUnitScope(bool degrees) : saved_(DegreesMode()) { SetDegreesMode(degrees); }
    ~AngleUnitScope() { SetDegreesMode(saved_); }
    AngleUnitScope(const AngleUnitScope&) = delete;
    AngleUnitScope& operator=(const AngleUnitScope&) = delete;

private:
    bool saved_;
};

}  // namespace

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
    if (degrees == degrees_) return;
    degrees_ = degrees;
    stale_ = true;
}

void ThreeDimGraphiq::SetRounding(int digits) {
    if (digits == rounding_) return;
    rounding_ = digits;
    translator_.SetRounding(digits);
    stale_ = true;
}

void ThreeDimGraphiq::Refresh() {
    if (!stale_) return;
    {
        const AngleUnitScope unit(degrees_);
        mesh_.Evaluate(translator_, step_);
    }
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

const SurfaceGeometry& ThreeDimGraphiq::Geometry() {
    Refresh();
    return geometry_;
}

void ThreeDimGraphiq::Draw(Canvas& canvas, int width, int height, Rgb background) {
    if (width <= 0 || height <= 0) return;
    Refresh();
    canvas.Fill(background);
    const Projector projector = view_.For(width, height);
    DrawFarEdges(canvas, projector);

    // Back to front: each cell hides what was drawn behind it.
    const SurfaceGeometry& g = geometry_;
    ProjectAll(projector, g.vertices, projected_);
    const std::size_t count = g.PolygonCount();
    order_.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        BoxPoint centre;
        const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
        for (std::uint32_t c = from; c < to; ++c) {
            const BoxPoint& p = g.vertices[g.indices[c]];
            centre.x += p.x;
            centre.y += p.y;
            centre.z += p.z;
        }
        const double n = to - from;
        order_[k] = {projector.Distance({centre.x / n, centre.y / n, centre.z / n}), static_cast<std::uint32_t>(k)};
    }
    std::sort(order_.begin(), order_.end(), [](const auto& a, const auto& b) { return a.first > b.first; });

    canvas.SetPenColor(kBlack);
    canvas.SetPenWidth(1);
    std::array<CanvasPoint, 16> points{};
    for (const auto& [distance, k] : order_) {
        const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
        std::size_t n = 0;
        for (std::uint32_t c = from; c < to && n < points.size(); ++c, ++n) {
            const ScreenPoint& s = projected_[g.indices[c]];
            points[n] = {s.x, s.y};
        }
        canvas.Polygon(std::span<const CanvasPoint>(points.data(), n), background);
    }
    DrawBoxLabels(canvas, projector, range_);
}

}  // namespace kq
