#include "plot/surface_grid_text.h"

#include <algorithm>

#include "plot/round_ticks.h"
#include "plot/surface_mesh.h"

namespace kq {

int DrawnGridLines(int intervals, int stride) {
    stride = std::max(stride, 1);
    return intervals / stride + 1 + (intervals % stride != 0);
}

std::string GridSizeText(int intervals, int stride) {
    const std::string points = std::to_string(intervals + 1);
    std::string text = points + " × " + points + " точек";
    const int drawn = DrawnGridLines(intervals, stride);
    if (drawn < intervals + 1) {
        const std::string lines = std::to_string(drawn);
        text += ", линий на рисунке: " + lines + " × " + lines;
    }
    return text;
}

std::string BadStepText(long double stepInForce) {
    return "Шаг сетки — число от " + RoughText(kMinGridStep) + " до " + RoughText(kMaxGridStep) +
           "; пока действует шаг " + RoughText(stepInForce);
}

}  // namespace kq
