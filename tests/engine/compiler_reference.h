// The unit compiler as it was first written, every cut scanning its whole piece character by
// character (quadratic on long runs of signs and deep nesting) but plain; it writes the tree
// it would build as text, in the form DumpTree writes a real tree, so that the tests can
// insist that the two agree on any text.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "engine/function_codes.h"
#include "engine/number_text.h"
#include "engine/special_points.h"
#include "engine/unit_compiler.h"
#include "engine/units.h"

namespace kq::test {

inline std::string BitsText(long double v) { return FormatC("%La", v); }

inline std::string OperationText(Operation operation) {
    switch (operation) {
        case Operation::Divide: return "/";
        case Operation::Multiply: return "*";
        case Operation::Add: break;
    }
    return "+";
}

std::string DumpTree(const ExpressionList& list);

// A unit as text: its operation, its sign, what it holds, and its exponent.
inline std::string DumpUnit(const OperationUnit& unit) {
    std::string text = OperationText(unit.operation) + (unit.negative ? "-" : "");
    if (unit.IsFunction()) {
        const auto& f = static_cast<const FunctionUnit&>(unit);
        text += "f" + std::to_string(static_cast<int>(f.code)) + ":" + BitsText(f.n);
        text += f.sub ? DumpTree(*f.sub) : "[]";
    } else if (unit.sub) {
        text += DumpTree(*unit.sub);
    } else {
        switch (unit.kind) {
            case OperandKind::Number: text += BitsText(unit.value); break;
            case OperandKind::X: text += "x"; break;
            case OperandKind::Y: text += "y"; break;
            case OperandKind::Pi: text += "pi"; break;
            case OperandKind::TooDeep: text += "deep"; break;
        }
    }
    if (unit.exponent) text += "^" + DumpTree(*unit.exponent);
    return text;
}

inline std::string DumpTree(const ExpressionList& list) {
    std::string text = "[";
    for (const auto& unit : list.units) text += (text.size() > 1 ? " " : "") + DumpUnit(*unit);
    return text + "]";
}

class ReferenceCompiler {
public:
    explicit ReferenceCompiler(SpecialPointSet& specials) : specials_(specials) {}

    std::string CompileSum(std::string_view text, int depth = 0) {
        std::string list = "[";
        if (depth > UnitCompiler::kMaxDepth) return "[+deep]";
        std::size_t pos = 0;
        bool negativeNext = false;
        while (pos < text.size()) {
            std::string_view term = Segment(text, pos, "+-");
            pos += term.size();
            bool negative = negativeNext;
            if (!term.empty() && term.front() == '-') {
                term.remove_prefix(1);
                negative = true;
            }
            const std::string unit = CompileTerm(term, negative, depth);
            list += (list.size() > 1 ? " " : "") + unit;
            negativeNext = pos < text.size() && text[pos] == '-';
            ++pos;
        }
        return list + "]";
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    static bool IsLiteralExponentSign(std::string_view text, std::size_t i) {
        if (i < 2 || (text[i - 1] != 'e' && text[i - 1] != 'E')) return false;
        std::size_t j = i - 1;
        bool digit = false;
        while (j > 0 && (IsDigit(text[j - 1]) || text[j - 1] == '.')) {
            digit = digit || IsDigit(text[j - 1]);
            --j;
        }
        if (!digit || j == i - 1) return false;
        if (j > 0 && (IsAlnum(text[j - 1]) || text[j - 1] == ',')) return false;
        std::size_t k = i + 1;
        if (k >= text.size() || !IsDigit(text[k])) return false;
        while (k < text.size() && IsDigit(text[k])) ++k;
        if (k < text.size()) {
            const char c = text[k];
            if ((c >= 'A' && c <= 'Z') || c == '.' || c == ',' || c == 's' || c == 'o' || c == 'h' || c == 'b')
                return false;
        }
        return true;
    }

    static bool IsSignNotSplit(std::string_view text, std::size_t i) {
        std::size_t j = i;
        while (j > 0 && (text[j - 1] == '+' || text[j - 1] == '-')) --j;
        if (j > 0 && (text[j - 1] == '*' || text[j - 1] == '/' || text[j - 1] == '^')) return true;
        return IsLiteralExponentSign(text, i);
    }

    static std::string_view Segment(std::string_view text, std::size_t pos, std::string_view stops) {
        if (pos >= text.size()) return {};
        const bool sum = stops.find('+') != std::string_view::npos;
        int count = 0;
        std::size_t i = pos;
        do {
            const char c = text[i];
            if (c == '(') ++count;
            else if (c == ')') --count;
            ++i;
        } while (i < text.size() &&
                 !(count <= 0 && stops.find(text[i]) != std::string_view::npos && !(sum && IsSignNotSplit(text, i))));
        return text.substr(pos, i - pos);
    }

    static std::string_view Inner(std::string_view bracketed) {
        return bracketed.size() >= 2 ? bracketed.substr(1, bracketed.size() - 2) : std::string_view();
    }

    struct Unit {
        std::string body;  // what the unit holds, as DumpUnit writes it
        std::string exponent;
        bool negative = false;
        Operation operation = Operation::Add;
        std::string Text() const {
            return OperationText(operation) + (negative ? "-" : "") + body + (exponent.empty() ? "" : "^" + exponent);
        }
    };

    std::string CompileTerm(std::string_view text, bool negative, int depth) {
        std::vector<Unit> product;
        Operation operation = Operation::Add;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::string_view factor = Segment(text, pos, "*/^");
            pos += factor.size();
            bool factorNegative = false;
            while (!factor.empty() && (factor.front() == '+' || factor.front() == '-')) {
                factorNegative = factorNegative != (factor.front() == '-');
                factor.remove_prefix(1);
            }
            const std::string_view head = Segment(factor, 0, "(");
            FunctionCode code = FunctionByName(head);
            if (IsDirectTrig(code)) specials_.SetPeriodic();
            long double n = 0;
            if (head.size() > 2) {
                n = LeadingDecimal(head.substr(2));
                if (head.substr(0, 2) == "pw") code = FunctionCode::PowerN;
                else if (head.substr(0, 2) == "rt") code = FunctionCode::Root;
            }
            bool added = false;
            Unit unit;
            if (code == FunctionCode::None) {
                added = true;
                if (!factor.empty() && factor.front() == '(') unit.body = CompileSum(Inner(Segment(factor, 0, ")")), depth + 1);
                else unit.body = ReadOperand(factor);
            } else {
                const std::size_t open = factor.find('(');
                const std::string_view argument =
                    open == std::string_view::npos ? std::string_view() : Segment(factor, open, ")");
                if (argument.size() > 2) {
                    added = true;
                    unit.body = "f" + std::to_string(static_cast<int>(code)) + ":" + BitsText(n) +
                                CompileSum(Inner(argument), depth + 1);
                }
            }
            if (added) {
                unit.negative = factorNegative;
                unit.operation = operation;
                product.push_back(unit);
            }
            if (pos < text.size() && text[pos] == '^') {
                ++pos;
                const std::string_view exponent = Segment(text, pos, "*/");
                pos += exponent.size();
                if (!exponent.empty() && !product.empty()) {
                    product.back().exponent =
                        exponent == "e" ? "[+" + BitsText(std::exp(1.0L)) + "]" : CompileSum(exponent, depth + 1);
                }
            }
            if (pos < text.size()) {
                if (text[pos] == '*') operation = Operation::Multiply;
                else if (text[pos] == '/') operation = Operation::Divide;
            }
            ++pos;
        }
        std::string list = "[";
        for (const Unit& unit : product) list += (list.size() > 1 ? " " : "") + unit.Text();
        return std::string("+") + (negative ? "-" : "") + list + "]";
    }

    std::string ReadOperand(std::string_view text) {
        if (!text.empty() && text.front() == 'x') {
            specials_.AddXOperand();
            return "x";
        }
        if (!text.empty() && text.front() == 'y') return "y";
        if (text == "pi") return "pi";
        const long double value = ReadNumberOperand(text);
        specials_.AddOperand(value);
        return BitsText(value);
    }

    SpecialPointSet& specials_;
};

}  // namespace kq::test
