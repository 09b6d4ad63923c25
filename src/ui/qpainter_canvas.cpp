#include "ui/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <QString>

namespace kq {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, const QFont& font, QRect area)
    : painter_(painter), font_(font), area_(area) {
    ApplyPen();
    painter_.setBrush(Qt::white);
}

void QPainterCanvas::ApplyPen() {
    QPen pen(penColor_);
    // Width 1 is a hairline on every device (a printer's pixels are tiny); wider pens scale.
    pen.setWidth(penWidth_ <= 1 ? 0 : penWidth_);
    pen.setCosmetic(penWidth_ <= 1);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
}

void QPainterCanvas::SetPenColor(Rgb color) {
    penColor_ = ToQColor(color);
    ApplyPen();
}

void QPainterCanvas::SetPenWidth(int width) {
    penWidth_ = width;
    ApplyPen();
}

void QPainterCanvas::SetBrushClear(bool clear) {
    brushClear_ = clear;
    painter_.setBrush(clear ? QBrush(Qt::NoBrush) : QBrush(Qt::white));
}

void QPainterCanvas::SetFontSize(int points) { font_.setPointSize(points); }

void QPainterCanvas::SetFontColor(Rgb color) { fontColor_ = ToQColor(color); }

void QPainterCanvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void QPainterCanvas::LineTo(int x, int y) {
    const QPoint to(x, y);
    // A line to the point itself shows nothing, as on the original canvases.
    if (to != position_) painter_.drawLine(position_, to);
    position_ = to;
}

void QPainterCanvas::TextOut(int x, int y, std::string_view utf8) {
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(fontColor_);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    painter_.drawText(QRect(x, y, 2000, 200), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    painter_.restore();
}

// Measured on the painter's device, as TextOut draws it there.
Size QPainterCanvas::TextExtent(std::string_view utf8) {
    const QFontMetrics metrics(font_, painter_.device());
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    painter_.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void QPainterCanvas::Fill(Rgb color) { painter_.fillRect(area_, ToQColor(color)); }

}  // namespace kq
