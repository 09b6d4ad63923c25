#include "ui/surface_picture.h"

#include <QPainter>

#include "output/surface_painting.h"

namespace kq {

SurfacePicture::SurfacePicture(ThreeDimGraphiq& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfacePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintSurface(painter, surface_, size(), font());
}

}  // namespace kq
