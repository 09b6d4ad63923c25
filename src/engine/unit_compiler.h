// Builds the unit tree from filtered formula text, telling the special-point set what it
// reads on the way.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/units.h"

namespace kq {

class SpecialPointSet;

// The text is cut into pieces by one rule: from a start, characters are taken while a
// parenthesis is open or the next one is not a stop of the piece's kind (the first is always
// taken). A sum is cut at "+" and "-" (not at a sign that belongs to what follows: after "*",
// "/" or "^", or in a literal like "1e-5"), a term at "*", "/" and "^", an exponent at "*" and
// "/". Every cut looks only at its own bracket level, jumping over matched brackets, so the
// work grows with the text, not with its nesting.
class UnitCompiler {
public:
    // Deeper nesting than this compiles to a unit whose evaluation fails.
    static constexpr int kMaxDepth = 200;

    explicit UnitCompiler(SpecialPointSet& specials) : specials_(specials) {}

    // <sum> = ["-"] <term> {("+" | "-") <term>}
    std::unique_ptr<ExpressionList> CompileSum(std::string_view text, int depth = 0);

private:
    // A factor of a term with its exponent (empty when it has none).
    struct FactorPiece {
        std::size_t begin, end, exponentBegin, exponentEnd;
        Operation operation;  // how it joins the factors before it
    };

    std::unique_ptr<ExpressionList> Sum(std::size_t begin, std::size_t end, int depth, bool exponent);
    void Term(std::size_t begin, std::size_t end, bool negative, ExpressionList& target, int depth, bool inExponent);
    // False when the factor makes no unit ("sin()").
    bool Factor(const FactorPiece& piece, int depth, OperationUnit& unit);
    void ReadOperand(std::string_view text, OperationUnit& unit);
    // Calls visit(begin, end, negative) for each term of the sum.
    template <typename Visit>
    void ForEachTerm(std::size_t begin, std::size_t end, bool exponent, Visit visit) const;
    // Calls visit(piece) for each factor of the term.
    template <typename Visit>
    void ForEachFactor(std::size_t begin, std::size_t end, bool inExponent, Visit visit) const;

    // Where the piece that starts at `pos` ends (a stop of kind `stops`, or `end`).
    std::size_t PieceEnd(std::size_t pos, std::size_t end, unsigned stops) const;
    // Where the sum's piece that starts at `pos` ends; `run` is where the signs just before
    // `pos` begin and is kept up to date.
    std::size_t SumPieceEnd(std::size_t pos, std::size_t begin, std::size_t end, std::size_t& run) const;
    // Just after the bracket that closes the one at `open`, or `end` when none does before it.
    std::size_t GroupEnd(std::size_t open, std::size_t end) const;
    bool IsLiteralExponentSign(std::size_t i, std::size_t begin, std::size_t end) const;
    std::string_view View(std::size_t begin, std::size_t end) const { return text_.substr(begin, end - begin); }

    SpecialPointSet& specials_;
    std::string_view text_;
    std::vector<std::uint32_t> closing_;  // for each "(" of the text, where its ")" is
};

}  // namespace kq
