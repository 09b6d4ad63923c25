#include "plot/view_moves.h"

#include <cmath>

namespace kq {

ViewRect ZoomAbout(const ViewRect& view, int width, int height, long double column, long double row,
                   long double scale) {
    if (width <= 0 || height <= 0 || view.xmin == view.xmax || view.ymin == view.ymax || !(scale > 0) ||
        !std::isfinite(scale))
        return view;
    // The world point under the pointer, then each bound's distance from it scaled.
    const long double x = view.xmin + column * (view.xmax - view.xmin) / width;
    const long double y = view.ymax - row * (view.ymax - view.ymin) / height;
    ViewRect zoomed;
    zoomed.xmin = x - (x - view.xmin) * scale;
    zoomed.xmax = x + (view.xmax - x) * scale;
    zoomed.ymin = y - (y - view.ymin) * scale;
    zoomed.ymax = y + (view.ymax - y) * scale;
    if (!std::isfinite(zoomed.xmin) || !std::isfinite(zoomed.xmax) || !std::isfinite(zoomed.ymin) ||
        !std::isfinite(zoomed.ymax) || zoomed.xmin == zoomed.xmax || zoomed.ymin == zoomed.ymax)
        return view;
    return zoomed;
}

ViewRect ZoomAboutCentre(const ViewRect& view, long double scale) {
    // A canvas of any size has its middle at half its width and height.
    return ZoomAbout(view, 2, 2, 1, 1, scale);
}

ViewRect PanByPixels(const ViewRect& view, int width, int height, long double dx, long double dy) {
    if (width <= 0 || height <= 0) return view;
    const long double sx = dx * (view.xmax - view.xmin) / width;
    const long double sy = dy * (view.ymax - view.ymin) / height;
    // Dragged right, the picture follows: the view goes left. Dragged down, the view goes up.
    return {view.xmin - sx, view.xmax - sx, view.ymin + sy, view.ymax + sy};
}

ViewRect PanByShare(const ViewRect& view, long double shareX, long double shareY) {
    const long double sx = shareX * (view.xmax - view.xmin);
    const long double sy = shareY * (view.ymax - view.ymin);
    return {view.xmin + sx, view.xmax + sx, view.ymin + sy, view.ymax + sy};
}

long double WheelScale(long double notches) { return std::pow(kWheelStep, -notches); }

}  // namespace kq
