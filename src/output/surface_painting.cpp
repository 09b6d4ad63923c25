#include "output/surface_painting.h"

#include "output/qpainter_canvas.h"

namespace kq {

void PaintSurface(QPainter& painter, ThreeDimGraphiq& surface, QSize size, const QFont& font, Rgb background) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    {
        QPainterCanvas canvas(painter, font, QRect(QPoint(0, 0), size));
        surface.Draw(canvas, size.width(), size.height(), background);
    }
    painter.restore();
}

}  // namespace kq
