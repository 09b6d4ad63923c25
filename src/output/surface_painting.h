// The surface drawn with QPainter: the page without OpenGL, picture files and the command line
// all paint it the same way.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSize>

#include "plot/three_dim_graphiq.h"

namespace kq {

// The whole picture at `size` (logical pixels) from the painter's origin, lines smoothed.
void PaintSurface(QPainter& painter, ThreeDimGraphiq& surface, QSize size, const QFont& font,
                  Rgb background = kSurfaceBackground);

}  // namespace kq
