// Where a printed page and its small preview put the graph and the three text lines: the
// description, the extra text and the date stamp. Every real-to-pixel step truncates toward
// zero; the graph sits at the top left corner of the printable area.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kq {

// The graph's aspect (height / width of its on-screen paint box) as the layout uses it; nothing
// for a paint box of width 0, which prints nothing.
std::optional<float> GraphAspect(int width, int height);

// The height in pixels of a font of `points` on a device of `dpi` dots per inch, rounded.
int FontPixelHeight(int points, int dpi);

// The graph's size and the three lines' rows.
struct PageLayout {
    int graphWidth = 0, graphHeight = 0;
    int descriptionRow = 0, extraTextRow = 0, stampRow = 0;
    friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// The printed page: `pageWidth` x `pageHeight` printer pixels, the graph `percent` (0..100)
// of the page width, the text font `fontHeight` pixels high. Nothing for an empty page.
std::optional<PageLayout> LayOutPrintedPage(int pageWidth, int pageHeight, int percent, float aspect, int fontHeight);

// The preview's page in preview pixels: 100 along the page's longer side (a square page
// counts as portrait). Nothing for an empty page.
struct PreviewShape {
    int width = 0, height = 0;
    friend bool operator==(const PreviewShape&, const PreviewShape&) = default;
};
std::optional<PreviewShape> PreviewPageShape(int pageWidth, int pageHeight);

// The track bar under the preview is as wide as the preview page plus its end margins.
inline int PreviewTrackBarWidth(const PreviewShape& shape) { return shape.width + 19; }

// What the preview draws on a page of `previewWidth` preview pixels.
PageLayout LayOutPreview(int previewWidth, int percent, float aspect, int fontHeight);

// The description line: the main formula, then ", " and each checked list formula in list order.
std::string GraphDescription(const std::string& formula, const std::vector<std::string>& list,
                             const std::vector<bool>& checked);

}  // namespace kq
