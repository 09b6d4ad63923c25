// The headless `points` verb: its lines, its areas and its exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/points_verb.h"

namespace kq {
namespace {

struct PointsRun {
    int status;
    std::vector<std::vector<std::string>> lines;  // each split at its tabs
    std::string out, err;
};

PointsRun Points(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    PointsRun run{RunPointsCommand(args, out, err), {}, out.str(), err.str()};
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            fields.push_back(line.substr(from, tab - from));
        fields.push_back(line.substr(from));
        run.lines.push_back(fields);
    }
    return run;
}

long double Read(const std::string& text) { return std::strtold(text.c_str(), nullptr); }

// The verb prints 18 significant digits, as eval does: a long double to about 1e-18 of itself.
bool AsPrinted(long double value, long double reference) {
    return std::fabs(value - reference) <= 1e-17L * std::max(1.0L, std::fabs(reference));
}

// Where a polynomial (highest power first) changes sign between a and b, by bisection on
// its own values: a reference that knows nothing of the engine.
long double PolynomialRoot(const std::vector<long double>& p, long double a, long double b) {
    auto at = [&](long double x) {
        long double v = 0;
        for (long double c : p) v = v * x + c;
        return v;
    };
    const bool rising = at(b) > 0;
    for (int i = 0; i < 200; ++i) {
        const long double m = a + (b - a) / 2;
        if (m == a || m == b) break;
        ((at(m) > 0) == rising ? b : a) = m;
    }
    return a + (b - a) / 2;
}

TEST(PointsCommand, ListsEveryKindInOrderOfX) {
    const PointsRun r = Points({"--range", "-5", "5", "-5", "5", "--list", "1/(x-1)", "x^3-3*x"});
    ASSERT_EQ(r.status, 0) << r.err;
    struct Expected {
        std::string kind, curves;
        long double x;
        bool hasY;
    };
    // x^3 - 3x: roots ±sqrt(3) and 0, extrema at ±1, an inflection at 0; 1/(x-1) breaks at 1;
    // the two meet where (x^3 - 3x)(x - 1) = 1.
    const std::vector<Expected> expected = {
        {"cross", "0,1", PolynomialRoot({1, -1, -3, 3, -1}, -2, -1.5), true},
        {"root", "0", -std::sqrt(3.0L), true},
        {"max", "0", -1, true},
        {"root", "0", 0, true},
        {"inflection", "0", 0, true},
        {"min", "0", 1, true},
        {"break", "1", 1, false},
        {"root", "0", std::sqrt(3.0L), true},
        {"cross", "0,1", PolynomialRoot({1, -1, -3, 3, -1}, 1.5, 2), true},
    };
    ASSERT_EQ(r.lines.size(), expected.size()) << r.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& line = r.lines[i];
        ASSERT_EQ(line.size(), 4u) << r.out;
        EXPECT_EQ(line[0], expected[i].kind) << i;
        EXPECT_EQ(line[1], expected[i].curves) << i;
        EXPECT_TRUE(AsPrinted(Read(line[2]), expected[i].x)) << line[2] << " at line " << i;
        EXPECT_EQ(line[3].empty(), !expected[i].hasY) << i;
    }
    // Y is the curve's value there: 2 at the maximum, -2 at the minimum.
    EXPECT_EQ(r.lines[2][3], "2");
    EXPECT_EQ(r.lines[5][3], "-2");
}

TEST(PointsCommand, AreasPerCurveOrTheirReason) {
    const PointsRun r = Points({"--range", "-5", "5", "-5", "5", "--list", "1/(x-1)", "--list", "sqrt(x)",
                                "--area", "0", "2", "x^3-3*x"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::vector<std::string>> areas;
    for (const auto& line : r.lines)
        if (line[0] == "area") areas.push_back(line);
    ASSERT_EQ(areas.size(), 3u) << r.out;
    EXPECT_EQ(areas[0][1], "0");
    EXPECT_EQ(areas[0][2], "0");
    EXPECT_EQ(areas[0][3], "2");
    EXPECT_EQ(areas[0][4], "-2");  // 2^4/4 - 3*2^2/2
    EXPECT_EQ(areas[1][1], "1");
    EXPECT_EQ(areas[1][4].rfind("error: ", 0), 0u) << areas[1][4];
    EXPECT_NE(areas[1][4].find("разрыв"), std::string::npos) << areas[1][4];
    EXPECT_EQ(areas[2][1], "2");
    // (2/3) 2^(3/2), to the last digits long double holds.
    const long double root = 2 * std::sqrt(2.0L) * 2 / 3;
    EXPECT_LT(std::fabs(Read(areas[2][4]) - root), 1e-15L * root) << areas[2][4];
    // The areas come after every point.
    EXPECT_EQ(r.lines.back()[0], "area");
    EXPECT_EQ(r.lines[r.lines.size() - 4][0], "cross");
}

TEST(PointsCommand, ModesAndRounding) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::vector<Case> cases = {
        // A double root is a root, and the minimum there.
        {{"(x-1)^2"}, "root\t0\t1\t0\nmin\t0\t1\t0\n"},
        // |y| = 4 - x^2: both branches, meeting the axis at ±2.
        {{"--abs", "4-x^2"}, "root\t0\t-2\t0\nmin\t0\t0\t-4\nmax\t0\t0\t4\nroot\t0\t2\t0\n"},
        {{"--degrees", "--range", "10", "170", "-1", "1", "sin(x)"}, "max\t0\t90\t1\n"},
        {{"--round", "1", "--range", "-1", "3", "-5", "5", "x^2-x"}, "root\t0\t0\t0\nmin\t0\t0.5\t-0.3\nroot\t0\t1\t0\n"},
        // A domain end inside the view, with its last value.
        {{"--range", "-1", "3", "-5", "5", "sqrt(2-x)+1"}, "end\t0\t2\t1\n"},
        {{"--area", "2", "0", "x"}, "root\t0\t0\t0\narea\t0\t2\t0\t-2\n"},
        // pi is a double unless the functions are exact.
        {{"--range", "0", "5", "-5", "5", "x-pi"}, "root\t0\t3.14159265358979312\t0\n"},
        {{"--exact", "--range", "0", "5", "-5", "5", "x-pi"}, "root\t0\t3.14159265358979324\t0\n"},
    };
    for (const Case& c : cases) {
        const PointsRun r = Points(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
}

TEST(PointsCommand, SaysWhereALimitCutTheList) {
    const PointsRun r = Points({"--range", "-1", "1", "-1", "1", "sin(1/x)"});
    ASSERT_EQ(r.status, 0) << r.err;
    bool more = false;
    for (const auto& line : r.lines)
        if (line[0] == "more") {
            more = true;
            EXPECT_EQ(line.size(), 3u);
            EXPECT_EQ(line[1], "0");
        }
    EXPECT_TRUE(more) << r.out;
}

TEST(PointsCommand, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"x", "y"},
        {"--area", "1", "x"},
        {"--area", "a", "1", "x"},
        {"--range", "1", "0", "0", "1", "x"},
        {"--wrong", "x"},
    };
    for (const auto& args : cases) {
        const PointsRun r = Points(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("использование: quantorium points"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace kq
