#include "output/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>

namespace kq {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The centre of a canvas pixel: an antialiased line of one pixel through it covers that pixel
// exactly.
QPointF Centre(QPoint p) { return QPointF(p.x() + 0.5, p.y() + 0.5); }

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, const QFont& font, QRect area)
    : painter_(painter), font_(font), area_(area) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    const qreal scale = std::sqrt(std::abs(painter_.deviceTransform().determinant()));
    if (std::isfinite(scale) && scale > 0) pixel_ = scale;
    ApplyPen();
    painter_.setBrush(Qt::white);
}

QPainterCanvas::~QPainterCanvas() {
    Flush();
    painter_.restore();
}

void QPainterCanvas::Flush() {
    if (run_.size() >= 2) painter_.drawPolyline(run_);
    // A LineTo after the flush goes on from where the pen is.
    run_.clear();
}

void QPainterCanvas::ApplyPen() {
    QPen pen(penColor_);
    // Width 1 is one canvas pixel on every device, whatever its density; wider pens scale.
    if (penWidth_ <= 1) {
        pen.setCosmetic(true);
        pen.setWidthF(pixel_);
    } else {
        pen.setWidth(penWidth_);
    }
    // Square ends reach the end pixels' edges, as an aliased line covers its end points.
    pen.setCapStyle(Qt::SquareCap);
    painter_.setPen(pen);
}

void QPainterCanvas::SetPenColor(Rgb color) {
    Flush();
    penColor_ = ToQColor(color);
    ApplyPen();
}

void QPainterCanvas::SetPenWidth(int width) {
    Flush();
    penWidth_ = width;
    ApplyPen();
}

void QPainterCanvas::SetBrushClear(bool clear) {
    Flush();
    painter_.setBrush(clear ? QBrush(Qt::NoBrush) : QBrush(Qt::white));
}

void QPainterCanvas::SetFontSize(int points) { font_.setPointSize(points); }

void QPainterCanvas::SetFontColor(Rgb color) { fontColor_ = ToQColor(color); }

void QPainterCanvas::MoveTo(int x, int y) {
    Flush();
    position_ = QPoint(x, y);
}

void QPainterCanvas::LineTo(int x, int y) {
    const QPoint to(x, y);
    // A line to the point itself shows nothing, as on the original canvases.
    if (to == position_) return;
    if (run_.isEmpty()) {
        run_.append(Centre(position_));
    } else if (run_.size() >= 2) {
        // A point on the straight on from the last two only lengthens that line: drawn as one,
        // its pixels are covered once, not half by each of two segments.
        const QPoint before = (run_[run_.size() - 2] - QPointF(0.5, 0.5)).toPoint();
        const qint64 ax = position_.x() - before.x(), ay = position_.y() - before.y();
        const qint64 bx = to.x() - position_.x(), by = to.y() - position_.y();
        if (ax * by == ay * bx && ax * bx + ay * by > 0) run_.removeLast();
    }
    run_.append(Centre(to));
    position_ = to;
}

void QPainterCanvas::TextOut(int x, int y, std::string_view utf8) {
    Flush();
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(fontColor_);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    painter_.drawText(QRect(x, y, 2000, 200), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    painter_.restore();
}

// The halo is the letters' outline stroked wide in the halo colour, a quarter of the font's
// pixel height across (about 1 pixel each side at the screen's sizes), then the text over it.
// The font takes the device's resolution, so that the outline fits the letters on a printer too.
void QPainterCanvas::TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) {
    Flush();
    const QFont font(font_, painter_.device());
    const QFontMetricsF metrics(font);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QPainterPath outline;
    outline.addText(QPointF(x, y + metrics.ascent()), font, text);
    QPen pen(ToQColor(halo), std::max(1.0, metrics.height() / 4));
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.strokePath(outline, pen);
    TextOut(x, y, utf8);
}

// Measured on the painter's device, as TextOut draws it there.
Size QPainterCanvas::TextExtent(std::string_view utf8) {
    const QFontMetrics metrics(font_, painter_.device());
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Flush();
    painter_.drawRect(QRectF(Centre(QPoint(x1, y1)), Centre(QPoint(x2 - 1, y2 - 1))));
}

void QPainterCanvas::Fill(Rgb color) {
    Flush();
    painter_.fillRect(area_, ToQColor(color));
}

void QPainterCanvas::Polygon(std::span<const CanvasPoint> points, Rgb fill) {
    Flush();
    polygon_.resize(static_cast<qsizetype>(points.size()));
    for (std::size_t k = 0; k < points.size(); ++k) polygon_[static_cast<qsizetype>(k)] = {points[k].x, points[k].y};
    const QBrush brush = painter_.brush();
    painter_.setBrush(ToQColor(fill));
    painter_.drawPolygon(polygon_.constData(), static_cast<int>(polygon_.size()), Qt::WindingFill);
    painter_.setBrush(brush);
}

void QPainterCanvas::Polyline(std::span<const CanvasPoint> points) {
    Flush();
    polygon_.resize(static_cast<qsizetype>(points.size()));
    for (std::size_t k = 0; k < points.size(); ++k) polygon_[static_cast<qsizetype>(k)] = {points[k].x, points[k].y};
    painter_.drawPolyline(polygon_.constData(), static_cast<int>(polygon_.size()));
}

}  // namespace kq
