// Thousands of formulas made from the language's parts: the native code, the interpreter and
// the unit tree must agree on every value and every failure, in both angle modes.
#include <gtest/gtest.h>

#include <random>

#include "eval_helpers.h"

namespace kq::test {
namespace {

class FormulaMaker {
public:
    explicit FormulaMaker(unsigned seed) : random_(seed) {}

    std::string Make(int depth) {
        const int kind = Pick(depth > 0 ? 12 : 4);
        switch (kind) {
            case 0: return "x";
            case 1: return Pick(3) ? "x" : "y";
            case 2: return Number();
            case 3: return Pick(2) ? "pi" : Number();
            case 4: return Make(depth - 1) + Operator() + Make(depth - 1);
            case 5: return "(" + Make(depth - 1) + ")";
            case 6: return Function() + "(" + Make(depth - 1) + ")";
            case 7: return Make(depth - 1) + "^" + Exponent();
            case 8: return "|" + Make(depth - 1) + "|";
            case 9: return "-" + Make(depth - 1);
            case 10: {
                const std::string shared = "(" + Make(depth - 1) + ")";
                return shared + Operator() + Function() + "(" + shared + ")";
            }
            default: return Make(depth - 1) + "/(" + Make(depth - 1) + "-" + Number() + ")";
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string Number() {
        static const char* numbers[] = {"0",   "1",   "2",    "3",     "0.5",    "10",     "1e-15",
                                        "7.25", "FFh", "101b", "1e300", "1e400", "1e-400", "700"};
        return numbers[Pick(14)];
    }
    std::string Operator() {
        static const char* ops[] = {"+", "-", "*", "/"};
        return ops[Pick(4)];
    }
    std::string Exponent() {
        static const char* e[] = {"2", "3", "0.5", "-1", "x", "(1/3)", "0", "e", "2^2"};
        return e[Pick(9)];
    }
    std::string Function() {
        static const char* f[] = {"sin", "cos", "tg", "ctg", "sec", "csc", "ln", "lg", "exp", "sqrt", "abs", "sgn",
                                  "arcsin", "arccos", "arctg", "arcctg", "rt2", "rt3", "pw2", "pw3"};
        return f[Pick(20)];
    }

    std::mt19937 random_;
};

TEST(RandomFormulas, AllPathsAgree) {
    FormulaMaker maker(2026);
    const long double points[] = {-3, -1, -0.5L, 0, 0.25L, 1, 1.5L, 2, 3.14159L, 90, 1e-20L, -1e10L, 1e-310L, 1e400L};
    for (int n = 0; n < 1500; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        for (bool degrees : {false, true})
            for (long double x : points) Evaluate(formula, x, 0.5L - x, kNoRounding, degrees);
    }
}

// Whole columns of points in one call agree with single points and every other path.
TEST(RandomFormulas, ColumnsAgree) {
    FormulaMaker maker(4242);
    const std::vector<long double> xs = {-3, -1, -0.5L, 0, 0.25L, 1, 1.5L, 2, 3.14159L, 90, 1e-20L, -1e10L, 1e-310L, 1e400L};
    std::vector<long double> ys;
    for (long double x : xs) ys.push_back(0.5L - x);
    for (int n = 0; n < 600; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        Translator t;
        t.SetDegrees(n % 2 == 1);
        t.Translate(formula);
        CheckColumn(t, xs, ys, 0, formula);
        CheckColumn(t, xs, {}, 2, formula);
    }
}

// The interpreter the engine falls back on where it has no native code, forced here on a
// machine that has it: it too must agree with the tree on every value and failure.
TEST(RandomFormulas, FallbackInterpreterAgrees) {
    FormulaMaker maker(1913);
    const long double points[] = {-3, -0.5L, 0, 1, 2, 90, 1e-310L, 1e400L};
    for (int n = 0; n < 400; ++n) {
        const std::string formula = maker.Make(n % 5 + 1);
        for (bool degrees : {false, true})
            for (long double x : points) Evaluate(formula, x, 0.5L - x, kNoRounding, degrees, false);
    }
}

}  // namespace
}  // namespace kq::test
