#include "engine/unit_compiler.h"

#include <cmath>
#include <limits>

#include "engine/number_text.h"
#include "engine/special_points.h"

namespace kq {
namespace {

constexpr std::uint32_t kUnclosed = std::numeric_limits<std::uint32_t>::max();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSign(char c) { return c == '+' || c == '-'; }
bool IsProductOperator(char c) { return c == '*' || c == '/' || c == '^'; }

// The kinds of piece and the characters that end them.
enum Stops : unsigned {
    kFactor = 1,    // "*", "/" and "^": a factor of a term
    kExponent = 2,  // "*" and "/": an exponent
    kHead = 4,      // "(": the name before a function's argument
    kBracket = 8,   // ")": a bracketed part
};

bool IsStop(char c, unsigned stops) {
    switch (c) {
        case '*':
        case '/': return (stops & (kFactor | kExponent)) != 0;
        case '^': return (stops & kFactor) != 0;
        case '(': return (stops & kHead) != 0;
        case ')': return (stops & kBracket) != 0;
        default: return false;
    }
}

}  // namespace

std::unique_ptr<ExpressionList> UnitCompiler::CompileSum(std::string_view text, int depth) {
    text_ = text;
    closing_.clear();
    if (text.size() < kUnclosed && text.find('(') != std::string_view::npos) {
        closing_.assign(text.size(), kUnclosed);
        std::vector<std::uint32_t> open;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '(') {
                open.push_back(static_cast<std::uint32_t>(i));
            } else if (text[i] == ')' && !open.empty()) {
                closing_[open.back()] = static_cast<std::uint32_t>(i);
                open.pop_back();
            }
        }
    }
    return Sum(0, text.size(), depth, false);
}

std::size_t UnitCompiler::GroupEnd(std::size_t open, std::size_t end) const {
    if (closing_.empty()) {
        // Only for texts too long for the table: count the brackets.
        int level = 0;
        for (std::size_t i = open; i < end; ++i) {
            if (text_[i] == '(') ++level;
            else if (text_[i] == ')' && --level == 0) return i + 1;
        }
        return end;
    }
    const std::uint32_t close = closing_[open];
    return close != kUnclosed && close < end ? close + std::size_t{1} : end;
}

std::size_t UnitCompiler::PieceEnd(std::size_t pos, std::size_t end, unsigned stops) const {
    if (pos >= end) return end;
    long count = 0;
    std::size_t i = pos;
    do {
        const char c = text_[i];
        if (c == '(' && count == 0) {
            i = GroupEnd(i, end);
            continue;
        }
        if (c == '(') ++count;
        else if (c == ')') --count;
        ++i;
    } while (i < end && !(count <= 0 && IsStop(text_[i], stops)));
    return i;
}

// A sign at `i` that is the exponent sign of a decimal literal such as "1e-5" or "2.5E+3":
// the mantissa starts a word with a digit or a point, and digits follow the sign.
bool UnitCompiler::IsLiteralExponentSign(std::size_t i, std::size_t begin, std::size_t end) const {
    if (i < begin + 2 || (text_[i - 1] != 'e' && text_[i - 1] != 'E')) return false;
    std::size_t j = i - 1;
    bool digit = false;
    while (j > begin && (IsDigit(text_[j - 1]) || text_[j - 1] == '.')) {
        digit = digit || IsDigit(text_[j - 1]);
        --j;
    }
    if (!digit || j == i - 1) return false;
    if (j > begin && (IsAlnum(text_[j - 1]) || text_[j - 1] == ',')) return false;
    std::size_t k = i + 1;
    if (k >= end || !IsDigit(text_[k])) return false;
    while (k < end && IsDigit(text_[k])) ++k;
    // "1E-1h" stays a difference of two hexadecimal literals.
    if (k < end) {
        const char c = text_[k];
        if ((c >= 'A' && c <= 'Z') || c == '.' || c == ',' || c == 's' || c == 'o' || c == 'h' || c == 'b')
            return false;
    }
    return true;
}

std::size_t UnitCompiler::SumPieceEnd(std::size_t pos, std::size_t begin, std::size_t end, std::size_t& run) const {
    if (pos >= end) return end;
    long count = 0;
    std::size_t i = pos;
    for (;;) {
        const char c = text_[i];
        std::size_t next = i + 1;
        if (c == '(' && count == 0) next = GroupEnd(i, end);
        else if (c == '(') ++count;
        else if (c == ')') --count;
        if (!IsSign(c)) run = next;  // the signs before `next` start at `run`
        i = next;
        if (i >= end) return end;
        if (count > 0 || !IsSign(text_[i])) continue;
        // A sign after "*", "/" or "^" (across a run of signs, as in "2*--3") belongs to what
        // follows, as does the sign of a literal's exponent.
        const bool follows = run > begin && IsProductOperator(text_[run - 1]);
        if (!follows && !IsLiteralExponentSign(i, begin, end)) return i;
    }
}

// In an exponent only the signs that open it can cut it: any other sign at its level was seen
// by the sum the exponent lies in and did not cut that.
std::unique_ptr<ExpressionList> UnitCompiler::Sum(std::size_t begin, std::size_t end, int depth, bool exponent) {
    auto list = std::make_unique<ExpressionList>();
    if (depth > kMaxDepth) {
        auto unit = std::make_unique<OperationUnit>();
        unit->kind = OperandKind::TooDeep;
        list->units.push_back(std::move(unit));
        return list;
    }
    std::size_t openingSigns = begin;
    while (exponent && openingSigns < end && IsSign(text_[openingSigns])) ++openingSigns;
    std::size_t run = begin;
    std::size_t pos = begin;
    bool negativeNext = false;
    while (pos < end) {
        const std::size_t stop =
            exponent ? (pos + 1 < openingSigns ? pos + 1 : end) : SumPieceEnd(pos, begin, end, run);
        std::size_t termBegin = pos;
        bool negative = negativeNext;
        if (termBegin < stop && text_[termBegin] == '-') {
            ++termBegin;
            negative = true;
        }
        Term(termBegin, stop, negative, *list, depth, exponent);
        negativeNext = stop < end && text_[stop] == '-';
        pos = stop + 1;
    }
    return list;
}

// <term> = <factor> ["^" <sum up to "*" "/">] {("*" | "/") <factor> ["^" ...]}
// <factor> = {"+" | "-"} ( "(" <sum> ")" | name "(" <sum> ")" | rtN(...) | pwN(...) | operand )
void UnitCompiler::Term(std::size_t begin, std::size_t end, bool negative, ExpressionList& target, int depth,
                        bool inExponent) {
    auto product = std::make_unique<ExpressionList>();
    Operation operation = Operation::Add;
    std::size_t pos = begin;
    while (pos < end) {
        const std::size_t factorEnd = PieceEnd(pos, end, kFactor);
        std::size_t factorBegin = pos;
        pos = factorEnd;
        bool factorNegative = false;
        while (factorBegin < factorEnd && IsSign(text_[factorBegin])) {
            factorNegative = factorNegative != (text_[factorBegin] == '-');
            ++factorBegin;
        }
        const std::string_view factor = View(factorBegin, factorEnd);
        const std::string_view head = View(factorBegin, PieceEnd(factorBegin, factorEnd, kHead));
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
                const std::size_t close = PieceEnd(factorBegin, factorEnd, kBracket);
                unit = std::make_unique<OperationUnit>();
                unit->sub = close - factorBegin >= 2 ? Sum(factorBegin + 1, close - 1, depth + 1, false)
                                                     : Sum(0, 0, depth + 1, false);
            } else {
                unit = ReadOperand(factor);
            }
        } else {
            const std::size_t open = factor.find('(');
            // "sin()" and a bare "sin" add no factor at all.
            if (open != std::string_view::npos) {
                const std::size_t argBegin = factorBegin + open;
                const std::size_t argEnd = PieceEnd(argBegin, factorEnd, kBracket);
                if (argEnd - argBegin > 2) {
                    unit = std::make_unique<FunctionUnit>(code, n);
                    unit->sub = Sum(argBegin + 1, argEnd - 1, depth + 1, false);
                }
            }
        }
        if (unit) {
            unit->negative = factorNegative;
            unit->operation = operation;
            product->units.push_back(std::move(unit));
        }
        if (pos < end && text_[pos] == '^') {
            ++pos;
            // The exponent runs to the next "*" or "/", so a further "^" nests to the right.
            // Inside an exponent there is none at this level: it runs to the end of the term.
            const std::size_t exponentEnd = inExponent ? std::max(pos, end) : PieceEnd(pos, end, kExponent);
            const std::size_t exponentBegin = pos;
            pos = exponentEnd;
            if (exponentEnd > exponentBegin && !product->units.empty()) {
                OperationUnit& last = *product->units.back();
                if (View(exponentBegin, exponentEnd) == "e") {
                    last.exponent = std::make_unique<ExpressionList>();
                    auto euler = std::make_unique<OperationUnit>();
                    euler->value = std::exp(1.0L);
                    last.exponent->units.push_back(std::move(euler));
                } else {
                    last.exponent = Sum(exponentBegin, exponentEnd, depth + 1, true);
                }
            }
        }
        if (pos < end) {
            if (text_[pos] == '*') operation = Operation::Multiply;
            else if (text_[pos] == '/') operation = Operation::Divide;
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
