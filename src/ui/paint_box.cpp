#include "ui/paint_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

namespace kq {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves are reported without a button too: the page shows where the pointer is.
    setMouseTracking(true);
    setMinimumSize(60, 60);
    setCursor(Qt::CrossCursor);
    // A click gives the graph the keyboard, for moving the view with the keys.
    setFocusPolicy(Qt::StrongFocus);
}

namespace {

// The band's outline and a pixel either side: what changes on screen when it moves.
QRegion Outline(const QRect& band) {
    if (band.isNull()) return {};
    const QRect r = band.normalized().adjusted(-1, -1, 1, 1);
    return QRegion(r).subtracted(QRegion(r.adjusted(3, 3, -3, -3)));
}

}  // namespace

void PaintBox::SetDirectPainting(bool direct) {
    direct_ = direct;
    picture_ = QImage();
    Invalidate();
}

QImage PaintBox::Picture() const {
    if (!direct_) return picture_;
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    if (onPaint) {
        QPainter painter(&image);
        onPaint(painter, size());
    }
    return image;
}

void PaintBox::Invalidate() {
    dirty_ = true;
    update();
}

void PaintBox::SetRubberBand(const QRect& band) {
    // Painted directly, only the old and the new outline are painted again.
    if (direct_) update(Outline(band_).united(Outline(band)));
    else update();
    band_ = band;
}

void PaintBox::paintEvent(QPaintEvent*) {
    if (direct_) {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (onPaint) onPaint(painter, size());
        ++drawCount_;
        dirty_ = false;
        PaintMarks(painter);
        return;
    }
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
    PaintMarks(painter);
}

void PaintBox::PaintMarks(QPainter& painter) {
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
    // The graph holding the keyboard shows it with a dotted frame, never drawn into the picture.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    dirty_ = true;
    emit resized();
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressedWith(event->button(), event->modifiers(), event->position().toPoint());
    emit mousePressed(event->button(), event->position().toPoint());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(event->position().toPoint()); }

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->position().toPoint());
}

void PaintBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

void PaintBox::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event->position(), event->angleDelta(), event->pixelDelta());
    event->accept();
}

void PaintBox::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event->key(), event->modifiers())) return event->accept();
    QWidget::keyPressEvent(event);
}

void PaintBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PaintBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace kq
