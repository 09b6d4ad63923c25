// The line under the plane graph: the point under the pointer and the formula's value there,
// written at the view's resolution.
#pragma once

#include <optional>
#include <string>

#include "plot/view_rect.h"

namespace kq {

// The point under the mouse, written at the view's resolution (as many decimals as tell
// neighbouring pixels apart), in C notation; `x` is the number its text says.
struct PointerReading {
    long double x = 0, y = 0;
    long double yStep = 0;  // what one pixel row is worth
    std::string xText, yText;
};
std::optional<PointerReading> ReadPointer(const ViewRect& view, int width, int height, int column, int row);

// A value written with the decimals of a step of `resolution` (fixed notation for ordinary
// magnitudes, 6 significant digits in %g style beyond them; never "-0").
std::string WriteAtResolution(long double value, long double resolution);

// The line under the graph: "x = 1.25   y = -0.40", and "   f(x) = 0.95" (at the y
// resolution) when the main formula has a value there.
std::string PointerLineText(const PointerReading& at, std::optional<long double> value);

}  // namespace kq
