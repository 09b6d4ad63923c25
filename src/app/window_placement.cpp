#include "app/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace kq {
namespace {

std::int64_t Overlap(const Box& a, const Box& b) {
    const std::int64_t w = std::min<std::int64_t>(std::int64_t{a.left} + a.width, std::int64_t{b.left} + b.width) -
                           std::max(a.left, b.left);
    const std::int64_t h = std::min<std::int64_t>(std::int64_t{a.top} + a.height, std::int64_t{b.top} + b.height) -
                           std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// One side: the size between the minimum and the screen, the start inside the screen.
void Fit(int& start, int& size, int screenStart, int screenSize, int minimum) {
    size = std::clamp(size, std::min(minimum, screenSize), screenSize);
    const std::int64_t last = std::int64_t{screenStart} + screenSize - size;
    start = static_cast<int>(std::clamp<std::int64_t>(start, screenStart, last));
}

}  // namespace

Box FitOnScreen(const Box& saved, int minimumWidth, int minimumHeight, const std::vector<Box>& screens) {
    if (screens.empty()) return saved;
    const Box* screen = &screens.front();
    std::int64_t best = 0;
    for (const Box& s : screens) {
        const std::int64_t overlap = Overlap(saved, s);
        if (overlap > best) {
            best = overlap;
            screen = &s;
        }
    }
    Box fitted = saved;
    Fit(fitted.left, fitted.width, screen->left, screen->width, minimumWidth);
    Fit(fitted.top, fitted.height, screen->top, screen->height, minimumHeight);
    return fitted;
}

}  // namespace kq
