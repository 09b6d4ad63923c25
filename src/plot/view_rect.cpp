#include "plot/view_rect.h"

#include <climits>
#include <cmath>

namespace kq {

PixelMap::PixelMap(const ViewRect& v, int width, int height) {
    degenerate = v.xmin == v.xmax || v.ymin == v.ymax;
    if (degenerate) return;
    const long double w = width, h = height;
    x0 = std::trunc(w * (-v.xmin) / (v.xmax - v.xmin));
    y0 = std::trunc(h - h * (-v.ymin) / (v.ymax - v.ymin));
    kx = w / (v.xmax - v.xmin);
    ky = h / (v.ymax - v.ymin);
}

bool PixelOf(long double v, int& out) {
    if (!(v > static_cast<long double>(INT_MIN) - 1 && v < static_cast<long double>(INT_MAX) + 1)) return false;
    out = static_cast<int>(v);  // the conversion truncates toward zero
    return true;
}

}  // namespace kq
