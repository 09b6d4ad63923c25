// The surface as polygons in box coordinates, ready for any view: one per grid cell whose four
// corners have values, cut at the box's top and bottom faces. Cells across a pole or a jump
// are left out, so that the two sides are never joined by a wall.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plot/surface_mesh.h"
#include "plot/surface_view.h"

namespace kq {

struct SurfaceGeometry {
    // The grid points first (point (i, j) at j * side + i), then the points where cells were cut.
    std::vector<BoxPoint> vertices;
    // Polygon k is vertices[indices[starts[k]]] .. vertices[indices[starts[k + 1] - 1]].
    std::vector<std::uint32_t> indices;
    std::vector<std::uint32_t> starts{0};
    // The grid cell of each polygon: j * intervals + i for the cell right of and above (i, j).
    std::vector<std::uint32_t> cells;
    // The mesh lines: polygon k's edges that are drawn are the vertex pairs
    // edges[2 * e], edges[2 * e + 1] for e in [edgeStarts[k], edgeStarts[k + 1]). On a fine grid
    // only every lineStride-th grid line is drawn (and always the border and the cuts along
    // the box's faces), so that the net stays readable; the cells still hide what is behind.
    std::vector<std::uint32_t> edges;
    std::vector<std::uint32_t> edgeStarts{0};
    int lineStride = 1;

    std::size_t PolygonCount() const { return cells.size(); }
};

// At most about this many mesh lines run each way, however fine the grid.
inline constexpr int kMaxMeshLines = 50;
int LineStride(int intervals);

// Maps z values into the box: the range's bottom to -kBoxHalfHeight, its top to +kBoxHalfHeight.
class BoxScale {
public:
    explicit BoxScale(const ZRange& range);
    // Far beyond the box the value is held at a large finite height, where cutting still works.
    double operator()(long double z) const;

private:
    long double middle_ = 0, halfSpan_ = 0.5L;
};

SurfaceGeometry BuildGeometry(const SurfaceMesh& mesh, const ZRange& range);

// Cells are drawn as triangles fanned out from their first point. Where such a fold between
// two triangles is part of the outline seen from the eye (one triangle turns its front to the
// eye, the other its back), lines behind stop there; those folds, as vertex pairs, go to
// `out` so that they can be drawn as lines too.
void OutlineFolds(const SurfaceGeometry& geometry, std::span<const ScreenPoint> projected,
                  std::vector<std::uint32_t>& out);

// Whether the step of z along one grid line between neighbours is a break rather than a slope:
// the line climbs the same way on both sides and the step goes back against it by more than
// both neighbours together (a pole), or it is more than ten times steeper than its neighbours
// (a jump). Only with both neighbours present; `height` is the box height, and steps below 2 %
// of it never count.
bool IsBreak(double previous, bool hasPrevious, double step, double next, bool hasNext, double height);

}  // namespace kq
