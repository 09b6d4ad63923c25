#include "docs/print_layout.h"

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

// The three text rows: the description where the text block starts, the extra text one and a
// half font heights below it, the stamp three.
void PlaceTextRows(PageLayout& page, long double top, int fontHeight) {
    const long double h = std::abs(fontHeight);
    page.descriptionRow = Truncate(top);
    page.extraTextRow = Truncate(1.5L * h + top);
    page.stampRow = Truncate(3.0L * h + top);
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

std::optional<PageLayout> LayOutPrintedPage(int pageWidth, int pageHeight, int percent, float aspect, int fontHeight) {
    if (pageWidth == 0 || pageHeight == 0) return std::nullopt;
    const long double a = aspect;
    const long double base = static_cast<long double>(static_cast<long long>(percent) * pageWidth);
    PageLayout page;
    page.graphWidth = Truncate(base * 0.01L);
    page.graphHeight = Truncate(base * 0.01L * a);
    PlaceTextRows(page, base * (1.0L / 95) * a, fontHeight);  // 100/95 of the graph's height
    return page;
}

std::optional<PreviewShape> PreviewPageShape(int pageWidth, int pageHeight) {
    if (pageWidth == 0 || pageHeight == 0) return std::nullopt;
    const long double ratio = pageWidth > pageHeight ? static_cast<long double>(pageHeight) / pageWidth
                                                     : static_cast<long double>(pageWidth) / pageHeight;
    const int shorter = Truncate(ratio * 100);
    return pageWidth > pageHeight ? PreviewShape{100, shorter} : PreviewShape{shorter, 100};
}

PageLayout LayOutPreview(int previewWidth, int percent, float aspect, int fontHeight) {
    const long double a = aspect;
    const int scaled = previewWidth * percent;
    PageLayout page;
    page.graphWidth = scaled / 100;
    page.graphHeight = Truncate(page.graphWidth * a);
    PlaceTextRows(page, static_cast<long double>(scaled / 95) * a, fontHeight);
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
