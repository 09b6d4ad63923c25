// Translation of long and deeply nested texts, stage by stage: the filter (blanks, bars,
// macros), the unit tree (filter and compiler), and the whole translation (with the flat
// program and native code). Time per text, MB/s, and the heap the result holds per byte of
// text (the counter "heap/byte", where glibc can tell). Also the diagnosis of the same texts,
// which the formula fields run as the user types.
#include <benchmark/benchmark.h>

#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "engine/diagnose.h"
#include "engine/filter.h"
#include "engine/special_points.h"
#include "engine/translator.h"
#include "engine/unit_compiler.h"

namespace {

constexpr std::size_t kMB = 1000000;

std::string Repeat(const std::string& piece, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + piece.size());
    while (text.size() < bytes) text += piece;
    return text;
}

std::string Joined(const std::string& piece, std::size_t times, const std::string& separator) {
    std::string text = piece;
    for (std::size_t i = 1; i < times; ++i) text += separator + piece;
    return text;
}

enum class Text {
    Formula,       // 1 MB of an ordinary formula, all features mixed: the goal is under 0.5 s
    Signs,         // a run of 200,000 signs
    Macros,        // 100,000 macros joined by "+"
    Line,          // a 10 MB line of "x+1+"
    Brackets,      // 500,000 nested brackets
    Bars,          // nested bars, 1 MB
    NestedMacros,  // 100,000 nested macros
    Exponents,     // "x^x^...", 1 MB
    Numbers,       // "1+1+...", 1 MB: a sum that folds to one constant, 1, 2, 3, ... on the way
    Products,      // "x*1+x*1+...", 1 MB: the same terms with x in each; Numbers is to take
                   // at most twice its time
};

std::string Make(Text kind) {
    switch (kind) {
        case Text::Formula: return Repeat("sin(x)*cos(x^2-3)+log<2>(x)/(1+|x|)-pow<3>(x)+2.5E-3*rt3(x)-", kMB) + "1";
        case Text::Signs: return "1" + std::string(200000, '-') + "x";
        case Text::Macros: return Joined("pow<2>(x)", 100000, "+");
        case Text::Line: return Repeat("x+1+", 10 * kMB) + "0";
        case Text::Brackets: return std::string(500000, '(') + "x" + std::string(500000, ')');
        case Text::Bars: {
            const std::string open = Repeat("|x-", kMB / 2);
            return open + "x" + Repeat("|x", open.size() * 2 / 3);
        }
        case Text::NestedMacros: return Joined("pow<2>(", 100000, "") + "x" + std::string(100000, ')');
        case Text::Exponents: return Repeat("x^", kMB) + "x";
        case Text::Numbers: return Repeat("1+", kMB) + "1";
        case Text::Products: return Repeat("x*1+", kMB) + "x";
    }
    return {};
}

std::size_t HeapInUse() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // large blocks are mapped on their own
#else
    return 0;
#endif
}

void Filter(benchmark::State& state, Text kind) {
    const std::string text = Make(kind);
    const kq::Filter filter;
    for (auto _ : state) {
        std::string out = filter.Apply(text);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Tree(benchmark::State& state, Text kind) {
    const std::string text = Make(kind);
    const kq::Filter filter;
    double heap = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        const std::string compiled = filter.Apply(text);
        kq::SpecialPointSet specials;
        kq::UnitCompiler compiler(specials);
        auto root = compiler.CompileSum(compiled);
        heap = static_cast<double>(HeapInUse() - before);
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["heap/byte"] = heap / static_cast<double>(text.size());
}

void Whole(benchmark::State& state, Text kind) {
    const std::string text = Make(kind);
    double heap = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        kq::Translator translator;
        translator.Translate(text);
        heap = static_cast<double>(HeapInUse() - before);
        benchmark::DoNotOptimize(&translator);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["heap/byte"] = heap / static_cast<double>(text.size());
}

void Diagnosis(benchmark::State& state, Text kind) {
    const std::string text = Make(kind);
    std::size_t doubts = 0;
    for (auto _ : state) {
        const std::vector<kq::Diagnostic> found = kq::Diagnose(text);
        doubts = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["doubts"] = static_cast<double>(doubts);
}

#define KQ_TRANSLATION_BENCH(kind)                                                            \
    BENCHMARK_CAPTURE(Filter, kind, Text::kind)->Unit(benchmark::kMillisecond)->MinTime(0.2); \
    BENCHMARK_CAPTURE(Tree, kind, Text::kind)->Unit(benchmark::kMillisecond)->MinTime(0.2);   \
    BENCHMARK_CAPTURE(Whole, kind, Text::kind)->Unit(benchmark::kMillisecond)->MinTime(0.2);  \
    BENCHMARK_CAPTURE(Diagnosis, kind, Text::kind)->Unit(benchmark::kMillisecond)->MinTime(0.2)

KQ_TRANSLATION_BENCH(Formula);
KQ_TRANSLATION_BENCH(Signs);
KQ_TRANSLATION_BENCH(Macros);
KQ_TRANSLATION_BENCH(Line);
KQ_TRANSLATION_BENCH(Brackets);
KQ_TRANSLATION_BENCH(Bars);
KQ_TRANSLATION_BENCH(NestedMacros);
KQ_TRANSLATION_BENCH(Exponents);
KQ_TRANSLATION_BENCH(Numbers);
KQ_TRANSLATION_BENCH(Products);

}  // namespace

BENCHMARK_MAIN();
