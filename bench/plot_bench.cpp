// One frame of the plane graph at 1920 x 1080: the default main formula and the eleven
// default list formulas, into a canvas that ignores everything (engine and algorithm only),
// into the recording canvas (plus writing every call down) and into a QImage through the
// QPainter adapter. The screen's three cases side by side, in wall time (the formulas are
// evaluated on every core): the full frame (a new view: every formula evaluated), the frame
// after one list formula was edited (the others' columns kept), and the painting alone, the
// same frame's calls replayed from a recording onto the same image.
// Beside them, every notable point of the same view for its 1920 columns, which the page
// computes off the paint path: the goal is to take less than a frame.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <cmath>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/graphiq.h"
#include "plot/notable_points.h"
#include "plot/parallel_runs.h"
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

// Every call written down as a closure, to be replayed onto another canvas; text is measured
// by the canvas given, so that the replay places every label where a real frame does.
class ReplayRecording : public kq::Canvas {
public:
    explicit ReplayRecording(kq::Canvas& measure) : measure_(measure) {}

    void SetPenColor(kq::Rgb c) override { Add([=](kq::Canvas& t) { t.SetPenColor(c); }); }
    void SetPenWidth(int w) override { Add([=](kq::Canvas& t) { t.SetPenWidth(w); }); }
    void SetBrushClear(bool clear) override { Add([=](kq::Canvas& t) { t.SetBrushClear(clear); }); }
    void SetFontSize(int points) override {
        measure_.SetFontSize(points);
        Add([=](kq::Canvas& t) { t.SetFontSize(points); });
    }
    void SetFontColor(kq::Rgb c) override { Add([=](kq::Canvas& t) { t.SetFontColor(c); }); }
    void MoveTo(int x, int y) override { Add([=](kq::Canvas& t) { t.MoveTo(x, y); }); }
    void LineTo(int x, int y) override { Add([=](kq::Canvas& t) { t.LineTo(x, y); }); }
    void TextOut(int x, int y, std::string_view text) override {
        Add([=, s = std::string(text)](kq::Canvas& t) { t.TextOut(x, y, s); });
    }
    void TextOutOnHalo(int x, int y, std::string_view text, kq::Rgb halo) override {
        Add([=, s = std::string(text)](kq::Canvas& t) { t.TextOutOnHalo(x, y, s, halo); });
    }
    void Rectangle(int x1, int y1, int x2, int y2) override {
        Add([=](kq::Canvas& t) { t.Rectangle(x1, y1, x2, y2); });
    }
    void Fill(kq::Rgb c) override { Add([=](kq::Canvas& t) { t.Fill(c); }); }
    kq::Size TextExtent(std::string_view text) override { return measure_.TextExtent(text); }
    void Polygon(std::span<const kq::CanvasPoint> points, kq::Rgb fill) override {
        Add([=, p = std::vector<kq::CanvasPoint>(points.begin(), points.end())](kq::Canvas& t) { t.Polygon(p, fill); });
    }
    void Polyline(std::span<const kq::CanvasPoint> points) override {
        Add([p = std::vector<kq::CanvasPoint>(points.begin(), points.end())](kq::Canvas& t) { t.Polyline(p); });
    }

    void Replay(kq::Canvas& target) const {
        for (const auto& call : calls_) call(target);
    }

private:
    void Add(std::function<void(kq::Canvas&)> call) { calls_.push_back(std::move(call)); }

    kq::Canvas& measure_;
    std::vector<std::function<void(kq::Canvas&)>> calls_;
};

// What the screen does for a frame: the graph on white, through the QPainter adapter.
void Frame(kq::Graphiq& g, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    kq::QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
    g.Draw(canvas, 1920, 1080, true, true);
}

// Every iteration a view one unit in the last place away from the last one: the same strokes,
// but every formula evaluated again.
// The argument: how many threads evaluate (0: the machine's cores).
void FullFrame(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    g.SetThreads(static_cast<int>(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    kq::ViewRect view = g.View();
    const long double xmax = view.xmax;
    bool other = false;
    for (auto _ : state) {
        view.xmax = other ? std::nextafter(xmax, 100.0L) : xmax;
        other = !other;
        g.SetView(view, false);
        Frame(g, image);
    }
    state.counters["evaluated"] = static_cast<double>(g.ColumnEvaluations()) / static_cast<double>(state.iterations());
}
BENCHMARK(FullFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every iteration one list formula edited (outside the timing) to a text with the same
// values: one formula evaluated, the other eleven drawn from their kept columns.
void FrameAfterEdit(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    QImage image(1920, 1080, QImage::Format_RGB32);
    Frame(g, image);
    const long long before = g.ColumnEvaluations();
    bool other = true;
    for (auto _ : state) {
        state.PauseTiming();
        g.SetListFormula(6, other ? "arctg(x)+0" : "arctg(x)");
        other = !other;
        state.ResumeTiming();
        Frame(g, image);
    }
    state.counters["evaluated"] =
        static_cast<double>(g.ColumnEvaluations() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(FrameAfterEdit)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the full frame's calls, recorded once, replayed onto the same image.
void PaintingOnly(benchmark::State& state) {
    kq::Graphiq g;
    Setup(g);
    QImage image(1920, 1080, QImage::Format_RGB32);
    std::unique_ptr<ReplayRecording> recording;
    {
        QPainter painter(&image);
        kq::QPainterCanvas measure(painter, QFont("DejaVu Sans"), image.rect());
        recording = std::make_unique<ReplayRecording>(measure);
        g.Draw(*recording, 1920, 1080, true, true);
    }
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        kq::QPainterCanvas canvas(painter, QFont("DejaVu Sans"), image.rect());
        recording->Replay(canvas);
    }
}
BENCHMARK(PaintingOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    options.threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : kq::MachineThreads();
    std::size_t found = 0;
    for (auto _ : state) {
        const kq::NotablePoints points = kq::FindNotablePoints(curves, options);
        found = points.points.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["points"] = static_cast<double>(found);
}
BENCHMARK(AllPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
