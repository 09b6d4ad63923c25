// The part of the plane a graph shows, and the pixel mapping that follows from it.
#pragma once

namespace kq {

struct ViewRect {
    long double xmin = -10, xmax = 10, ymin = -5, ymax = 5;
    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// World-to-pixel mapping for a canvas of W x H pixels; every conversion to an integer
// truncates toward zero.
struct PixelMap {
    PixelMap(const ViewRect& v, int width, int height);

    bool Degenerate() const { return degenerate; }
    long double XOfColumn(long double column) const { return (column - x0) / kx; }

    long double x0 = 0, y0 = 0;  // the column of x = 0 and the row of y = 0 (truncated)
    long double kx = 0, ky = 0;  // pixels per unit
    bool degenerate = true;
};

// trunc(v) as an int, or false when an int cannot hold it.
bool PixelOf(long double v, int& out);

}  // namespace kq
