#include "engine/formula_cuts.h"

#include <limits>

#include "engine/language_tables.h"
#include "engine/number_text.h"

namespace kq {
namespace {

constexpr std::uint32_t kUnclosed = std::numeric_limits<std::uint32_t>::max();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsProductOperator(char c) { return c == '*' || c == '/' || c == '^'; }

}  // namespace

bool FormulaCuts::IsStop(char c, unsigned stops) {
    switch (c) {
        case '*':
        case '/': return (stops & (kFactorStops | kExponentStops)) != 0;
        case '^': return (stops & kFactorStops) != 0;
        case '(': return (stops & kHeadStops) != 0;
        case ')': return (stops & kBracketStops) != 0;
        default: return false;
    }
}

FormulaCuts::FormulaCuts(std::string_view text) : text_(text) {
    if (text.size() >= kUnclosed || text.find('(') == std::string_view::npos) return;
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

std::size_t FormulaCuts::Closing(std::size_t open) const {
    if (closing_.empty()) {
        const std::size_t end = GroupEnd(open, text_.size());
        return end > open && text_[end - 1] == ')' ? end - 1 : FactorShape::kNone;
    }
    return closing_[open] == kUnclosed ? FactorShape::kNone : closing_[open];
}

std::size_t FormulaCuts::GroupEnd(std::size_t open, std::size_t end) const {
    if (closing_.empty()) {
        // Only for texts too long for the table: count the brackets.
        int level = 0;
        for (std::size_t i = open; i < end; ++i) {
            if (text_[i] == '(')
                ++level;
            else if (text_[i] == ')' && --level == 0)
                return i + 1;
        }
        return end;
    }
    const std::uint32_t close = closing_[open];
    return close != kUnclosed && close < end ? close + std::size_t{1} : end;
}

std::size_t FormulaCuts::PieceEnd(std::size_t pos, std::size_t end, unsigned stops) const {
    if (pos >= end) return end;
    long count = 0;
    std::size_t i = pos;
    do {
        const char c = text_[i];
        if (c == '(' && count == 0) {
            i = GroupEnd(i, end);
            continue;
        }
        if (c == '(')
            ++count;
        else if (c == ')')
            --count;
        ++i;
    } while (i < end && !(count <= 0 && IsStop(text_[i], stops)));
    return i;
}

// A sign at `i` that is the exponent sign of a decimal literal such as "1e-5" or "2.5E+3":
// the mantissa starts a word with a digit or a point, and digits follow the sign.
bool FormulaCuts::IsLiteralExponentSign(std::size_t i, std::size_t begin, std::size_t end) const {
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
        if ((c >= 'A' && c <= 'Z') || c == '.' || c == ',' || SuffixOfLetter(c)) return false;
    }
    return true;
}

std::size_t FormulaCuts::SumPieceEnd(std::size_t pos, std::size_t begin, std::size_t end, std::size_t& run) const {
    if (pos >= end) return end;
    long count = 0;
    std::size_t i = pos;
    for (;;) {
        const char c = text_[i];
        std::size_t next = i + 1;
        if (c == '(' && count == 0)
            next = GroupEnd(i, end);
        else if (c == '(')
            ++count;
        else if (c == ')')
            --count;
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

// <factor> = {"+" | "-"} ( "(" <sum> ")" | name "(" <sum> ")" | rtN(...) | pwN(...) | operand )
FactorShape FormulaCuts::Shape(const FactorPiece& piece) const {
    FactorShape shape;
    shape.begin = piece.begin;
    shape.end = piece.end;
    while (shape.begin < shape.end && IsSign(text_[shape.begin])) {
        shape.negative = shape.negative != (text_[shape.begin] == '-');
        ++shape.begin;
    }
    shape.headEnd = PieceEnd(shape.begin, shape.end, kHeadStops);
    const std::string_view head = text_.substr(shape.begin, shape.headEnd - shape.begin);
    shape.code = FunctionByName(head);
    if (const NumberedHead numbered = NumberedFunctionAt(head); numbered.function) {
        shape.n = LeadingDecimal(head.substr(numbered.nameLength));
        shape.code = numbered.function->code;
    }
    const std::string_view factor = text_.substr(shape.begin, shape.end - shape.begin);
    if (shape.code == FunctionCode::None) {
        if (!factor.empty() && factor.front() == '(') shape.open = shape.begin;
    } else {
        const std::size_t open = factor.find('(');
        if (open != std::string_view::npos) shape.open = shape.begin + open;
    }
    if (shape.open != FactorShape::kNone) shape.close = PieceEnd(shape.open, shape.end, kBracketStops);
    return shape;
}

}  // namespace kq
