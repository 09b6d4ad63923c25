// The renderer's canvas on a QPainter: the screen, picture files, PDF and SVG all go through it.
#pragma once

#include <QFont>
#include <QPainter>

#include "plot/canvas.h"

namespace kq {

class QPainterCanvas : public Canvas {
public:
    // `font` gives the family; sizes come from the renderer. `area` is what Fill paints.
    QPainterCanvas(QPainter& painter, const QFont& font, QRect area);

    void SetPenColor(Rgb color) override;
    void SetPenWidth(int width) override;
    void SetBrushClear(bool clear) override;
    void SetFontSize(int points) override;
    void SetFontColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Fill(Rgb color) override;
    Size TextExtent(std::string_view utf8) override;

private:
    void ApplyPen();

    QPainter& painter_;
    QFont font_;
    QRect area_;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor fontColor_ = Qt::black;
    bool brushClear_ = false;
    QPoint position_;
};

}  // namespace kq
