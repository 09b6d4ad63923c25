// µs per result written by "=": ordinary values, and large ones whose digits must be searched
// for the shortest text that reads back.
#include <benchmark/benchmark.h>

#include <cmath>

#include "calc/base_format.h"

namespace {

void Format(benchmark::State& state, long double value, int base) {
    for (auto _ : state) benchmark::DoNotOptimize(kq::FormatInBase(value, base));
}

BENCHMARK_CAPTURE(Format, ordinary_base10, 123.456L, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, two_to_70_base10, std::ldexp(1.0L, 70), 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e28_base10, 1e28L, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e600_base10, 1e600L, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e600_base16, 1e600L, 16)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e600_base3, 1e600L, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, pi_e100_base10, 3.14159265358979323846e100L, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e4900_base2, 1e4900L, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Format, e4900_base10, 1e4900L, 10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
