// The engine's tables of formulas and points: the column tests' formulas, which the native
// code handles in each of its ways, and the maker of random formulas from the language's
// parts. Tests check every path against the others on them; the result table prints them so
// that two builds (Linux, Windows) can be compared bit for bit.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "engine/function_codes.h"
#include "engine/language_tables.h"

namespace kq::test {

inline std::vector<long double> ColumnPoints() {
    std::vector<long double> xs;
    for (long double x = -7; x <= 7; x += 0.31L) xs.push_back(x);
    for (long double x : {0.0L, -0.0L, 1.0L, -1.0L, 2.0L, -2.0L, 90.0L, 1e300L, 1e-310L, 1e400L, -1e-400L, 1e-15L})
        xs.push_back(x);
    return xs;
}

// Formulas that the native code handles in each of its ways: arithmetic kept on the x87
// stack with x pinned (between calls too), library calls, the interpreter's code reading x and y themselves,
// failures of every kind, and results that are x, y or a constant.
inline const char* const kColumnFormulas[] = {
    "abs(x+2)/(x+2)-x",
    "x^3-2*x^2+x-1",
    "cos(x^2-3)",
    "sin(x)+cos(x)*tg(x)/2",
    "lg(2*x)/lg(x)",
    "cos(rt2(x*x+y*y))",
    "x^x",
    "tg(x)",
    "pw3(y)+sgn(x)",
    "x^y",
    "ln(x)+sqrt(y)",
    "arcsin(x)*arccos(y)",
    "exp(x*300)",
    "1/(x-2)",
    "x",
    "y",
    "5",
    "1/0",
    "",
    "(x+1)*(x+2)*(x+3)*(x+4)/(x-y)",
    "arcctg(x)-y",
    "sin(x)*cos(x)+sin(2*x)*cos(2*x)+sin(3*x)*cos(3*x)+sin(4*x)*cos(4*x)",
    "rt3(x)*rt2(y)",
    "pw-2(x)",
    "x*0",
    "-x",
    "-y*x",
    // x kept on the stack between calls and stored for the readers after them, also where
    // the interpreter's code reads it
    "x^3-2*x^2+x-1+tg(x/7)*lg(x*x+2)",
    "x*sin(x)+x^y*x+ln(x)-x",
    "sin(x)*x+x",
    // constant divisors: one the division's test always passes, one it never does
    "x/7-y/0.5",
    "x/7+x/1e-15",
};

// Every name the language's table gives a function, aliases too; a numbered function with
// the numbers 2 and 3 after its name.
inline const std::vector<std::string>& FunctionWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> all;
        for (const FunctionInfo& f : LanguageFunctions())
            for (std::string_view name : f.names) {
                if (name.empty()) break;
                if (!f.numbered) {
                    all.emplace_back(name);
                    continue;
                }
                for (const char* n : {"2", "3"}) all.push_back(std::string(name) + n);
            }
        return all;
    }();
    return words;
}

// The name the table gives a variable or a constant.
inline std::string NameOf(NameKind kind) {
    for (const LanguageName& n : LanguageNames())
        if (n.kind == kind) return std::string(n.name);
    return {};
}

class FormulaMaker {
public:
    explicit FormulaMaker(unsigned seed) : random_(seed) {}

    std::string Make(int depth) {
        const int kind = Pick(depth > 0 ? 12 : 4);
        switch (kind) {
            case 0: return NameOf(NameKind::VariableX);
            case 1: return NameOf(Pick(3) ? NameKind::VariableX : NameKind::VariableY);
            case 2: return Number();
            case 3: return Pick(2) ? NameOf(NameKind::Pi) : Number();
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
        static const std::string e[] = {"2", "3", "0.5", "-1", NameOf(NameKind::VariableX), "(1/3)", "0",
                                        NameOf(NameKind::EulerExponent), "2^2"};
        return e[Pick(9)];
    }
    std::string Function() {
        const std::vector<std::string>& words = FunctionWords();
        return words[static_cast<std::size_t>(Pick(static_cast<int>(words.size())))];
    }

    std::mt19937 random_;
};

// The points the random formulas are evaluated at.
inline const std::vector<long double>& RandomFormulaPoints() {
    static const std::vector<long double> points = {-3, -1, -0.5L, 0, 0.25L, 1, 1.5L, 2, 3.14159L, 90, 1e-20L, -1e10L, 1e-310L, 1e400L};
    return points;
}

}  // namespace kq::test
