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
#include <vector>

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
    // How many times the full surface was sent to the graphics card.
    int UploadCount() const { return full_.uploads; }

    // While the user turns or scales, a renderer too slow for the full surface (measured on
    // the first frame after each upload) draws the coarser preview instead.
    void SetTurning(bool turning);
    bool Slow() const { return slow_; }
    bool LastFrameWasPreview() const { return lastWasPreview_; }

    // Frames slower than this count as slow.
    static constexpr double kSlowFrameMs = 25;

signals:
    // The context came, but the view cannot draw with it (shaders or buffers refused).
    void unusable();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    // One surface on the card: its points, its cells as triangles, its mesh lines.
    struct Buffers {
        QOpenGLBuffer vertices{QOpenGLBuffer::VertexBuffer};
        QOpenGLBuffer fills{QOpenGLBuffer::IndexBuffer};
        QOpenGLBuffer lines{QOpenGLBuffer::IndexBuffer};
        int fillCount = 0, lineCount = 0;
        std::uint64_t evaluation = ~std::uint64_t{0};  // of the surface uploaded
        int uploads = 0;
    };
    void Upload(Buffers& buffers, const SurfaceGeometry& geometry);
    void Release();

    ThreeDimGraphiq& surface_;
    QOpenGLShaderProgram program_;
    QOpenGLVertexArrayObject vao_;
    Buffers full_, preview_;
    QOpenGLBuffer box_{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer folds_{QOpenGLBuffer::IndexBuffer};
    std::vector<ScreenPoint> projected_;
    std::vector<std::uint32_t> foldIndices_;
    bool ready_ = false;
    bool turning_ = false, slow_ = false, measure_ = false, lastWasPreview_ = false;
    int frames_ = 0;
    int matrixLocation_ = -1, colorLocation_ = -1, liftLocation_ = -1;
};

}  // namespace kq
