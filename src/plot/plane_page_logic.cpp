#include "plot/plane_page_logic.h"

#include <algorithm>
#include <cmath>

#include "engine/diagnose.h"
#include "engine/number_text.h"

namespace kq {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Why a range text does not read as a number ("" when it does).
std::string NotANumber(std::string_view text) {
    const std::string_view t = Trimmed(text);
    long double value = 0;
    if (ParseWholeDecimal(t, value) && std::isfinite(value)) return "";
    if (t.empty()) return "Поле пусто: граница считается равной 0";
    std::string message = "«" + std::string(t) + "» — не число: граница считается равной 0";
    if (t.find(',') != std::string_view::npos) message += " (дробную часть отделяйте точкой)";
    return message;
}

}  // namespace

long double ReadRange(std::string_view text) {
    text = Trimmed(text);
    long double value = 0;
    if (!ParseWholeDecimal(text, value) || !std::isfinite(value)) return 0;
    return value;
}

RangeProblems CheckRange(std::string_view fromText, std::string_view toText) {
    RangeProblems problems{NotANumber(fromText), NotANumber(toText)};
    const long double from = ReadRange(fromText), to = ReadRange(toText);
    if (problems.from.empty() && !(from < to))
        problems.from = from == to ? "«от» должно быть меньше «до»: при равных границах график не строится"
                                   : "«от» должно быть меньше «до»: сейчас график отражён зеркально";
    return problems;
}

// A zoom edge on the axis is -0 as often as 0; the editor shows 0.
std::string WriteRange(long double value) { return FormatC("%.4Lg", value == 0 ? 0.0L : value); }

void SeparateEqualBounds(ViewRect& view) {
    if (view.xmin == view.xmax) view.xmin -= 0.00001L;
    if (view.ymin == view.ymax) view.ymin -= 0.00001L;
}

std::optional<ViewRect> OneToOne(ViewRect& view, int width, int height) {
    SeparateEqualBounds(view);
    if (width == 0 || height == 0) return std::nullopt;
    if (view.ymax - view.ymin < 1e-12L) return std::nullopt;
    // The x range keeps its middle and takes the width the y range asks for. Worked out in
    // single precision, as it once was, a y range below about 1e-6 left x reversed or wide.
    // A mirrored x range stays mirrored, whichever way y runs.
    const long double aspect = static_cast<long double>(width) / height;
    const long double middle = view.xmin / 2 + view.xmax / 2;
    const long double half =
        (view.xmax < view.xmin ? -1 : 1) * aspect * std::fabs(view.ymax - view.ymin) / 2;
    ViewRect result = view;
    result.xmin = middle - half;
    result.xmax = middle + half;
    return result;
}

int OneToOneColumn(int width, int height, int startColumn, int startRow, int row) {
    if (height == 0) return startColumn;
    const long double column = static_cast<long double>(width) / height * (row - startRow) + startColumn;
    int out = startColumn;
    return PixelOf(column, out) ? out : startColumn;
}

ViewRect ZoomToRectangle(const ViewRect& view, int width, int height, int column1, int row1, int column2, int row2) {
    const PixelMap map(view, width, height);
    if (map.Degenerate()) return view;
    // Dragged right to left or bottom to top, it is still the same rectangle.
    const int left = std::min(column1, column2), right = std::max(column1, column2);
    const int top = std::min(row1, row2), bottom = std::max(row1, row2);
    ViewRect zoomed;
    zoomed.xmin = (left - map.x0) / map.kx;
    zoomed.xmax = (right - map.x0) / map.kx;
    zoomed.ymax = -(top - map.y0) / map.ky;
    zoomed.ymin = -(bottom - map.y0) / map.ky;
    return zoomed;
}

std::optional<ViewRect> ZoomOut(const ViewRect& view, int width, int height) {
    if (!(std::min(view.xmin, view.xmax) >= -4e7L && std::max(view.xmin, view.xmax) <= 4e7L) || height == 0)
        return std::nullopt;
    ViewRect v = view;
    SeparateEqualBounds(v);
    // Each axis widens away from its middle in its own direction (a mirrored one stays so).
    const long double u = std::fabs(v.xmax - v.xmin) / 4;
    const long double aspect = static_cast<long double>(width) / height;
    const long double sx = v.xmax < v.xmin ? -1 : 1, sy = v.ymax < v.ymin ? -1 : 1;
    v.xmin -= sx * aspect * u;
    v.xmax += sx * aspect * u;
    v.ymin -= sy * u;
    v.ymax += sy * u;
    return v;
}

std::string FormulaDoubts(std::string_view text) {
    std::string line;
    for (const Diagnostic& d : Diagnose(text))
        line +=
            (line.empty() ? "Позиция " : "; позиция ") + std::to_string(CharacterNumber(text, d)) + ": " + d.message;
    return line;
}

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

FormulaListState::Click FormulaListState::OnClick(const std::vector<bool>& checked, int selected) {
    Click click;
    const int count = static_cast<int>(std::count(checked.begin(), checked.end(), true));
    if (count != count_) {
        click.recompile = true;
        for (int i = 0; i < static_cast<int>(checked.size()); ++i)
            if (checked[i]) click.compile.push_back(i);
    }
    if (selected >= 0 && selected < static_cast<int>(checked.size())) {
        const bool wasChecked = selected < static_cast<int>(checked_.size()) && checked_[selected];
        if (checked[selected] || wasChecked)
            click.redraw = true;
        else
            click.copyText = true;
    }
    checked_ = checked;
    count_ = count;
    return click;
}

void FormulaListState::Forget() {
    checked_.clear();
    count_ = 0;
}

}  // namespace kq
