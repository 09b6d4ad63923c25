// ns per evaluation of the compiled form, side by side with hand-written long double code
// and with muparser (double), on the same points; plus translation time and the cost of
// failing evaluations.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/translator.h"
#include "hand_written.h"

#ifdef KQ_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

struct BenchFormula {
    const char* name;
    const char* text;      // in our language
    const char* muparser;  // the same formula for muparser
    long double from, to;
    bool grid;             // a 22 x 22 grid of [from, to]^2 instead of a line of x
};

const BenchFormula kFormulas[7] = {
    {"F1", "cos(x^2-3)", "cos(x^2-3)", -10, 10, false},
    {"F2", "abs(x+2)/(x+2)-x", "abs(x+2)/(x+2)-x", -10, 10, false},
    {"F3", "sin(x)+cos(x)*tg(x)/2", "sin(x)+cos(x)*tan(x)/2", -10, 10, false},
    {"F4", "lg(2*x)/lg(x)", "log10(2*x)/log10(x)", 0.1L, 10, false},
    {"F5", "x^3-2*x^2+x-1", "x^3-2*x^2+x-1", -10, 10, false},
    {"F6", "cos(rt2(x*x+y*y))", "cos(sqrt(x*x+y*y))", -10, 10, true},
    {"F7", "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)",
     "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)", -10, 10, false},
};

struct Point {
    long double x, y;
};

std::vector<Point> PointsFor(const BenchFormula& f) {
    std::vector<Point> points;
    if (f.grid) {
        for (int i = 0; i < 22; ++i)
            for (int j = 0; j < 22; ++j)
                points.push_back({f.from + (f.to - f.from) * i / 21, f.from + (f.to - f.from) * j / 21});
    } else {
        for (int i = 0; i < 1000; ++i) points.push_back({f.from + (f.to - f.from) * i / 999, 0});
    }
    return points;
}

void Engine(benchmark::State& state, int k) {
    kq::Translator t;
    t.Translate(kFormulas[k].text);
    const auto points = PointsFor(kFormulas[k]);
    std::size_t i = 0;
    long double v;
    for (auto _ : state) {
        const Point& p = points[i];
        benchmark::DoNotOptimize(t.TryValue(p.x, p.y, v));
        benchmark::DoNotOptimize(v);
        if (++i == points.size()) i = 0;
    }
}

void HandWritten(benchmark::State& state, int k) {
    const auto points = PointsFor(kFormulas[k]);
    kq::bench::Formula f = kq::bench::kHandWritten[k];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f);
        const Point& p = points[i];
        long double v = f(p.x, p.y);
        benchmark::DoNotOptimize(v);
        if (++i == points.size()) i = 0;
    }
}

#ifdef KQ_HAVE_MUPARSER
void MuParser(benchmark::State& state, int k) {
    mu::Parser parser;
    double x = 0, y = 0;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.SetExpr(kFormulas[k].muparser);
    const auto points = PointsFor(kFormulas[k]);
    std::size_t i = 0;
    for (auto _ : state) {
        x = static_cast<double>(points[i].x);
        y = static_cast<double>(points[i].y);
        double v = parser.Eval();
        benchmark::DoNotOptimize(v);
        if (++i == points.size()) i = 0;
    }
}
#endif

void Translate(benchmark::State& state, int k) {
    kq::Translator t;
    for (auto _ : state) t.Translate(kFormulas[k].text);
}

// A plot of arcsin(x) over [-10, 10] fails at nine points in ten; it must cost no more than
// a formula that never fails.
void FailurePath(benchmark::State& state, const char* formula) {
    kq::Translator t;
    t.Translate(formula);
    const auto points = PointsFor(kFormulas[0]);
    std::size_t i = 0;
    long double v;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.TryValue(points[i].x, 0, v));
        benchmark::DoNotOptimize(v);
        if (++i == points.size()) i = 0;
    }
}

int Register() {
    for (int k = 0; k < 7; ++k) {
        const std::string n = kFormulas[k].name;
        benchmark::RegisterBenchmark(("Eval/" + n + "/engine").c_str(), Engine, k);
        benchmark::RegisterBenchmark(("Eval/" + n + "/hand_long_double").c_str(), HandWritten, k);
#ifdef KQ_HAVE_MUPARSER
        benchmark::RegisterBenchmark(("Eval/" + n + "/muparser_double").c_str(), MuParser, k);
#endif
    }
    for (int k = 0; k < 7; ++k)
        benchmark::RegisterBenchmark((std::string("Translate/") + kFormulas[k].name).c_str(), Translate, k);
    benchmark::RegisterBenchmark("Failures/arcsin(x)", FailurePath, "arcsin(x)");
    benchmark::RegisterBenchmark("Failures/ln(x)", FailurePath, "ln(x)");
    benchmark::RegisterBenchmark("Failures/arctg(x)_never_fails", FailurePath, "arctg(x)");
    benchmark::RegisterBenchmark("Failures/1/(x-x)", FailurePath, "1/(x-x)");
    return 0;
}

const int registered = Register();

}  // namespace

BENCHMARK_MAIN();
