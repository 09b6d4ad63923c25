// The engine's own sine and cosine beside the C library's sinl, cosl and sincosl: ns per call
// on the same arguments (x_libm is the ratio), and a check over 10 million random arguments
// of every size that the two never differ by more than their errors allow (each is within
// about 1 ulp of the true value; the tests prove ours against mpmath); and the sine in degrees.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>
#include <math.h>

#include "engine/trig.h"

namespace {

double ThreadNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

std::vector<long double> Line(long double from, long double to) {
    std::vector<long double> xs;
    for (int i = 0; i < 4096; ++i) xs.push_back(from + (to - from) * i / 4095);
    return xs;
}

// ns per call of f over xs, the fastest of a few passes.
template <class F>
double NsPerCall(F f, const std::vector<long double>& xs) {
    double best = 1e30;
    for (int pass = 0; pass < 5; ++pass) {
        long double sum = 0;
        const double start = ThreadNs();
        for (long double x : xs) sum += f(x);
        benchmark::DoNotOptimize(sum);
        best = std::min(best, (ThreadNs() - start) / static_cast<double>(xs.size()));
    }
    return best;
}

enum class Which { Sine, Cosine, Both };

void Speed(benchmark::State& state, Which which, long double from, long double to) {
    const std::vector<long double> xs = Line(from, to);
    auto ours = [which](long double x) {
        if (which == Which::Sine) return kq::Sine(x);
        if (which == Which::Cosine) return kq::Cosine(x);
        long double s = 0, c = 0;
        kq::SineCosine(x, &s, &c);
        return s + c;
    };
    auto library = [which](long double x) {
        if (which == Which::Sine) return sinl(x);
        if (which == Which::Cosine) return cosl(x);
        long double s = 0, c = 0;
        sincosl(x, &s, &c);
        return s + c;
    };
    double ns = 0;
    for (auto _ : state) ns = NsPerCall(ours, xs);
    const double libm = NsPerCall(library, xs);
    state.counters["ns"] = ns;
    state.counters["libm_ns"] = libm;
    state.counters["x_libm"] = ns / libm;
}

// The sine of an angle in degrees, whole quarter turns taken off exactly (ns), beside the
// sine of the angle turned into radians by one product, which is not exact at its zeros
// (product_ns), and the C library's sinl of that product (libm_ns).
void DegreesSpeed(benchmark::State& state, long double from, long double to) {
    const std::vector<long double> xs = Line(from, to);
    constexpr long double kDegree = 0.0174532925199432957692369076848861271L;
    double ns = 0;
    for (auto _ : state) ns = NsPerCall([](long double x) { return kq::SineDegrees(x); }, xs);
    state.counters["ns"] = ns;
    state.counters["product_ns"] = NsPerCall([](long double x) { return kq::Sine(x * kDegree); }, xs);
    state.counters["libm_ns"] = NsPerCall([](long double x) { return sinl(x * kDegree); }, xs);
}

// |a - b| in ulps of the larger.
double Ulps(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : 1e30;
    const long double d = std::fabs(a - b);
    if (d == 0) return 0;
    const long double scale = std::ldexp(1.0L, std::ilogb(std::fmax(std::fabs(a), std::fabs(b))) - 63);
    return static_cast<double>(d / scale);
}

// 10 million arguments: a third uniform on [-100, 100], a third of every size up to 1e4932
// (random bits), a third next to multiples of pi/2.
void Agreement(benchmark::State& state) {
    std::mt19937_64 random(2026);
    std::uniform_real_distribution<double> uniform(-100, 100);
    double worstSine = 0, worstCosine = 0;
    std::int64_t differ = 0, total = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10'000'000; ++i) {
            long double x = 0;
            switch (i % 3) {
                case 0: x = uniform(random) + std::ldexp(static_cast<long double>(random() >> 11), -64); break;
                case 1: {
                    const std::uint64_t m = random() | (std::uint64_t{1} << 63);
                    const std::uint16_t top = static_cast<std::uint16_t>(random() % 0x7FFF) | (i & 8 ? 0x8000 : 0);
                    std::memcpy(&x, &m, 8);
                    std::memcpy(reinterpret_cast<char*>(&x) + 8, &top, 2);
                    break;
                }
                default: {
                    const long double k = static_cast<long double>(random() % 2000000) - 1000000;
                    x = std::nextafter(k * 1.57079632679489661923132169163975144L,
                                       (random() & 1) ? INFINITY : -INFINITY);
                    break;
                }
            }
            const long double s = kq::Sine(x), c = kq::Cosine(x);
            const double us = Ulps(s, sinl(x)), uc = Ulps(c, cosl(x));
            worstSine = std::max(worstSine, us);
            worstCosine = std::max(worstCosine, uc);
            differ += (us > 0) + (uc > 0);
            total += 2;
        }
    }
    state.counters["max_ulp_sin"] = worstSine;
    state.counters["max_ulp_cos"] = worstCosine;
    state.counters["differing"] = static_cast<double>(differ) / static_cast<double>(total);
    // Each within about an ulp of the truth: they can be at most a little over two apart.
    if (worstSine > 2.5 || worstCosine > 2.5) state.SkipWithError("the sine or cosine differs from the C library's by more than 2.5 ulp");
}

int Register() {
    struct Range {
        const char* name;
        long double from, to;
    };
    const Range ranges[] = {{"[-pi/4,pi/4]", -0.78L, 0.78L}, {"[-10,10]", -10, 10}, {"[0,1e5]", 0, 1e5L},
                            {"[1e6,1e7]", 1e6L, 1e7L}, {"[1e300,1e301]", 1e300L, 1e301L}};
    for (const Range& r : ranges) {
        benchmark::RegisterBenchmark((std::string("Sine/") + r.name).c_str(), Speed, Which::Sine, r.from, r.to)
            ->Iterations(20);
        benchmark::RegisterBenchmark((std::string("Cosine/") + r.name).c_str(), Speed, Which::Cosine, r.from, r.to)
            ->Iterations(20);
        benchmark::RegisterBenchmark((std::string("SineCosine/") + r.name).c_str(), Speed, Which::Both, r.from, r.to)
            ->Iterations(20);
    }
    benchmark::RegisterBenchmark("SineDegrees/[-720,720]", DegreesSpeed, -720.0L, 720.0L)->Iterations(20);
    benchmark::RegisterBenchmark("SineDegrees/[0,1e7]", DegreesSpeed, 0.0L, 1e7L)->Iterations(20);
    benchmark::RegisterBenchmark("Agreement/10M_random", Agreement)->Iterations(1)->Unit(benchmark::kSecond);
    return 0;
}

const int registered = Register();

}  // namespace

BENCHMARK_MAIN();
