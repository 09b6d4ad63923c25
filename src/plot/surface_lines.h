// Hidden lines removed from the surface's strokes themselves, for outputs that keep every
// stroke (vector pictures and printers): instead of cells filled back to front over the lines
// behind them, only the parts of the lines that stay visible, joined into one path per run
// along a grid line. What is visible is what the back-to-front painting leaves visible.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plot/canvas.h"
#include "plot/surface_box.h"
#include "plot/surface_geometry.h"
#include "plot/surface_view.h"

namespace kq {

using CanvasPath = std::vector<CanvasPoint>;

struct VisibleLines {
    std::vector<CanvasPath> box;   // what the surface leaves of the far box edges
    std::vector<CanvasPath> mesh;  // the mesh lines, one path per visible run
};

// `projected` holds every vertex of `geometry` projected; `order` the polygons back to front,
// as the filled picture paints them. The far edges are painted before every polygon, each
// polygon's mesh lines right after it. Points are rounded to a hundredth of a pixel.
VisibleLines VisibleMeshLines(const SurfaceGeometry& geometry, std::span<const ScreenPoint> projected,
                              std::span<const std::uint32_t> order, std::span<const BoxEdge> farEdges,
                              const Projector& projector);

// Which parts of the segment from `a` to `b` no polygon painted after `rank` covers, as
// parameter intervals [t0, t1] along it, in order. Polygons are the projected cells; a
// polygon covers a point when the point lies inside it by the even-odd rule.
class Occluders {
public:
    Occluders(const SurfaceGeometry& geometry, std::span<const ScreenPoint> projected,
              std::span<const std::uint32_t> order);

    // rank -1: before every polygon.
    void Visible(CanvasPoint a, CanvasPoint b, std::int64_t rank, std::vector<std::pair<double, double>>& out);

private:
    struct Bounds {
        double left, top, right, bottom;
    };
    void CoveredBy(std::uint32_t polygon, CanvasPoint a, CanvasPoint b, std::vector<std::pair<double, double>>& out);

    const SurfaceGeometry& geometry_;
    std::span<const ScreenPoint> projected_;
    std::vector<std::uint32_t> rank_;   // of each polygon, in painting order
    std::vector<Bounds> bounds_;        // of each polygon on the canvas
    // A grid of bins over the projected surface; each lists the polygons whose bounds meet it.
    double left_ = 0, top_ = 0, binWidth_ = 1, binHeight_ = 1;
    int columns_ = 1, rows_ = 1;
    std::vector<std::uint32_t> binStarts_, binPolygons_;
    std::vector<std::uint32_t> seen_;  // the query that last looked at each polygon
    std::uint32_t query_ = 0;
    std::vector<std::uint32_t> candidates_;
    std::vector<std::pair<double, double>> covered_;
    // A cell cut at both faces of the box has at most 6 corners.
    static constexpr std::uint32_t kMostCorners = 12;
};

}  // namespace kq
