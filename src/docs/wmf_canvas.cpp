#include "docs/wmf_canvas.h"

#include <algorithm>
#include <cmath>

#include "docs/print_layout.h"
#include "docs/text_encoding.h"

namespace kq {
namespace {

constexpr std::uint8_t kRussianCharset = 204;
// Up to this many logical units a pixel: lines and polygons between pixels keep their place.
constexpr int kMostUnitsPerPixel = 16;

std::uint32_t Packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

int UnitsPerPixel(int width, int height) {
    return std::min(kMostUnitsPerPixel, WmfWriter::kMaxExtent / (std::max(width, height) + 1));
}

// The text in the font's code page, a character it lacks shown as "?".
std::string Cp1251(std::string_view utf8) {
    if (std::optional<std::string> whole = Utf8ToCp1251(utf8)) return *whole;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        n = std::min(n, utf8.size() - i);
        const std::optional<std::string> one = Utf8ToCp1251(utf8.substr(i, n));
        out += one ? *one : std::string("?");
        i += n;
    }
    return out;
}

}  // namespace

bool WmfCanvas::Fits(int width, int height) { return width > 0 && height > 0 && UnitsPerPixel(width, height) >= 1; }

WmfCanvas::WmfCanvas(int width, int height, TextMeasure measure)
    : width_(width),
      height_(height),
      unitsPerPixel_(std::max(1, UnitsPerPixel(width, height))),
      measure_(std::move(measure)),
      writer_(width * unitsPerPixel_, height * unitsPerPixel_, kDotsPerInch * unitsPerPixel_) {
    ApplyPen();
    ApplyBrush();
    SetFontSize(8);
}

WmfPoint WmfCanvas::Centre(int x, int y) const {
    return {x * unitsPerPixel_ + unitsPerPixel_ / 2, y * unitsPerPixel_ + unitsPerPixel_ / 2};
}

WmfPoint WmfCanvas::Between(CanvasPoint p) const {
    const auto place = [this](double v) {
        const double units = std::clamp(v * unitsPerPixel_, -32768.0, 32767.0);
        return std::isfinite(units) ? static_cast<int>(std::lround(units)) : 0;
    };
    return {place(p.x), place(p.y)};
}

void WmfCanvas::Flush() {
    if (run_.size() >= 2) writer_.Polyline(run_);
    run_.clear();
}

void WmfCanvas::ApplyPen() { writer_.SetPen(Packed(penColor_), std::max(1, penWidth_) * unitsPerPixel_); }

void WmfCanvas::ApplyBrush() {
    if (brushClear_)
        writer_.SetNullBrush();
    else
        writer_.SetBrush(Packed({255, 255, 255}));
}

void WmfCanvas::SetPenColor(Rgb color) {
    if (color == penColor_) return;
    Flush();
    penColor_ = color;
    ApplyPen();
}

void WmfCanvas::SetPenWidth(int width) {
    if (width == penWidth_) return;
    Flush();
    penWidth_ = width;
    ApplyPen();
}

void WmfCanvas::SetBrushClear(bool clear) {
    if (clear == brushClear_) return;
    Flush();
    brushClear_ = clear;
    ApplyBrush();
}

void WmfCanvas::SetFontSize(int points) {
    const int pixels = FontPixelHeight(points, kDotsPerInch);
    if (pixels == fontPixels_) return;
    Flush();
    fontPixels_ = pixels;
    writer_.SetFont(kFontFace, std::max(1, fontPixels_) * unitsPerPixel_, kRussianCharset);
}

void WmfCanvas::SetFontColor(Rgb color) {
    Flush();
    writer_.SetTextColor(Packed(color));
}

void WmfCanvas::MoveTo(int x, int y) {
    Flush();
    x_ = x;
    y_ = y;
}

void WmfCanvas::LineTo(int x, int y) {
    // A line to the point itself shows nothing.
    if (x == x_ && y == y_) return;
    if (run_.empty()) run_.push_back(Centre(x_, y_));
    run_.push_back(Centre(x, y));
    x_ = x;
    y_ = y;
}

void WmfCanvas::TextOut(int x, int y, std::string_view utf8) {
    Flush();
    writer_.Text(x * unitsPerPixel_, y * unitsPerPixel_, Cp1251(utf8));
}

Size WmfCanvas::TextExtent(std::string_view utf8) {
    return measure_ ? measure_(utf8, std::max(1, fontPixels_)) : Size{};
}

void WmfCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Flush();
    // The format's rectangle leaves out its last unit, as the canvas leaves out its last pixel.
    const WmfPoint from = Centre(x1, y1), to = Centre(x2 - 1, y2 - 1);
    writer_.Rectangle(from.x, from.y, to.x + 1, to.y + 1);
}

void WmfCanvas::Fill(Rgb color) {
    Flush();
    writer_.SetNullPen();
    writer_.SetBrush(Packed(color));
    writer_.Rectangle(0, 0, width_ * unitsPerPixel_ + 1, height_ * unitsPerPixel_ + 1);
    ApplyPen();
    ApplyBrush();
}

void WmfCanvas::Polygon(std::span<const CanvasPoint> points, Rgb fill) {
    Flush();
    std::vector<WmfPoint> corners;
    corners.reserve(points.size());
    for (const CanvasPoint& p : points) corners.push_back(Between(p));
    writer_.SetBrush(Packed(fill));
    writer_.Polygon(corners);
    ApplyBrush();
}

void WmfCanvas::Polyline(std::span<const CanvasPoint> points) {
    Flush();
    std::vector<WmfPoint> line;
    line.reserve(points.size());
    for (const CanvasPoint& p : points) line.push_back(Between(p));
    writer_.Polyline(line);
}

std::vector<std::uint8_t> WmfCanvas::Finish() {
    Flush();
    if (!Fits(width_, height_)) return {};
    return writer_.Finish();
}

}  // namespace kq
