#include "engine/unit_compiler.h"

#include <algorithm>
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
template <typename Visit>
void UnitCompiler::ForEachTerm(std::size_t begin, std::size_t end, bool exponent, Visit visit) const {
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
        visit(termBegin, stop, negative);
        negativeNext = stop < end && text_[stop] == '-';
        pos = stop + 1;
    }
}

template <typename Visit>
void UnitCompiler::ForEachFactor(std::size_t begin, std::size_t end, bool inExponent, Visit visit) const {
    Operation operation = Operation::Add;
    std::size_t pos = begin;
    while (pos < end) {
        FactorPiece piece{pos, PieceEnd(pos, end, kFactor), 0, 0, operation};
        pos = piece.end;
        piece.exponentBegin = piece.exponentEnd = pos;
        if (pos < end && text_[pos] == '^') {
            ++pos;
            // The exponent runs to the next "*" or "/", so a further "^" nests to the right.
            // Inside an exponent there is none at this level: it runs to the end of the term.
            piece.exponentBegin = pos;
            piece.exponentEnd = inExponent ? std::max(pos, end) : PieceEnd(pos, end, kExponent);
            pos = piece.exponentEnd;
        }
        visit(piece);
        if (pos < end) {
            if (text_[pos] == '*') operation = Operation::Multiply;
            else if (text_[pos] == '/') operation = Operation::Divide;
        }
        ++pos;
    }
}

std::unique_ptr<ExpressionList> UnitCompiler::Sum(std::size_t begin, std::size_t end, int depth, bool exponent) {
    auto list = std::make_unique<ExpressionList>();
    if (depth > kMaxDepth) {
        list->units.emplace_back().kind = OperandKind::TooDeep;
        return list;
    }
    // Counted first, so that a list of a million terms is one allocation of its exact size.
    std::size_t terms = 0;
    ForEachTerm(begin, end, exponent, [&](std::size_t, std::size_t, bool) { ++terms; });
    list->units.reserve(terms);
    ForEachTerm(begin, end, exponent, [&](std::size_t termBegin, std::size_t termEnd, bool negative) {
        Term(termBegin, termEnd, negative, *list, depth, exponent);
    });
    return list;
}

// <term> = <factor> ["^" <sum up to "*" "/">] {("*" | "/") <factor> ["^" ...]}
//
// A term of one factor is that factor's unit with the term's sign, a term of none (as "-" in
// "1--x") a signed 0, any other a unit holding the list of its factors. The folded forms have
// the values of the list form ("-(0+v)" and "-v" differ only in the sign of a zero, which no
// sum can tell) and lower to the same program.
void UnitCompiler::Term(std::size_t begin, std::size_t end, bool negative, ExpressionList& target, int depth,
                        bool inExponent) {
    std::size_t factors = 0;
    ForEachFactor(begin, end, inExponent, [&](const FactorPiece&) { ++factors; });
    std::vector<OperationUnit> product;
    OperationUnit single;
    bool made = false;
    if (factors > 1) product.reserve(factors);
    ForEachFactor(begin, end, inExponent, [&](const FactorPiece& piece) {
        OperationUnit unit;
        if (Factor(piece, depth, unit)) {
            unit.operation = piece.operation;
            if (factors > 1) product.push_back(std::move(unit));
            else single = std::move(unit);
            made = true;
        }
        if (piece.exponentEnd > piece.exponentBegin && made) {
            OperationUnit& last = factors > 1 ? product.back() : single;
            if (View(piece.exponentBegin, piece.exponentEnd) == "e") {
                last.exponent = std::make_unique<ExpressionList>();
                last.exponent->units.emplace_back().value = std::exp(1.0L);
            } else {
                last.exponent = Sum(piece.exponentBegin, piece.exponentEnd, depth + 1, true);
            }
        }
    });
    if (factors > 1 && product.size() == 1 && product.front().operation == Operation::Add) {
        single = std::move(product.front());
        product.clear();
    } else if (factors > 1 && !product.empty()) {
        OperationUnit& wrapper = target.units.emplace_back();
        wrapper.negative = negative;
        wrapper.sub = std::make_unique<ExpressionList>();
        wrapper.sub->units = std::move(product);
        return;
    } else if (!made || factors > 1) {
        target.units.emplace_back().negative = negative;  // a signed 0
        return;
    }
    single.negative = single.negative != negative;
    target.units.push_back(std::move(single));
}

// <factor> = {"+" | "-"} ( "(" <sum> ")" | name "(" <sum> ")" | rtN(...) | pwN(...) | operand )
bool UnitCompiler::Factor(const FactorPiece& piece, int depth, OperationUnit& unit) {
    std::size_t begin = piece.begin;
    const std::size_t end = piece.end;
    bool negative = false;
    while (begin < end && IsSign(text_[begin])) {
        negative = negative != (text_[begin] == '-');
        ++begin;
    }
    const std::string_view factor = View(begin, end);
    const std::string_view head = View(begin, PieceEnd(begin, end, kHead));
    FunctionCode code = FunctionByName(head);
    if (IsDirectTrig(code)) specials_.SetPeriodic();
    long double n = 0;
    if (head.size() > 2) {
        n = LeadingDecimal(head.substr(2));
        if (head.substr(0, 2) == "pw") code = FunctionCode::PowerN;
        else if (head.substr(0, 2) == "rt") code = FunctionCode::Root;
    }
    if (code == FunctionCode::None) {
        if (!factor.empty() && factor.front() == '(') {
            const std::size_t close = PieceEnd(begin, end, kBracket);
            unit.sub = close - begin >= 2 ? Sum(begin + 1, close - 1, depth + 1, false) : Sum(0, 0, depth + 1, false);
        } else {
            ReadOperand(factor, unit);
        }
    } else {
        const std::size_t open = factor.find('(');
        // "sin()" and a bare "sin" add no factor at all.
        if (open == std::string_view::npos) return false;
        const std::size_t argBegin = begin + open;
        const std::size_t argEnd = PieceEnd(argBegin, end, kBracket);
        if (argEnd - argBegin <= 2) return false;
        unit = OperationUnit(code, n);
        unit.sub = Sum(argBegin + 1, argEnd - 1, depth + 1, false);
    }
    unit.negative = negative;
    return true;
}

void UnitCompiler::ReadOperand(std::string_view text, OperationUnit& unit) {
    if (!text.empty() && text.front() == 'x') {
        unit.kind = OperandKind::X;
        specials_.AddXOperand();
    } else if (!text.empty() && text.front() == 'y') {
        unit.kind = OperandKind::Y;
    } else if (text == "pi") {
        unit.kind = OperandKind::Pi;
    } else {
        unit.value = ReadNumberOperand(text);
        specials_.AddOperand(unit.value);
    }
}

}  // namespace kq
