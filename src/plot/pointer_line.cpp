#include "plot/pointer_line.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"

namespace kq {

std::string WriteAtResolution(long double value, long double resolution) {
    constexpr int kMostDecimals = 18;
    int decimals = 0;
    if (resolution > 0 && std::isfinite(resolution))
        decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(resolution) - 1e-9L)), 0, kMostDecimals);
    std::string text;
    if (std::isfinite(value) && std::fabs(value) < 1e15L) {
        const std::string format = "%." + std::to_string(decimals) + "Lf";
        text = FormatC(format.c_str(), value);
    } else {
        text = FormatC("%.6Lg", value);
    }
    // A value that rounds to zero is zero, not "-0.00".
    if (text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
    return text;
}

std::optional<PointerReading> ReadPointer(const ViewRect& view, int width, int height, int column, int row) {
    const PixelMap map(view, width, height);
    if (map.Degenerate() || width <= 0 || height <= 0) return std::nullopt;
    PointerReading at;
    // (A mirrored axis has a negative step; its resolution is the same.)
    at.xText = WriteAtResolution((column - map.x0) / map.kx, std::fabs(1 / map.kx));
    at.yStep = std::fabs(1 / map.ky);
    at.yText = WriteAtResolution(-(row - map.y0) / map.ky, at.yStep);
    // The formula is read where the text says, so the line agrees with itself.
    if (!ParseWholeDecimal(at.xText, at.x) || !ParseWholeDecimal(at.yText, at.y)) return std::nullopt;
    return at;
}

std::string PointerLineText(const PointerReading& at, std::optional<long double> value) {
    std::string text = "x = " + at.xText + "   y = " + at.yText;
    if (value) text += "   f(x) = " + WriteAtResolution(*value, at.yStep);
    return text;
}

}  // namespace kq
