#include "output/picture_painting.h"

#include "output/qpainter_canvas.h"

namespace kq {

void PaintPicture(QPainter& painter, QSize size, const QFont& font, const PictureDrawing& drawing, PictureStyle style) {
    if (painter.device()) style.density = painter.device()->devicePixelRatioF();
    QPainterCanvas canvas(painter, font, QRect(QPoint(0, 0), size));
    drawing(canvas, size.width(), size.height(), style);
}

}  // namespace kq
