#include "ui/surface_gl_view.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QElapsedTimer>
#include <QPainter>
#include <vector>

#include "plot/page_picture.h"
#include "plot/surface_box.h"
#include "output/qpainter_canvas.h"

namespace kq {
namespace {

// Two dialects, the compatibility contexts most drivers give and core profiles, differ only
// in the first lines of each shader.
const char* const kVertexBody =
    "uniform mat4 matrix;\n"
    "uniform float lift;\n"
    "void main() {\n"
    "    gl_Position = matrix * vec4(position, 1.0);\n"
    "    gl_Position.z -= lift * gl_Position.w;\n"
    "}\n";

QByteArray VertexShader(bool core) {
    return QByteArray(core ? "#version 150\nin vec3 position;\n" : "#version 120\nattribute vec3 position;\n") +
           kVertexBody;
}

QByteArray FragmentShader(bool core) {
    return core ? QByteArray("#version 150\n"
                             "uniform vec4 color;\n"
                             "out vec4 fragColor;\n"
                             "void main() { fragColor = color; }\n")
                : QByteArray("#version 120\n"
                             "uniform vec4 color;\n"
                             "void main() { gl_FragColor = color; }\n");
}

constexpr GLuint kPosition = 0;
// In depth units, where the box spans about 2.
constexpr float kLineLift = 0.004f;

}  // namespace

SurfaceGlView::SurfaceGlView(ThreeDimGraphiq& surface, QWidget* parent) : QOpenGLWidget(parent), surface_(surface) {
    QSurfaceFormat f = format();
    f.setDepthBufferSize(24);
    f.setSamples(4);  // smooth lines
    setFormat(f);
}

SurfaceGlView::~SurfaceGlView() {
    // The base class destroys the context after this part is gone: it must not call back.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    Release();
}

bool SurfaceGlView::Available() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
    static const bool works = [] {
        QOpenGLContext probe;
        return probe.create();
    }();
    return works;
}

void SurfaceGlView::Release() {
    if (!context() || (!program_.isLinked() && !full_.vertices.isCreated())) return;
    makeCurrent();
    for (Buffers* b : {&full_, &preview_}) {
        b->vertices.destroy();
        b->fills.destroy();
        b->lines.destroy();
        b->evaluation = ~std::uint64_t{0};
    }
    box_.destroy();
    folds_.destroy();
    vao_.destroy();
    program_.removeAllShaders();
    ready_ = false;
    doneCurrent();
}

void SurfaceGlView::initializeGL() {
    // A view moved to another window gets a new context: everything is made again there.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &SurfaceGlView::Release, Qt::UniqueConnection);
    initializeOpenGLFunctions();
    const bool core = context()->format().profile() == QSurfaceFormat::CoreProfile;
    ready_ = program_.addShaderFromSourceCode(QOpenGLShader::Vertex, VertexShader(core)) &&
             program_.addShaderFromSourceCode(QOpenGLShader::Fragment, FragmentShader(core));
    program_.bindAttributeLocation("position", kPosition);
    ready_ = ready_ && program_.link();
    matrixLocation_ = program_.uniformLocation("matrix");
    colorLocation_ = program_.uniformLocation("color");
    liftLocation_ = program_.uniformLocation("lift");
    vao_.create();  // core profiles need one; elsewhere it may be missing, and the state is set each frame
    for (Buffers* b : {&full_, &preview_}) {
        for (QOpenGLBuffer* buffer : {&b->vertices, &b->fills, &b->lines}) ready_ = buffer->create() && ready_;
        b->evaluation = ~std::uint64_t{0};
    }
    ready_ = box_.create() && folds_.create() && ready_;
    box_.setUsagePattern(QOpenGLBuffer::DynamicDraw);
    folds_.setUsagePattern(QOpenGLBuffer::DynamicDraw);
    if (!ready_ || !context()->isValid()) emit unusable();
}

void SurfaceGlView::SetTurning(bool turning) {
    if (turning == turning_) return;
    turning_ = turning;
    update();
}

void SurfaceGlView::Upload(Buffers& b, const SurfaceGeometry& g) {
    std::vector<float> points;
    points.reserve(g.vertices.size() * 3);
    for (const BoxPoint& p : g.vertices) {
        points.push_back(static_cast<float>(p.x));
        points.push_back(static_cast<float>(p.y));
        points.push_back(static_cast<float>(p.z));
    }
    std::vector<GLuint> fills;
    fills.reserve(g.indices.size() * 3);
    for (std::size_t k = 0; k < g.PolygonCount(); ++k) {
        const std::uint32_t from = g.starts[k], to = g.starts[k + 1];
        for (std::uint32_t c = from + 1; c + 1 < to; ++c)
            fills.insert(fills.end(), {g.indices[from], g.indices[c], g.indices[c + 1]});
    }
    b.vertices.bind();
    b.vertices.allocate(points.data(), static_cast<int>(points.size() * sizeof(float)));
    b.fills.bind();
    b.fills.allocate(fills.data(), static_cast<int>(fills.size() * sizeof(GLuint)));
    b.lines.bind();
    b.lines.allocate(g.edges.data(), static_cast<int>(g.edges.size() * sizeof(std::uint32_t)));
    b.fillCount = static_cast<int>(fills.size());
    b.lineCount = static_cast<int>(g.edges.size());
    b.evaluation = surface_.EvaluationCount();
    ++b.uploads;
}

void SurfaceGlView::paintGL() {
    ++frames_;
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, static_cast<GLsizei>(width() * ratio), static_cast<GLsizei>(height() * ratio));
    const Rgb back = SurfaceBackground(Medium::Screen);
    glClearColor(back.r / 255.0f, back.g / 255.0f, back.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!ready_) return;

    // The coarser surface only while turning, and only where the full one is slow to draw.
    const SurfaceGeometry& full = surface_.Geometry();
    const SurfaceGeometry& g = turning_ && slow_ ? surface_.PreviewGeometry() : full;
    Buffers& b = &g == &full ? full_ : preview_;
    lastWasPreview_ = &b == &preview_;
    const Projector projector = surface_.View().For(width(), height());
    const std::array<float, 16> matrix = projector.ClipMatrix();
    {
        QOpenGLVertexArrayObject::Binder binder(&vao_);
        if (b.evaluation != surface_.EvaluationCount()) {
            Upload(b, g);
            measure_ = measure_ || &b == &full_;
        }
        program_.bind();
        glUniformMatrix4fv(matrixLocation_, 1, GL_FALSE, matrix.data());
        glUniform1f(liftLocation_, 0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        auto color = [&](Rgb c) { glUniform4f(colorLocation_, c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1.0f); };
        glEnableVertexAttribArray(kPosition);

        // The far edges of the box: behind everything, hidden where the surface is in front.
        std::vector<float> edges;
        for (const BoxEdge& e : FarBoxEdges(projector))
            for (const BoxPoint& p : {e.a, e.b})
                edges.insert(edges.end(), {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
        box_.bind();
        box_.allocate(edges.data(), static_cast<int>(edges.size() * sizeof(float)));
        glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        color(kBoxColor);
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(edges.size() / 3));

        // The first full frame after an upload is timed: it decides about the preview.
        const bool timed = measure_ && &b == &full_;
        QElapsedTimer timer;
        if (timed) {
            glFinish();
            timer.start();
        }
        b.vertices.bind();
        glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        // The cells a little farther than their outlines: lines in front stay whole.
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        color(back);
        b.fills.bind();
        glDrawElements(GL_TRIANGLES, b.fillCount, GL_UNSIGNED_INT, nullptr);
        glDisable(GL_POLYGON_OFFSET_FILL);
        // Lines drawn at a cell's steep edge follow another depth than the cell's own pixels
        // there; lifting them a hair toward the eye keeps them whole.
        color(surface_.LineColor(projector));
        glUniform1f(liftLocation_, kLineLift);
        b.lines.bind();
        glDrawElements(GL_LINES, b.lineCount, GL_UNSIGNED_INT, nullptr);
        // On a coarse grid a cell's fold can be where the surface turns away: drawn as well,
        // so that the lines it hides end at a line, as on the canvas path.
        if (g.lineStride == 1 && !g.indices.empty()) {
            ProjectAll(projector, g.vertices, projected_);
            OutlineFolds(g, projected_, foldIndices_);
            if (!foldIndices_.empty()) {
                folds_.bind();
                folds_.allocate(foldIndices_.data(), static_cast<int>(foldIndices_.size() * sizeof(std::uint32_t)));
                glDrawElements(GL_LINES, static_cast<GLsizei>(foldIndices_.size()), GL_UNSIGNED_INT, nullptr);
            }
        }
        if (timed) {
            glFinish();
            slow_ = timer.nsecsElapsed() / 1e6 > kSlowFrameMs;
            measure_ = false;
        }

        glDisableVertexAttribArray(kPosition);
        glDisable(GL_DEPTH_TEST);
        program_.release();
        b.vertices.release();
        box_.release();
        if (!vao_.isCreated()) b.lines.release();
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QPainterCanvas canvas(painter, font(), rect());
    DrawBoxLabels(canvas, projector, surface_.Axes(), SurfaceBackground(Medium::Screen));
}

}  // namespace kq
