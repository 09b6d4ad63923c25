// One full frame of the plane graph at 1920 x 1080: the default main formula and the eleven
// default list formulas, into a canvas that ignores everything (engine and algorithm only),
// into the recording canvas (plus writing every call down) and into a QImage through the
// QPainter adapter (everything the screen pays; the difference to the first is painting).
// Beside them, every notable point of the same view for its 1920 columns, which the page
// computes off the paint path: the goal is to take less than a frame.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

#include "plot/graphiq.h"
#include "plot/notable_points.h"
#include "support/recording_canvas.h"
#include "output/qpainter_canvas.h"

namespace {

const char* const kList[] = {"sin(x)", "cos(x)",      "tg(x)",     "sec(x)",     "arcsin(x)",       "arctg(x)",
                             "ln(x)",  "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x"};

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

void AllPoints(benchmark::State& state) {
    std::vector<std::unique_ptr<kq::Translator>> formulas;
    std::vector<kq::PlotCurve> curves;
    formulas.push_back(std::make_unique<kq::Translator>());
    formulas.back()->Translate("cos(x^2-3)");
    for (const char* text : kList) {
        formulas.push_back(std::make_unique<kq::Translator>());
        formulas.back()->Translate(text);
    }
    for (std::size_t i = 0; i < formulas.size(); ++i) curves.push_back({formulas[i].get(), static_cast<int>(i)});
    kq::PointOptions options;
    options.view = {-17.78L, 17.78L, -10, 10};
    options.columns = 1920;
    std::size_t found = 0;
    for (auto _ : state) {
        const kq::NotablePoints points = kq::FindNotablePoints(curves, options);
        found = points.points.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["points"] = static_cast<double>(found);
}
BENCHMARK(AllPoints)->Unit(benchmark::kMillisecond);

}  // namespace
