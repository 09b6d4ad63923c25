// Where a printed page and its small preview put the graph and the text lines: the
// description, the extra text and the date stamp, each wrapped onto as many lines as it needs.
// Every real-to-pixel step truncates toward zero; the graph sits at the top left corner of the
// printable area and shrinks when it and the text would not fit the page together.
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

// Where one line of text goes: its page (0 the first) and its top row there.
struct TextRow {
    int page = 0, y = 0;
    friend bool operator==(const TextRow&, const TextRow&) = default;
};

// The graph's size and every text line's place, in the order the lines are printed.
struct PageLayout {
    int graphWidth = 0, graphHeight = 0;
    // The graph's size over the size its share of the page asks for: 1 unless it had to
    // shrink to leave room for the text.
    long double shrink = 1;
    std::vector<TextRow> rows;
    int Pages() const { return rows.empty() ? 1 : rows.back().page + 1; }
    friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// The three texts take at least a line each, printed even when empty.
inline constexpr int kTextsOnPage = 3;

// The printed page: `pageWidth` x `pageHeight` printer pixels, the graph `percent` (0..100)
// of the page width, `lines` text lines of a font `fontHeight` pixels high. The lines follow
// each other 1.5 font heights apart, the first 100/95 of the graph's height below the top; a
// line that would pass the page's foot starts the next page at its top. When the graph and
// the text do not fit one page, the graph shrinks (keeping its aspect) until they do, but
// never below half the page's height: a text longer than that goes on over further pages.
// Nothing for an empty page.
std::optional<PageLayout> LayOutPrintedPage(int pageWidth, int pageHeight, int percent, float aspect, int fontHeight,
                                            int lines = kTextsOnPage);

// The preview's page in preview pixels: 100 along the page's longer side (a square page
// counts as portrait). Nothing for an empty page.
struct PreviewShape {
    int width = 0, height = 0;
    friend bool operator==(const PreviewShape&, const PreviewShape&) = default;
};
std::optional<PreviewShape> PreviewPageShape(int pageWidth, int pageHeight);

// The track bar under the preview is as wide as the preview page plus its end margins.
inline int PreviewTrackBarWidth(const PreviewShape& shape) { return shape.width + 19; }

// What the preview draws on a page of `previewWidth` preview pixels for the page laid out as
// `printed`: the graph shrunk as much, the same lines on the same pages.
PageLayout LayOutPreview(int previewWidth, int percent, float aspect, int fontHeight, const PageLayout& printed);

// The description line: the main formula, then ", " and each checked list formula in list order.
std::string GraphDescription(const std::string& formula, const std::vector<std::string>& list,
                             const std::vector<bool>& checked);

}  // namespace kq
