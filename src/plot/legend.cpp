#include "plot/legend.h"

#include <algorithm>

namespace kq {
namespace {

constexpr int kFontSize = 8;
constexpr int kMargin = 4;       // above the first row and below the last
constexpr int kStroke = 20;      // the sample stroke's length
constexpr int kTextLeft = 32;    // where the texts start
constexpr Rgb kWhite{255, 255, 255};

}  // namespace

LegendLayout LayOutLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, int pictureHeight) {
    LegendLayout layout;
    if (entries.empty()) return layout;
    canvas.SetFontSize(kFontSize);
    layout.rowHeight = canvas.TextExtent("Ay").height + 2;
    // Rows that fit half the picture; a picture too small for one has no legend.
    const int room = (pictureHeight / 2 - 2 * kMargin) / std::max(1, layout.rowHeight);
    if (room < 1) return {};
    const int count = static_cast<int>(entries.size());
    layout.shown = count <= room ? count : room - 1;
    layout.hidden = count - layout.shown;
    const int rows = layout.shown + (layout.hidden > 0 ? 1 : 0);
    layout.height = 2 * kMargin + rows * layout.rowHeight;
    return layout;
}

void DrawLegend(Canvas& canvas, const std::vector<LegendEntry>& entries, const LegendLayout& layout, int top,
                int width) {
    if (layout.height <= 0) return;
    canvas.SetPenColor(kWhite);
    canvas.SetPenWidth(1);
    canvas.SetBrushClear(false);
    canvas.Rectangle(0, top, width, top + layout.height);
    canvas.SetPenColor(kSilver);
    canvas.MoveTo(0, top);
    canvas.LineTo(width, top);
    canvas.SetBrushClear(true);
    canvas.SetFontSize(kFontSize);
    int y = top + kMargin;
    for (int i = 0; i < layout.shown && i < static_cast<int>(entries.size()); ++i, y += layout.rowHeight) {
        const LegendEntry& e = entries[static_cast<std::size_t>(i)];
        const int middle = y + layout.rowHeight / 2;
        canvas.SetPenColor(e.colour);
        canvas.SetPenWidth(2);
        canvas.MoveTo(kMargin + 2, middle);
        canvas.LineTo(kMargin + 2 + kStroke, middle);
        canvas.SetFontColor(e.colour);
        canvas.TextOut(kTextLeft, y, e.text);
    }
    if (layout.hidden > 0) {
        canvas.SetFontColor(kGrey);
        canvas.TextOut(kTextLeft, y, "… ещё формул: " + std::to_string(layout.hidden));
    }
    canvas.SetPenWidth(1);
    canvas.SetPenColor(kBlack);
}

}  // namespace kq
