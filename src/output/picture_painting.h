// A page's picture painted with QPainter: the screen's views and the picture files paint the
// plane graph and the surface this one way.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSize>

#include "plot/page_picture.h"

namespace kq {

// The whole picture at `size` (logical pixels) from the painter's origin, the labels in
// `font`'s family; on a device finer than its logical pixels the plane graph's curves are
// sampled at every device pixel.
void PaintPicture(QPainter& painter, QSize size, const QFont& font, const PictureDrawing& drawing, PictureStyle style);

}  // namespace kq
