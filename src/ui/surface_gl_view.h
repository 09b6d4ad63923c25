// The surface view on OpenGL: uploads the surface's polygons once per evaluation and draws
// them with a depth buffer, so that turning and scaling only change one matrix. Cells are
// filled with the background colour and pushed back a little (polygon offset) so that the
// mesh lines in front of them stay whole and the lines behind them are hidden.
#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QOpenGLWidget>
#include <cstdint>

#include "plot/three_dim_graphiq.h"

namespace kq {

class SurfaceGlView : public QOpenGLWidget, protected QOpenGLFunctions {
    Q_OBJECT
public:
    explicit SurfaceGlView(ThreeDimGraphiq& surface, QWidget* parent = nullptr);
    ~SurfaceGlView() override;

    // Whether OpenGL views can work here: a real display (never the offscreen or minimal
    // platform, where they crash) that gives an OpenGL context.
    static bool Available();

    int FrameCount() const { return frames_; }
    // How many times the polygons were sent to the graphics card.
    int UploadCount() const { return uploads_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void Upload(const SurfaceGeometry& geometry);
    void DrawLines(QOpenGLBuffer& indices, int count, const std::array<float, 16>& matrix, Rgb color);
    void Release();

    ThreeDimGraphiq& surface_;
    QOpenGLShaderProgram program_;
    QOpenGLVertexArrayObject vao_;
    QOpenGLBuffer vertices_{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer fills_{QOpenGLBuffer::IndexBuffer};
    QOpenGLBuffer lines_{QOpenGLBuffer::IndexBuffer};
    QOpenGLBuffer box_{QOpenGLBuffer::VertexBuffer};
    int fillCount_ = 0, lineCount_ = 0;
    std::uint64_t uploaded_ = ~std::uint64_t{0};
    bool ready_ = false;
    int frames_ = 0, uploads_ = 0;
    int matrixLocation_ = -1, colorLocation_ = -1, liftLocation_ = -1;
};

}  // namespace kq
