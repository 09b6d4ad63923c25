// The graph's drawing surface: keeps the drawn picture at the screen's pixel density and
// shows the zoom rectangle over it without ever drawing it into the picture.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace kq {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    // Draws the picture on a painter of the widget's logical size.
    std::function<void(QPainter&, QSize)> onPaint;

    // The picture must be drawn again (shown at the next paint).
    void Invalidate();
    // The rubber band over the picture; an empty rectangle hides it.
    void SetRubberBand(const QRect& band);
    QRect RubberBand() const { return band_; }

    // Draws over the picture on every paint, never into it (the trace's point, a marked area).
    std::function<void(QPainter&)> onOverlay;

    // The last drawn picture and how many times it was drawn.
    const QImage& Picture() const { return picture_; }
    int DrawCount() const { return drawCount_; }

signals:
    void mousePressed(Qt::MouseButton button, QPoint at);
    void mouseMoved(QPoint at);
    void mouseReleased(Qt::MouseButton button, QPoint at);
    // The pointer went away from the picture.
    void mouseLeft();
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage picture_;
    bool dirty_ = true;
    QRect band_;
    int drawCount_ = 0;
};

}  // namespace kq
