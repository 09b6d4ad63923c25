// The graph's drawing surface: keeps the drawn picture at the screen's pixel density, or
// paints straight onto the widget each time, and shows the zoom rectangle over it without
// ever drawing it into the picture.
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
    // A key pressed while the graph has the focus; true when it was used.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> onKey;

    // Every paint draws the picture on the widget itself, on white, instead of keeping it in
    // an image: for a picture whose drawing costs about what copying an image would.
    void SetDirectPainting(bool direct);
    // The picture must be drawn again (shown at the next paint).
    void Invalidate();
    // The rubber band over the picture; an empty rectangle hides it.
    void SetRubberBand(const QRect& band);
    QRect RubberBand() const { return band_; }

    // Draws over the picture on every paint, never into it (the trace's point, a marked area).
    std::function<void(QPainter&)> onOverlay;

    // The last drawn picture (painted directly: the picture as a paint would draw it now) and
    // how many times it was drawn.
    QImage Picture() const;
    int DrawCount() const { return drawCount_; }

signals:
    void mousePressed(Qt::MouseButton button, QPoint at);
    // The same press with the keys held, told just before mousePressed.
    void mousePressedWith(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    // A wheel or touchpad turn: in eighths of a degree, and in pixels where the device gives them.
    void wheelTurned(QPointF at, QPoint angleDelta, QPoint pixelDelta);
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
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The overlay, the zoom rectangle and the keyboard's frame, over the graph on the screen only.
    void PaintMarks(QPainter& painter);
    QImage picture_;
    bool direct_ = false;
    bool dirty_ = true;
    QRect band_;
    int drawCount_ = 0;
};

}  // namespace kq
