// The surface's costs: evaluating the grid of the page's default formula (23 x 23 and
// 401 x 401 points), everything an evaluation brings (z range, cut polygons), projecting a
// 401 x 401 mesh again as turning does, one frame of the canvas path at 1920 x 1080 (visible
// lines, and cells filled for comparison), and an SVG picture of the 401 x 401 surface with
// its size.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "engine/translator.h"
#include "plot/three_dim_graphiq.h"
#include "output/picture_export.h"
#include "output/qpainter_canvas.h"
#include "output/picture_painting.h"

namespace {

constexpr const char* kDefault = "cos(rt2(x*x+y*y))";

long double StepOf(const benchmark::State& state) { return state.range(0) == 0 ? 0.91L : 0.05L; }

void EvaluateMesh(benchmark::State& state) {
    kq::Translator formula;
    formula.Translate(kDefault);
    kq::SurfaceMesh mesh;
    for (auto _ : state) {
        mesh.Evaluate(formula, StepOf(state));
        benchmark::DoNotOptimize(mesh.Values().data());
    }
    state.counters["points"] = mesh.PointCount();
}
BENCHMARK(EvaluateMesh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Evaluation, z range and cut polygons: what a new formula or step costs before drawing.
void RefreshSurface(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetStep(StepOf(state));
    bool flip = false;
    for (auto _ : state) {
        surface.SetFormula(flip ? kDefault : "cos(rt2(x*x+y*y))+0");
        flip = !flip;
        benchmark::DoNotOptimize(surface.Geometry().PolygonCount());
    }
}
BENCHMARK(RefreshSurface)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Turning: every point of a 401 x 401 mesh projected again; nothing is evaluated.
void Reproject401(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetFormula(kDefault);
    surface.SetStep(kq::kMinGridStep);
    const kq::SurfaceGeometry& g = surface.Geometry();
    std::vector<kq::ScreenPoint> out;
    for (auto _ : state) {
        surface.View().Turn(0.4, 0.4);
        kq::ProjectAll(surface.View().For(1920, 1080), g.vertices, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["points"] = static_cast<double>(g.vertices.size());
}
BENCHMARK(Reproject401)->Unit(benchmark::kMillisecond);

// The canvas path's back-to-front order for a 401 x 401 mesh.
void DrawingOrder401(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetFormula(kDefault);
    surface.SetStep(kq::kMinGridStep);
    for (auto _ : state) {
        surface.View().Turn(0.4, 0.4);
        benchmark::DoNotOptimize(surface.DrawingOrder(surface.View().For(1920, 1080)).data());
    }
}
BENCHMARK(DrawingOrder401)->Unit(benchmark::kMillisecond);

// One frame as the offscreen page, picture files and printing draw it.
void CanvasFrame1920(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetFormula(kDefault);
    surface.SetStep(StepOf(state));
    surface.Geometry();
    QImage image(1920, 1080, QImage::Format_RGB32);
    const QFont font(QStringLiteral("DejaVu Sans"));
    for (auto _ : state) {
        surface.View().Turn(0.4, 0.4);
        QPainter painter(&image);
        kq::PaintPicture(painter, image.size(), font, kq::SurfaceDrawing(surface), {kq::Medium::Screen});
    }
}
BENCHMARK(CanvasFrame1920)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same frame with every cell filled back to front under its lines, for comparison.
void FilledFrame1920(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetFormula(kDefault);
    surface.SetStep(StepOf(state));
    surface.Geometry();
    QImage image(1920, 1080, QImage::Format_RGB32);
    const QFont font(QStringLiteral("DejaVu Sans"));
    for (auto _ : state) {
        surface.View().Turn(0.4, 0.4);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        kq::QPainterCanvas canvas(painter, font, image.rect());
        surface.Draw(canvas, image.width(), image.height(), kq::kSurfaceBackground, kq::SurfaceStyle::Filled);
    }
}
BENCHMARK(FilledFrame1920)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// An SVG file of the 401 x 401 surface at 640 x 480, as `surface -o x.svg` writes it.
void SurfaceSvg401(benchmark::State& state) {
    kq::ThreeDimGraphiq surface;
    surface.SetFormula(kDefault);
    surface.SetStep(kq::kMinGridStep);
    surface.Geometry();
    kq::PictureSource source;
    source.size = QSize(640, 480);
    source.drawing = kq::SurfaceDrawing(surface);
    source.font = QFont(QStringLiteral("DejaVu Sans"));
    qsizetype bytes = 0;
    for (auto _ : state) bytes = kq::RenderPicture(kq::PictureFormat::Svg, source).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SurfaceSvg401)->Unit(benchmark::kMillisecond);

}  // namespace
