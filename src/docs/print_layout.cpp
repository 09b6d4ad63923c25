#include "docs/print_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kq {
namespace {

// trunc(v) as an int, saturating instead of overflowing.
int Truncate(long double v) {
    if (!(v == v)) return 0;
    if (v >= static_cast<long double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= static_cast<long double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(v));
}

}  // namespace

std::optional<float> GraphAspect(int width, int height) {
    if (width == 0) return std::nullopt;
    return static_cast<float>(height) / static_cast<float>(width);
}

int FontPixelHeight(int points, int dpi) {
    const long long product = static_cast<long long>(points) * dpi;
    return static_cast<int>(product >= 0 ? (product + 36) / 72 : (product - 36) / 72);
}

std::optional<PageLayout> LayOutPrintedPage(int pageWidth, int pageHeight, int percent, float aspect, int fontHeight,
                                            int lines) {
    if (pageWidth == 0 || pageHeight == 0) return std::nullopt;
    const long double a = aspect;
    const long double base = static_cast<long double>(static_cast<long long>(percent) * pageWidth);
    const long double h = std::abs(fontHeight);
    const long double foot = pageHeight;
    lines = std::max(lines, 0);
    const long double top = base * (1.0L / 95) * a;  // 100/95 of the graph's height
    const long double text = lines > 0 ? 1.5L * h * (lines - 1) + h : 0;
    PageLayout page;
    if (top + text > foot) {
        const long double room = std::max(foot - text, foot / 2);
        if (room < top) page.shrink = room / top;
    }
    page.graphWidth = Truncate(base * 0.01L * page.shrink);
    page.graphHeight = Truncate(base * 0.01L * a * page.shrink);
    // The lines 1.5 font heights apart; one that would pass the page's foot starts the next
    // page at its top (a page's first line stays even where the page is too short for it).
    long double start = top * page.shrink;
    int pageIndex = 0, first = 0;
    for (int k = 0; k < lines; ++k) {
        if (k > first && start + 1.5L * h * (k - first) + h > foot) {
            ++pageIndex;
            first = k;
            start = 0;
        }
        page.rows.push_back({pageIndex, Truncate(start + 1.5L * h * (k - first))});
    }
    return page;
}

std::optional<PreviewShape> PreviewPageShape(int pageWidth, int pageHeight) {
    if (pageWidth == 0 || pageHeight == 0) return std::nullopt;
    const long double ratio = pageWidth > pageHeight ? static_cast<long double>(pageHeight) / pageWidth
                                                     : static_cast<long double>(pageWidth) / pageHeight;
    const int shorter = Truncate(ratio * 100);
    return pageWidth > pageHeight ? PreviewShape{100, shorter} : PreviewShape{shorter, 100};
}

PageLayout LayOutPreview(int previewWidth, int percent, float aspect, int fontHeight, const PageLayout& printed) {
    const long double a = aspect;
    const long double h = std::abs(fontHeight);
    const int scaled = previewWidth * percent;
    PageLayout page;
    page.shrink = printed.shrink;
    page.graphWidth = Truncate((scaled / 100) * page.shrink);
    page.graphHeight = Truncate(page.graphWidth * a);
    const long double start = static_cast<long double>(scaled / 95) * a * page.shrink;
    // The lines break onto pages where the printed ones do.
    int first = 0;
    for (std::size_t k = 0; k < printed.rows.size(); ++k) {
        const int pageIndex = printed.rows[k].page;
        if (k > 0 && pageIndex != printed.rows[k - 1].page) first = static_cast<int>(k);
        const long double y = (pageIndex == 0 ? start : 0) + 1.5L * h * (static_cast<int>(k) - first);
        page.rows.push_back({pageIndex, Truncate(y)});
    }
    return page;
}

std::string GraphDescription(const std::string& formula, const std::vector<std::string>& list,
                             const std::vector<bool>& checked) {
    std::string text = formula;
    for (std::size_t i = 0; i < list.size() && i < checked.size(); ++i)
        if (checked[i]) text += ", " + list[i];
    return text;
}

}  // namespace kq
