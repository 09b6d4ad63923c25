#include "output/emf_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <QString>

#include "docs/print_layout.h"
#include "output/arial_metrics.h"
#include "output/emf_device.h"

namespace kq {
namespace {

std::uint32_t Packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

std::u16string Utf16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String();
}

// Readers that lack the font fall back to a sans-serif one with Cyrillic letters.
constexpr char16_t kFontFamily[] = u"Arial";

}  // namespace

EmfCanvas::EmfCanvas(int width, int height, const std::string& title)
    : device_(std::make_unique<EmfDevice>(width, height, Utf16(std::string("Кванториум+ от KX") + '\0' + title))) {
    ApplyPen();
    device_->SetBrush(Packed({255, 255, 255}), false);
    SetFontSize(8);
}

EmfCanvas::~EmfCanvas() = default;

void EmfCanvas::ApplyPen() { device_->SetPen(Packed(penColor_), penWidth_); }

void EmfCanvas::SetPenColor(Rgb color) {
    penColor_ = color;
    ApplyPen();
}

void EmfCanvas::SetPenWidth(int width) {
    penWidth_ = width;
    ApplyPen();
}

void EmfCanvas::SetBrushClear(bool clear) { device_->SetBrush(Packed({255, 255, 255}), clear); }

void EmfCanvas::SetFontSize(int points) {
    fontPixels_ = FontPixelHeight(points, kDotsPerInch);
    device_->SetFont(kFontFamily, fontPixels_);
}

// Measured with the font a reader of the picture will most likely use.
Size EmfCanvas::TextExtent(std::string_view utf8) { return ArialTextExtent(utf8, fontPixels_); }

void EmfCanvas::SetFontColor(Rgb color) {
    fontColor_ = color;
    device_->SetTextColor(Packed(color));
}

void EmfCanvas::MoveTo(int x, int y) { device_->MoveTo(x, y); }

void EmfCanvas::LineTo(int x, int y) { device_->LineTo(x, y); }

void EmfCanvas::TextOut(int x, int y, std::string_view utf8) { device_->Text(x, y, Utf16(utf8)); }

// A metafile has no outlined text: the halo is the text written a pixel off in every
// direction in the halo colour, under the text itself.
void EmfCanvas::TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) {
    const std::u16string text = Utf16(utf8);
    device_->SetTextColor(Packed(halo));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) device_->Text(x + dx, y + dy, text);
    device_->SetTextColor(Packed(fontColor_));
    device_->Text(x, y, text);
}

void EmfCanvas::Rectangle(int x1, int y1, int x2, int y2) { device_->Rectangle(x1, y1, x2, y2); }

void EmfCanvas::Fill(Rgb color) { device_->Fill(Packed(color)); }

void EmfCanvas::Polygon(std::span<const CanvasPoint> points, Rgb fill) {
    polygon_.clear();
    for (const CanvasPoint& p : points) {
        polygon_.push_back(static_cast<std::int32_t>(std::lround(p.x)));
        polygon_.push_back(static_cast<std::int32_t>(std::lround(p.y)));
    }
    device_->Polygon(polygon_, Packed(fill));
}

std::vector<std::uint8_t> EmfCanvas::Finish() { return device_->Finish(); }

}  // namespace kq
