// ns per evaluation of the compiled form, one point per call (Eval) and a whole column per
// call (Column), each printed beside the hand-written long double code on the same points
// (hand_ns, and the ratio x_hand); muparser (double) on the same formulas; translation time,
// with muparser's for comparison; the value with its exact slopes; and the cost of failing
// evaluations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <iterator>
#include <optional>
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

const BenchFormula kFormulas[] = {
    {"F1", "cos(x^2-3)", "cos(x^2-3)", -10, 10, false},
    {"F2", "abs(x+2)/(x+2)-x", "abs(x+2)/(x+2)-x", -10, 10, false},
    {"F3", "sin(x)+cos(x)*tg(x)/2", "sin(x)+cos(x)*tan(x)/2", -10, 10, false},
    {"F4", "lg(2*x)/lg(x)", "log10(2*x)/log10(x)", 0.1L, 10, false},
    {"F5", "x^3-2*x^2+x-1", "x^3-2*x^2+x-1", -10, 10, false},
    {"F6", "cos(rt2(x*x+y*y))", "cos(sqrt(x*x+y*y))", -10, 10, true},
    {"F7", "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)",
     "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)", -10, 10, false},
    // Arithmetic around one tangent and one logarithm: what the tangent's pole test costs.
    {"F8", "x^3-2*x^2+x-1+tg(x/7)*lg(x*x+2)", "x^3-2*x^2+x-1+tan(x/7)*log10(x*x+2)", -10, 10, false},
};
static_assert(std::size(kFormulas) == std::size(kq::bench::kHandWritten));

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

// This thread's processor time in ns: unlike the wall clock, it does not count the time other
// processes of a busy machine take.
double ThreadNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// ns per point of `pass` (one sweep over `count` points), the fastest of a few timed passes
// of 20 sweeps: the engine and the hand-written code are both measured this way for their
// ratio, so that neither is a mean set beside the other's best.
template <class Pass>
double BestNsPerPoint(std::size_t count, Pass pass) {
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        const double start = ThreadNs();
        for (int sweep = 0; sweep < 20; ++sweep) {
            pass();
            benchmark::ClobberMemory();
        }
        best = std::min(best, (ThreadNs() - start) / (20.0 * static_cast<double>(count)));
    }
    return best;
}

// ns per point of the hand-written code over the same points: the baseline printed beside
// each engine figure.
double HandWrittenNs(int k, const std::vector<Point>& points) {
    const kq::bench::Formula f = kq::bench::kHandWritten[k];
    std::vector<long double> out(points.size());
    return BestNsPerPoint(points.size(), [&] {
        benchmark::DoNotOptimize(f);
        for (std::size_t i = 0; i < points.size(); ++i) out[i] = f(points[i].x, points[i].y);
    });
}

// `best` is the engine's figure measured as the baseline is (BestNsPerPoint).
void ReportBaseline(benchmark::State& state, int k, const std::vector<Point>& points, double best) {
    // Measured once per formula: the library calls each benchmark several times while it
    // settles the iteration count, and the one-point and column figures share the baseline.
    static std::array<std::optional<double>, std::size(kFormulas)> measured;
    if (!measured[k]) measured[k] = HandWrittenNs(k, points);
    const double hand = *measured[k];
    state.counters["best_ns"] = best;
    state.counters["hand_ns"] = hand;
    state.counters["x_hand"] = best / hand;
}

// One point per call, the way a caller asks for a single value.
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
    std::vector<long double> out(points.size());
    ReportBaseline(state, k, points, BestNsPerPoint(points.size(), [&] {
                       for (std::size_t j = 0; j < points.size(); ++j)
                           benchmark::DoNotOptimize(t.TryValue(points[j].x, points[j].y, out[j]));
                   }));
}

// A whole column per call, the way the plots ask: the figure is per point.
void Column(benchmark::State& state, int k) {
    kq::Translator t;
    t.Translate(kFormulas[k].text);
    const auto points = PointsFor(kFormulas[k]);
    std::vector<long double> xs, ys, values(points.size());
    std::vector<kq::EvalStatus> statuses(points.size());
    for (const Point& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    const double start = ThreadNs();
    for (auto _ : state) {
        if (kFormulas[k].grid) t.TryValues(xs, ys, values, statuses);
        else t.TryValues(xs, 0, values, statuses);
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
    const double perPoint =
        (ThreadNs() - start) / (static_cast<double>(state.iterations()) * static_cast<double>(points.size()));
    state.counters["ns_per_point"] = perPoint;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points.size()));
    ReportBaseline(state, k, points, BestNsPerPoint(points.size(), [&] {
                       if (kFormulas[k].grid) t.TryValues(xs, ys, values, statuses);
                       else t.TryValues(xs, 0, values, statuses);
                       benchmark::DoNotOptimize(values.data());
                   }));
}

#ifdef KQ_HAVE_MUPARSER
// A muparser parser reading x and y from the given variables.
struct MuParserWithVariables {
    double x = 0.5, y = 0.5;
    mu::Parser parser;
    MuParserWithVariables() {
        parser.DefineVar("x", &x);
        parser.DefineVar("y", &y);
    }
};

void MuParser(benchmark::State& state, int k) {
    MuParserWithVariables m;
    double& x = m.x;
    double& y = m.y;
    mu::Parser& parser = m.parser;
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

#ifdef KQ_HAVE_MUPARSER
// muparser parses on the first evaluation after the text is set.
void MuParserTranslate(benchmark::State& state, int k) {
    MuParserWithVariables m;
    for (auto _ : state) {
        m.parser.SetExpr(kFormulas[k].muparser);
        benchmark::DoNotOptimize(m.parser.Eval());
    }
}
#endif

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

// The value with its exact slopes (forward-mode differentiation), one point per call: what
// the point finder pays at every point it looks at closely, beside the value alone (Eval).
void SlopesAt(benchmark::State& state, int k) {
    kq::Translator t;
    t.Translate(kFormulas[k].text);
    const auto points = PointsFor(kFormulas[k]);
    std::size_t i = 0;
    kq::Slopes s;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.TrySlopes(points[i].x, points[i].y, s));
        benchmark::DoNotOptimize(s);
        if (++i == points.size()) i = 0;
    }
}

int Register() {
    for (int k = 0; k < static_cast<int>(std::size(kFormulas)); ++k) {
        const std::string n = kFormulas[k].name;
        benchmark::RegisterBenchmark(("Eval/" + n + "/engine").c_str(), Engine, k);
        benchmark::RegisterBenchmark(("Column/" + n + "/engine").c_str(), Column, k);
#ifdef KQ_HAVE_MUPARSER
        benchmark::RegisterBenchmark(("Eval/" + n + "/muparser_double").c_str(), MuParser, k);
#endif
    }
    for (int k = 0; k < static_cast<int>(std::size(kFormulas)); ++k) {
        const std::string n = kFormulas[k].name;
        benchmark::RegisterBenchmark(("Translate/" + n + "/engine").c_str(), Translate, k);
#ifdef KQ_HAVE_MUPARSER
        benchmark::RegisterBenchmark(("Translate/" + n + "/muparser_double").c_str(), MuParserTranslate, k);
#endif
    }
    for (int k = 0; k < static_cast<int>(std::size(kFormulas)); ++k)
        benchmark::RegisterBenchmark(("Slopes/" + std::string(kFormulas[k].name) + "/engine").c_str(), SlopesAt, k);
    benchmark::RegisterBenchmark("Failures/arcsin(x)", FailurePath, "arcsin(x)");
    benchmark::RegisterBenchmark("Failures/ln(x)", FailurePath, "ln(x)");
    benchmark::RegisterBenchmark("Failures/arctg(x)_never_fails", FailurePath, "arctg(x)");
    benchmark::RegisterBenchmark("Failures/1/(x-x)", FailurePath, "1/(x-x)");
    return 0;
}

const int registered = Register();

}  // namespace

BENCHMARK_MAIN();
