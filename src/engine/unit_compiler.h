// Builds the unit tree from filtered formula text, telling the special-point set what it
// reads on the way. The text is cut as FormulaCuts says.
#pragma once

#include <memory>
#include <string_view>

#include "engine/formula_cuts.h"
#include "engine/units.h"

namespace kq {

class SpecialPointSet;

class UnitCompiler {
public:
    // Deeper nesting than this compiles to a unit whose evaluation fails.
    static constexpr int kMaxDepth = 200;

    explicit UnitCompiler(SpecialPointSet& specials) : specials_(specials) {}

    // <sum> = ["-"] <term> {("+" | "-") <term>}
    std::unique_ptr<ExpressionList> CompileSum(std::string_view text, int depth = 0);

private:
    std::unique_ptr<ExpressionList> Sum(std::size_t begin, std::size_t end, int depth, bool exponent);
    void Term(std::size_t begin, std::size_t end, bool negative, ExpressionList& target, int depth, bool inExponent);
    // False when the factor makes no unit ("sin()").
    bool Factor(const FactorPiece& piece, int depth, OperationUnit& unit);
    void ReadOperand(std::string_view text, OperationUnit& unit);

    SpecialPointSet& specials_;
    const FormulaCuts* cuts_ = nullptr;  // of the text being compiled
};

}  // namespace kq
