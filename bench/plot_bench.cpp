// One full frame of the plane graph at 1920 x 1080: the default main formula and the eleven
// default list formulas, into a canvas that ignores everything (engine and algorithm only),
// into the recording canvas (plus writing every call down) and into a QImage through the
// QPainter adapter (everything the screen pays; the difference to the first is painting).
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "plot/graphiq.h"
#include "support/recording_canvas.h"
#include "output/qpainter_canvas.h"

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

// Measures text as the recording canvas does and draws nothing.
class NullCanvas : public kq::Canvas {
public:
    void SetPenColor(kq::Rgb) override {}
    void SetPenWidth(int) override {}
    void SetBrushClear(bool) override {}
    void SetFontSize(int) override {}
    void SetFontColor(kq::Rgb) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void TextOut(int, int, std::string_view) override {}
    void Rectangle(int, int, int, int) override {}
    void Fill(kq::Rgb) override {}
    kq::Size TextExtent(std::string_view text) override { return recording_.TextExtent(text); }

private:
    kq::RecordingCanvas recording_;
};

void DrawNothing(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    for (auto _ : state) {
        NullCanvas canvas;
        g.Draw(canvas, 1920, 1080, true, true);
    }
}
BENCHMARK(DrawNothing)->Unit(benchmark::kMillisecond);

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
