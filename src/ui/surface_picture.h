// The surface view without OpenGL: the canvas path painted on a plain widget, for the offscreen
// platform and displays without OpenGL.
#pragma once

#include <QWidget>

#include "plot/three_dim_graphiq.h"

namespace kq {

class SurfacePicture : public QWidget {
    Q_OBJECT
public:
    explicit SurfacePicture(ThreeDimGraphiq& surface, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ThreeDimGraphiq& surface_;
};

}  // namespace kq
