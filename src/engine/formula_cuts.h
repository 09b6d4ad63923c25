// How formula text is cut into terms, factors, exponents and bracketed parts: the one place
// that knows the cutting rules, so that the compiler and the diagnosis of doubtful texts read
// a text the same way.
//
// One rule makes every cut: from a start, characters are taken while a parenthesis is open or
// the next one is not a stop of the piece's kind (the first is always taken). A sum is cut at
// "+" and "-" (not at a sign that belongs to what follows: after "*", "/" or "^", or in a
// literal like "1e-5"), a term at "*", "/" and "^", an exponent at "*" and "/". Every cut looks
// only at its own bracket level, jumping over matched brackets, so the work grows with the
// text, not with its nesting.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/function_codes.h"
#include "engine/units.h"

namespace kq {

// A factor of a term with its exponent (empty when it has none).
struct FactorPiece {
    std::size_t begin, end, exponentBegin, exponentEnd;
    Operation operation;  // how it joins the factors before it
};

// What a factor is, read as the compiler reads it.
struct FactorShape {
    static constexpr std::size_t kNone = std::string::npos;

    std::size_t begin = 0, end = 0;          // the factor without the signs that lead it
    bool negative = false;                   // an odd number of "-" led it
    std::size_t headEnd = 0;                 // the head, [begin, headEnd): up to a "(" outside brackets
    FunctionCode code = FunctionCode::None;  // a call, rt and pw read from the head
    long double n = 0;                       // the number written after a numbered function's name
    // The "(" of a bracketed part or of a call's argument (kNone: an operand, or a call with no
    // bracket), and the end of that part's piece: just past its ")" or where the factor ends.
    std::size_t open = kNone, close = 0;
};

class FormulaCuts {
public:
    explicit FormulaCuts(std::string_view text);

    std::string_view Text() const { return text_; }

    // Calls visit(pieceBegin, termBegin, termEnd, negative) for each term of the sum
    // [begin, end): the piece of text the term was cut as, the term without the "-" that
    // negates it, and its sign. In an exponent only the signs that open it can cut it: any other
    // sign at its level was seen by the sum the exponent lies in and did not cut that.
    template <typename Visit>
    void ForEachTerm(std::size_t begin, std::size_t end, bool exponent, Visit visit) const;

    // Calls visit(piece) for each factor of the term [begin, end). Inside an exponent the
    // term has no "*" or "/" at its level, so an exponent there runs to the end of the term.
    template <typename Visit>
    void ForEachFactor(std::size_t begin, std::size_t end, bool inExponent, Visit visit) const;

    FactorShape Shape(const FactorPiece& piece) const;

    // The ")" that closes the "(" at `open`, or FactorShape::kNone.
    std::size_t Closing(std::size_t open) const;

    static bool IsSign(char c) { return c == '+' || c == '-'; }

private:
    std::size_t PieceEnd(std::size_t pos, std::size_t end, unsigned stops) const;
    // Where the sum's piece that starts at `pos` ends; `run` is where the signs just before
    // `pos` begin and is kept up to date.
    std::size_t SumPieceEnd(std::size_t pos, std::size_t begin, std::size_t end, std::size_t& run) const;
    // Just after the bracket that closes the one at `open`, or `end` when none does before it.
    std::size_t GroupEnd(std::size_t open, std::size_t end) const;
    bool IsLiteralExponentSign(std::size_t i, std::size_t begin, std::size_t end) const;

    // The kinds of piece, each named by the characters that end it.
    enum Stops : unsigned {
        kFactorStops = 1,    // "*", "/" and "^": a factor of a term
        kExponentStops = 2,  // "*" and "/": an exponent
        kHeadStops = 4,      // "(": the name before a function's argument
        kBracketStops = 8,   // ")": a bracketed part
    };
    static bool IsStop(char c, unsigned stops);

    std::string_view text_;
    std::vector<std::uint32_t> closing_;  // for each "(" of the text, where its ")" is
};

template <typename Visit>
void FormulaCuts::ForEachTerm(std::size_t begin, std::size_t end, bool exponent, Visit visit) const {
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
        visit(pos, termBegin, stop, negative);
        negativeNext = stop < end && text_[stop] == '-';
        pos = stop + 1;
    }
}

template <typename Visit>
void FormulaCuts::ForEachFactor(std::size_t begin, std::size_t end, bool inExponent, Visit visit) const {
    Operation operation = Operation::Add;
    std::size_t pos = begin;
    while (pos < end) {
        FactorPiece piece{pos, PieceEnd(pos, end, kFactorStops), 0, 0, operation};
        pos = piece.end;
        piece.exponentBegin = piece.exponentEnd = pos;
        if (pos < end && text_[pos] == '^') {
            // The exponent runs to the next "*" or "/", so a further "^" nests to the right.
            ++pos;
            piece.exponentBegin = pos;
            piece.exponentEnd = inExponent ? std::max(pos, end) : PieceEnd(pos, end, kExponentStops);
            pos = piece.exponentEnd;
        }
        visit(piece);
        if (pos < end) {
            if (text_[pos] == '*')
                operation = Operation::Multiply;
            else if (text_[pos] == '/')
                operation = Operation::Divide;
        }
        ++pos;
    }
}

}  // namespace kq
