// Prints the engine's results on its test tables, one line each, every number as the hex of
// its bits, so that two builds (Linux and Windows) can be compared bit for bit: the column
// tests' formulas, the random formulas, and every function of the language over a sweep of
// arguments, in both angle modes and with exact functions. It also prints the C library
// functions the engine calls on those arguments, so that a difference can be traced to the
// function it comes from (sine and cosine are the engine's own, the same everywhere).
//   engine_result_table > table.txt
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <math.h>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "engine/function_codes.h"
#include "engine/translator.h"
#include "formula_tables.h"

namespace kq::test {
namespace {

// The 80 bits, sign and exponent first: "3fff8000000000000000" is 1.
std::string Hex(long double v) {
    unsigned char bytes[16] = {};
    std::memcpy(bytes, &v, 10);
    char text[21];
    for (int i = 0; i < 10; ++i) std::snprintf(text + 2 * i, 3, "%02x", bytes[9 - i]);
    return std::string(text, 20);
}

std::string Hex(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

void Line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// One formula at every point, in one angle mode: status and value.
void Evaluate(const char* section, const std::string& formula, bool degrees, const std::vector<long double>& xs,
              const std::vector<long double>& ys, bool exact = false) {
    Translator t;
    t.SetDegrees(degrees);
    t.SetExactFunctions(exact);
    t.Translate(formula);
    for (std::size_t k = 0; k < xs.size(); ++k) {
        long double v = 0;
        const EvalStatus s = t.TryValue(xs[k], ys[k], v);
        Line(std::string(section) + "\t" + formula + "\t" + (degrees ? "deg" : "rad") + (exact ? "+exact" : "") + "\t" + Hex(xs[k]) + "\t" +
             Hex(ys[k]) + "\t" + std::to_string(static_cast<int>(s)) + "\t" + (s == EvalStatus::Ok ? Hex(v) : "-"));
    }
}

// Arguments for the functions: a fine grid where they vary, multiples of π/2 and of 90
// (their poles in either mode), integers, and magnitudes from the tiny to the huge.
std::vector<long double> Sweep() {
    std::vector<long double> xs;
    for (int k = -600; k <= 600; ++k) xs.push_back(k / 57.0L);
    for (int k = -40; k <= 40; ++k) {
        xs.push_back(k * 1.5707963267948966L);
        xs.push_back(k * 90.0L);
        xs.push_back(k * 0.0125L);
    }
    for (long double m = 1e-30L; m < 1e30L; m *= 7.3L) {
        xs.push_back(m);
        xs.push_back(-m);
    }
    for (long double v : {1e-4940L, 1e-310L, 1e100L, 1e300L, 1e400L, 1e4000L, 710.0L, 11356.0L, 1e18L, 3e18L})
        xs.push_back(v), xs.push_back(-v);
    return xs;
}

// The functions of the C library the engine calls, by name, on the sweep.
void LibraryFunctions(const std::vector<long double>& xs) {
    using L = long double (*)(long double);
    using D = double (*)(double);
    const struct {
        const char* name;
        L f;
    } extended[] = {{"tanl", ::tanl},   {"atanl", ::atanl},   {"asinl", ::asinl}, {"acosl", ::acosl},
                    {"logl", ::logl},   {"log10l", ::log10l}, {"expl", ::expl},   {"sqrtl", ::sqrtl},
                    {"fabsl", ::fabsl}, {"truncl", ::truncl}};
    const struct {
        const char* name;
        D f;
    } doubles[] = {{"tan", ::tan},   {"atan", ::atan},   {"asin", ::asin}, {"acos", ::acos},
                   {"log", ::log},   {"log10", ::log10}, {"exp", ::exp},   {"sqrt", ::sqrt}};
    for (const auto& f : extended)
        for (long double x : xs) Line(std::string("lib\t") + f.name + "\t" + Hex(x) + "\t" + Hex(f.f(x)));
    for (const auto& f : doubles)
        for (long double x : xs) {
            const double d = static_cast<double>(x);
            Line(std::string("lib\t") + f.name + "\t" + Hex(d) + "\t" + Hex(f.f(d)));
        }
    for (long double x : xs) {
        Line("lib\tatan2l\t" + Hex(x) + "\t" + Hex(std::atan2(1.0L, x)));
        for (long double e : {-2.5L, -1.0L, 1.0L / 3, 0.5L, 2.0L, 3.0L, 7.25L, 100.0L}) {
            Line("lib\tpowl\t" + Hex(x) + "," + Hex(e) + "\t" + Hex(std::pow(x, e)));
            const double dx = static_cast<double>(x), de = static_cast<double>(e);
            Line("lib\tpow\t" + Hex(dx) + "," + Hex(de) + "\t" + Hex(std::pow(dx, de)));
        }
    }
}

int Run() {
    const std::vector<long double> columnXs = ColumnPoints();
    std::vector<long double> half(columnXs.size(), 0.5L), slanted;
    for (long double x : columnXs) slanted.push_back(0.75L - x / 3);
    for (bool degrees : {false, true})
        for (const char* f : kColumnFormulas) {
            Evaluate("column", f, degrees, columnXs, half);
            Evaluate("column", f, degrees, columnXs, slanted);
        }

    const std::vector<long double>& randomXs = RandomFormulaPoints();
    std::vector<long double> randomYs;
    for (long double x : randomXs) randomYs.push_back(0.5L - x);
    FormulaMaker maker(2026);
    for (int n = 0; n < 1500; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        for (bool degrees : {false, true}) Evaluate("random", formula, degrees, randomXs, randomYs);
    }

    const std::vector<long double> sweep = Sweep();
    const std::vector<long double> ys(sweep.size(), 0.5L);
    for (const FunctionInfo& f : LanguageFunctions()) {
        std::vector<std::string> names;
        if (f.numbered)
            names = {std::string(f.names[0]) + "2", std::string(f.names[0]) + "3", std::string(f.names[0]) + "0.5"};
        else
            names = {std::string(f.names[0])};
        for (const std::string& name : names) {
            for (bool degrees : {false, true}) Evaluate("function", name + "(x)", degrees, sweep, ys);
            if (f.precision == Precision::Double) Evaluate("function", name + "(x)", false, sweep, ys, true);
        }
    }
    Evaluate("function", "pi+x", false, sweep, ys, true);
    for (const char* f : {"x^y", "x^(1/3)", "x^0.5", "x^7.25", "exp(x)^e", "(x+1)^e"})
        for (bool degrees : {false, true}) Evaluate("function", f, degrees, sweep, ys);

    LibraryFunctions(sweep);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kq::test

int main() {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as on Linux: "\n", not "\r\n"
#endif
    return kq::test::Run();
}
