#include "engine/unit_compiler.h"

#include <cmath>

#include "engine/number_text.h"
#include "engine/special_points.h"

namespace kq {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A sign at `i` that is the exponent sign of a decimal literal such as "1e-5" or "2.5E+3":
// the mantissa starts a word with a digit or a point, and digits follow the sign.
bool IsLiteralExponentSign(std::string_view text, std::size_t i) {
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
    // "1E-1h" stays a difference of two hexadecimal literals.
    if (k < text.size()) {
        const char c = text[k];
        if ((c >= 'A' && c <= 'Z') || c == '.' || c == ',' || c == 's' || c == 'o' || c == 'h' || c == 'b')
            return false;
    }
    return true;
}

// A "+" or "-" that is the sign of what follows rather than a split of the sum.
bool IsSignNotSplit(std::string_view text, std::size_t i) {
    std::size_t j = i;
    while (j > 0 && (text[j - 1] == '+' || text[j - 1] == '-')) --j;  // "2*--3": a run of signs
    if (j > 0 && (text[j - 1] == '*' || text[j - 1] == '/' || text[j - 1] == '^')) return true;
    return IsLiteralExponentSign(text, i);
}

std::string_view Inner(std::string_view bracketed) {
    return bracketed.size() >= 2 ? bracketed.substr(1, bracketed.size() - 2) : std::string_view();
}

}  // namespace

std::string_view Segment(std::string_view text, std::size_t pos, std::string_view stops) {
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

// <sum> = ["-"] <term> {("+" | "-") <term>}
std::unique_ptr<ExpressionList> UnitCompiler::CompileSum(std::string_view text, int depth) {
    auto list = std::make_unique<ExpressionList>();
    if (depth > kMaxDepth) {
        auto unit = std::make_unique<OperationUnit>();
        unit->kind = OperandKind::TooDeep;
        list->units.push_back(std::move(unit));
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

// <term> = <factor> ["^" <sum up to "*" "/">] {("*" | "/") <factor> ["^" ...]}
// <factor> = {"+" | "-"} ( "(" <sum> ")" | name "(" <sum> ")" | rtN(...) | pwN(...) | operand )
void UnitCompiler::CompileTerm(std::string_view text, bool negative, ExpressionList& target, int depth) {
    auto product = std::make_unique<ExpressionList>();
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
        std::unique_ptr<OperationUnit> unit;
        if (code == FunctionCode::None) {
            if (!factor.empty() && factor.front() == '(') {
                unit = std::make_unique<OperationUnit>();
                unit->sub = CompileSum(Inner(Segment(factor, 0, ")")), depth + 1);
            } else {
                unit = ReadOperand(factor);
            }
        } else {
            const std::size_t open = factor.find('(');
            const std::string_view argument =
                open == std::string_view::npos ? std::string_view() : Segment(factor, open, ")");
            // "sin()" and a bare "sin" add no factor at all.
            if (argument.size() > 2) {
                unit = std::make_unique<FunctionUnit>(code, n);
                unit->sub = CompileSum(Inner(argument), depth + 1);
            }
        }
        if (unit) {
            unit->negative = factorNegative;
            unit->operation = operation;
            product->units.push_back(std::move(unit));
        }
        if (pos < text.size() && text[pos] == '^') {
            ++pos;
            // The exponent runs to the next "*" or "/", so a further "^" nests to the right.
            const std::string_view exponent = Segment(text, pos, "*/");
            pos += exponent.size();
            if (!exponent.empty() && !product->units.empty()) {
                OperationUnit& last = *product->units.back();
                if (exponent == "e") {
                    last.exponent = std::make_unique<ExpressionList>();
                    auto euler = std::make_unique<OperationUnit>();
                    euler->value = std::exp(1.0L);
                    last.exponent->units.push_back(std::move(euler));
                } else {
                    last.exponent = CompileSum(exponent, depth + 1);
                }
            }
        }
        if (pos < text.size()) {
            if (text[pos] == '*') operation = Operation::Multiply;
            else if (text[pos] == '/') operation = Operation::Divide;
        }
        ++pos;
    }
    auto wrapper = std::make_unique<OperationUnit>();
    wrapper->negative = negative;
    wrapper->operation = Operation::Add;
    wrapper->sub = std::move(product);
    target.units.push_back(std::move(wrapper));
}

std::unique_ptr<OperationUnit> UnitCompiler::ReadOperand(std::string_view text) {
    auto unit = std::make_unique<OperationUnit>();
    if (!text.empty() && text.front() == 'x') {
        unit->kind = OperandKind::X;
        specials_.AddXOperand();
    } else if (!text.empty() && text.front() == 'y') {
        unit->kind = OperandKind::Y;
    } else if (text == "pi") {
        unit->kind = OperandKind::Pi;
    } else {
        unit->value = ReadNumberOperand(text);
        specials_.AddOperand(unit->value);
    }
    return unit;
}

}  // namespace kq
