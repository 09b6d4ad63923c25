// The markers of notable points over the plane graph, drawn on any canvas so that the screen,
// pictures and prints show the same ones, and the query that asks for the points of what a
// graph draws.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>

#include "plot/canvas.h"
#include "plot/notable_points.h"
#include "plot/point_finder.h"
#include "plot/view_rect.h"

namespace kq {

class Graphiq;

// The points of every curve `graph` draws (the main formula and its list formulas, in its
// modes), its view sampled for `columns` pixel columns.
PointQuery QueryOfGraph(const Graphiq& graph, int columns);

// Where a point's marker sits on a canvas of width x height: a break (which has no value) on
// the x axis, held inside the canvas.
CanvasPoint MarkPlace(const NotablePoint& point, const PixelMap& map, int height);

// Roots, extrema, inflections and domain ends as filled circles, crossings as crosses, breaks
// as open circles, each in `colour` of its curve, `radius` canvas pixels across half.
void DrawPointMarks(Canvas& canvas, const ViewRect& view, int width, int height, std::span<const NotablePoint> points,
                    const std::function<Rgb(int curve)>& colour, double radius);

// The radius markers have on a canvas of that size: a few pixels on a screen, more on paper.
double MarkRadius(int width, int height);

// The point whose marker is nearest (column, row) within `reach` canvas pixels.
std::optional<std::size_t> MarkAt(const ViewRect& view, int width, int height, std::span<const NotablePoint> points,
                                  double column, double row, double reach);

}  // namespace kq
