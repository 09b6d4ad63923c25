#include "ui/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace kq {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves are reported without a button too: the page shows where the pointer is.
    setMouseTracking(true);
    setMinimumSize(60, 60);
    setCursor(Qt::CrossCursor);
}

void PaintBox::Invalidate() {
    dirty_ = true;
    update();
}

void PaintBox::SetRubberBand(const QRect& band) {
    band_ = band;
    update();
}

void PaintBox::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (dirty_ || picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::white);
        if (onPaint) {
            QPainter painter(&picture_);
            onPaint(painter, size());
        }
        dirty_ = false;
        ++drawCount_;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
    if (onOverlay) {
        painter.save();
        onOverlay(painter);
        painter.restore();
    }
    if (!band_.isNull()) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band_.normalized());
    }
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    dirty_ = true;
    emit resized();
}

void PaintBox::mousePressEvent(QMouseEvent* event) { emit mousePressed(event->button(), event->position().toPoint()); }

void PaintBox::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(event->position().toPoint()); }

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->position().toPoint());
}

void PaintBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

}  // namespace kq
