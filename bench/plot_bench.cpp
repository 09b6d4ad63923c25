// One full frame of the plane graph at 1920 x 1080: the default main formula and the eleven
// default list formulas, into the recording canvas (engine and algorithm) and into a QImage
// through the QPainter adapter (everything the screen pays).
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "plot/graphiq.h"
#include "support/recording_canvas.h"
#include "ui/qpainter_canvas.h"

namespace {

const char* const kList[] = {"sin(x)",   "cos(x)",      "tg(x)",     "sec(x)",     "arcsin(x)",       "arctg(x)",
                             "ln(x)",    "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x"};

void Setup(kq::Graphiq& g) {
    g.SetFormula("cos(x^2-3)");
    g.Reserve(11);
    for (int i = 0; i < 11; ++i) g.SetListFormula(i + 1, kList[i]);
    g.SetListCount(11);
    g.SetView({-17.78L, 17.78L, -10, 10}, false);
}

void DrawRecording(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    for (auto _ : state) {
        kq::RecordingCanvas canvas;
        g.Draw(canvas, 1920, 1080, true, true);
        benchmark::DoNotOptimize(canvas.calls.size());
    }
}
BENCHMARK(DrawRecording)->Unit(benchmark::kMillisecond);

void DrawQImage(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        kq::QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
        g.Draw(canvas, 1920, 1080, true, true);
    }
}
BENCHMARK(DrawQImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
