// The renderer's canvas on a QPainter: the screen, picture files, PDF and SVG all go through it.
// Strokes are antialiased and one canvas pixel wide on any device (2 device pixels on a 2x
// screen); they run through pixel centres, so axis-parallel lines stay sharp. The painter's
// state is handed back as it was when the canvas goes.
// A run of MoveTo/LineTo is drawn as one polyline (a frame is some twenty thousand segments):
// it is flushed before anything else reaches the painter and when the canvas goes, so the
// picture is complete whenever the painter is used again.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include "plot/canvas.h"

namespace kq {

class QPainterCanvas : public Canvas {
public:
    // `font` gives the family; sizes come from the renderer. `area` is what Fill paints.
    QPainterCanvas(QPainter& painter, const QFont& font, QRect area);
    ~QPainterCanvas() override;
    QPainterCanvas(const QPainterCanvas&) = delete;
    QPainterCanvas& operator=(const QPainterCanvas&) = delete;

    void SetPenColor(Rgb color) override;
    void SetPenWidth(int width) override;
    void SetBrushClear(bool clear) override;
    void SetFontSize(int points) override;
    void SetFontColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    void TextOutOnHalo(int x, int y, std::string_view utf8, Rgb halo) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Fill(Rgb color) override;
    Size TextExtent(std::string_view utf8) override;
    void Polygon(std::span<const CanvasPoint> points, Rgb fill) override;
    void Polyline(std::span<const CanvasPoint> points) override;

    // Draws the pending run of lines now; for callers that paint on the painter themselves
    // while the canvas is still alive.
    void Flush();

private:
    void ApplyPen();

    QPainter& painter_;
    qreal pixel_ = 1;  // device pixels per canvas pixel
    QFont font_;
    QRect area_;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor fontColor_ = Qt::black;
    QPoint position_;
    QPolygonF run_;           // the pending polyline through pixel centres; starts at position_
    QList<QPointF> polygon_;  // reused: a surface draws many small polygons
};

}  // namespace kq
