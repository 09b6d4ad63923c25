#include "plot/view_zoom.h"

#include <algorithm>
#include <cmath>

namespace kq {

void SeparateEqualBounds(ViewRect& view) {
    if (view.xmin == view.xmax) view.xmin -= 0.00001L;
    if (view.ymin == view.ymax) view.ymin -= 0.00001L;
}

std::optional<ViewRect> OneToOne(ViewRect& view, int width, int height) {
    SeparateEqualBounds(view);
    if (width == 0 || height == 0) return std::nullopt;
    if (view.ymax - view.ymin < 1e-12L) return std::nullopt;
    // The x range keeps its middle and takes the width the y range asks for. Worked out in
    // single precision, as it once was, a y range below about 1e-6 left x reversed or wide.
    // A mirrored x range stays mirrored, whichever way y runs.
    const long double aspect = static_cast<long double>(width) / height;
    const long double middle = view.xmin / 2 + view.xmax / 2;
    const long double half =
        (view.xmax < view.xmin ? -1 : 1) * aspect * std::fabs(view.ymax - view.ymin) / 2;
    ViewRect result = view;
    result.xmin = middle - half;
    result.xmax = middle + half;
    return result;
}

int OneToOneColumn(int width, int height, int startColumn, int startRow, int row) {
    if (height == 0) return startColumn;
    const long double column = static_cast<long double>(width) / height * (row - startRow) + startColumn;
    int out = startColumn;
    return PixelOf(column, out) ? out : startColumn;
}

ViewRect ZoomToRectangle(const ViewRect& view, int width, int height, int column1, int row1, int column2, int row2) {
    const PixelMap map(view, width, height);
    if (map.Degenerate()) return view;
    // Dragged right to left or bottom to top, it is still the same rectangle.
    const int left = std::min(column1, column2), right = std::max(column1, column2);
    const int top = std::min(row1, row2), bottom = std::max(row1, row2);
    ViewRect zoomed;
    zoomed.xmin = (left - map.x0) / map.kx;
    zoomed.xmax = (right - map.x0) / map.kx;
    zoomed.ymax = -(top - map.y0) / map.ky;
    zoomed.ymin = -(bottom - map.y0) / map.ky;
    return zoomed;
}

std::optional<ViewRect> ZoomOut(const ViewRect& view, int width, int height) {
    if (!(std::min(view.xmin, view.xmax) >= -4e7L && std::max(view.xmin, view.xmax) <= 4e7L) || height == 0)
        return std::nullopt;
    ViewRect v = view;
    SeparateEqualBounds(v);
    // Each axis widens away from its middle in its own direction (a mirrored one stays so).
    const long double u = std::fabs(v.xmax - v.xmin) / 4;
    const long double aspect = static_cast<long double>(width) / height;
    const long double sx = v.xmax < v.xmin ? -1 : 1, sy = v.ymax < v.ymin ? -1 : 1;
    v.xmin -= sx * aspect * u;
    v.xmax += sx * aspect * u;
    v.ymin -= sy * u;
    v.ymax += sy * u;
    return v;
}

}  // namespace kq
