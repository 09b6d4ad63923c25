#include "ui/surface_picture.h"

#include <QPainter>

#include "output/picture_painting.h"

namespace kq {

SurfacePicture::SurfacePicture(ThreeDimGraphiq& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfacePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintPicture(painter, size(), font(), SurfaceDrawing(surface_), {Medium::Screen});
}

}  // namespace kq
