// The unit compiler as it was first written, every cut scanning its whole piece character by
// character (quadratic on long runs of signs and deep nesting) but plain, building the tree in
// its first form. The tests insist that the real tree is this one, written out as text (with
// terms folded the way the real tree folds them), and that the two give the same values.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/function_codes.h"
#include "engine/language_tables.h"
#include "engine/math_functions.h"
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
    for (const auto& unit : list.units) text += (text.size() > 1 ? " " : "") + DumpUnit(unit);
    return text + "]";
}

// The tree the plain compiler builds, in its first form: every term a unit holding the list of
// its factors. It evaluates as the first tree did, to show that folding terms changed no value.
struct ReferenceUnit;
using ReferenceList = std::vector<ReferenceUnit>;

struct ReferenceUnit {
    bool negative = false;
    Operation operation = Operation::Add;
    OperandKind kind = OperandKind::Number;
    long double value = 0;
    FunctionCode code = FunctionCode::None;
    long double n = 0;
    std::unique_ptr<ReferenceList> sub, exponent;

    EvalStatus Evaluate(long double x, long double y, long double& out) const;
};

inline EvalStatus EvaluateList(const ReferenceList& list, long double x, long double y, long double& out) {
    long double acc = 0;
    for (const ReferenceUnit& unit : list) {
        long double v = 0;
        if (EvalStatus s = unit.Evaluate(x, y, v); s != EvalStatus::Ok) return s;
        switch (unit.operation) {
            case Operation::Add: acc += v; break;
            case Operation::Multiply: acc *= v; break;
            case Operation::Divide:
                if (EvalStatus s = Divide(acc, v, acc); s != EvalStatus::Ok) return s;
                break;
        }
    }
    out = acc;
    return EvalStatus::Ok;
}

inline EvalStatus ReferenceUnit::Evaluate(long double x, long double y, long double& out) const {
    long double v = 0;
    if (code != FunctionCode::None) {
        long double t = 0;
        if (sub)
            if (EvalStatus s = EvaluateList(*sub, x, y, t); s != EvalStatus::Ok) return s;
        if (EvalStatus s = ApplyFunction(code, n, t, v); s != EvalStatus::Ok) return s;
    } else {
        switch (kind) {
            case OperandKind::Number: v = value; break;
            case OperandKind::X: v = x; break;
            case OperandKind::Y: v = y; break;
            case OperandKind::Pi: v = kPi; break;
            case OperandKind::TooDeep: return EvalStatus::TooDeep;
        }
        if (sub)
            if (EvalStatus s = EvaluateList(*sub, x, y, v); s != EvalStatus::Ok) return s;
    }
    if (exponent) {
        long double e = 0;
        if (EvalStatus s = EvaluateList(*exponent, x, y, e); s != EvalStatus::Ok) return s;
        if (EvalStatus s = Power(v, e, v); s != EvalStatus::Ok) return s;
    }
    out = negative ? -v : v;
    return EvalStatus::Ok;
}

std::string DumpReference(const ReferenceList& list, bool sum);

// As DumpUnit writes the unit the tree holds: a term of one factor folded into that factor, a
// term of none a signed 0.
inline std::string DumpReference(const ReferenceUnit& unit, bool term) {
    if (term && unit.sub && unit.sub->empty()) return std::string("+") + (unit.negative ? "-" : "") + BitsText(0);
    if (term && unit.sub && unit.sub->size() == 1 && unit.sub->front().operation == Operation::Add) {
        const ReferenceUnit& only = unit.sub->front();
        std::string text = DumpReference(only, false);
        const bool negative = only.negative != unit.negative;
        return "+" + std::string(negative ? "-" : "") + text.substr(only.negative ? 2 : 1);
    }
    std::string text = OperationText(unit.operation) + (unit.negative ? "-" : "");
    if (unit.code != FunctionCode::None) {
        text +=
            "f" + std::to_string(static_cast<int>(unit.code)) + ":" + BitsText(unit.n) + DumpReference(*unit.sub, true);
    } else if (unit.sub) {
        text += DumpReference(*unit.sub, !term);  // a term's list is a product; a bracket's, a sum
    } else {
        switch (unit.kind) {
            case OperandKind::Number: text += BitsText(unit.value); break;
            case OperandKind::X: text += "x"; break;
            case OperandKind::Y: text += "y"; break;
            case OperandKind::Pi: text += "pi"; break;
            case OperandKind::TooDeep: text += "deep"; break;
        }
    }
    if (unit.exponent) text += "^" + DumpReference(*unit.exponent, true);
    return text;
}

inline std::string DumpReference(const ReferenceList& list, bool sum) {
    std::string text = "[";
    for (const ReferenceUnit& unit : list) text += (text.size() > 1 ? " " : "") + DumpReference(unit, sum);
    return text + "]";
}

class ReferenceCompiler {
public:
    explicit ReferenceCompiler(SpecialPointSet& specials) : specials_(specials) {}

    std::unique_ptr<ReferenceList> CompileSum(std::string_view text, int depth = 0) {
        auto list = std::make_unique<ReferenceList>();
        if (depth > UnitCompiler::kMaxDepth) {
            list->emplace_back().kind = OperandKind::TooDeep;
            return list;
        }
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
            CompileTerm(term, negative, *list, depth);
            negativeNext = pos < text.size() && text[pos] == '-';
            ++pos;
        }
        return list;
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
            if ((c >= 'A' && c <= 'Z') || c == '.' || c == ',' || SuffixOfLetter(c)) return false;
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
            if (c == '(')
                ++count;
            else if (c == ')')
                --count;
            ++i;
        } while (i < text.size() &&
                 !(count <= 0 && stops.find(text[i]) != std::string_view::npos && !(sum && IsSignNotSplit(text, i))));
        return text.substr(pos, i - pos);
    }

    static std::string_view Inner(std::string_view bracketed) {
        return bracketed.size() >= 2 ? bracketed.substr(1, bracketed.size() - 2) : std::string_view();
    }

    void CompileTerm(std::string_view text, bool negative, ReferenceList& target, int depth) {
        auto product = std::make_unique<ReferenceList>();
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
            if (const NumberedHead numbered = NumberedFunctionAt(head); numbered.function) {
                n = LeadingDecimal(head.substr(numbered.nameLength));
                code = numbered.function->code;
            }
            bool added = false;
            ReferenceUnit unit;
            if (code == FunctionCode::None) {
                added = true;
                if (!factor.empty() && factor.front() == '(')
                    unit.sub = CompileSum(Inner(Segment(factor, 0, ")")), depth + 1);
                else
                    ReadOperand(factor, unit);
            } else {
                const std::size_t open = factor.find('(');
                const std::string_view argument =
                    open == std::string_view::npos ? std::string_view() : Segment(factor, open, ")");
                if (argument.size() > 2) {
                    added = true;
                    unit.code = code;
                    unit.n = n;
                    unit.sub = CompileSum(Inner(argument), depth + 1);
                }
            }
            if (added) {
                unit.negative = factorNegative;
                unit.operation = operation;
                product->push_back(std::move(unit));
            }
            if (pos < text.size() && text[pos] == '^') {
                ++pos;
                const std::string_view exponent = Segment(text, pos, "*/");
                pos += exponent.size();
                if (!exponent.empty() && !product->empty()) {
                    if (IsExponentName(exponent)) {
                        product->back().exponent = std::make_unique<ReferenceList>();
                        product->back().exponent->emplace_back().value = std::exp(1.0L);
                    } else {
                        product->back().exponent = CompileSum(exponent, depth + 1);
                    }
                }
            }
            if (pos < text.size()) {
                if (text[pos] == '*')
                    operation = Operation::Multiply;
                else if (text[pos] == '/')
                    operation = Operation::Divide;
            }
            ++pos;
        }
        ReferenceUnit& wrapper = target.emplace_back();
        wrapper.negative = negative;
        wrapper.sub = std::move(product);
    }

    void ReadOperand(std::string_view text, ReferenceUnit& unit) {
        const LanguageName* name = NameOfFactor(text);
        if (name && name->kind == NameKind::VariableX) {
            unit.kind = OperandKind::X;
            specials_.AddXOperand();
        } else if (name && name->kind == NameKind::VariableY) {
            unit.kind = OperandKind::Y;
        } else if (name && name->kind == NameKind::Pi) {
            unit.kind = OperandKind::Pi;
        } else {
            unit.value = ReadNumberOperand(text);
            specials_.AddOperand(unit.value);
        }
    }

    SpecialPointSet& specials_;
};

}  // namespace kq::test
