// Builds the unit tree from filtered formula text, telling the special-point set what it
// reads on the way.
#pragma once

#include <memory>
#include <string_view>

#include "engine/units.h"

namespace kq {

class SpecialPointSet;

class UnitCompiler {
public:
    // Deeper nesting than this compiles to a unit whose evaluation fails.
    static constexpr int kMaxDepth = 200;

    explicit UnitCompiler(SpecialPointSet& specials) : specials_(specials) {}

    std::unique_ptr<ExpressionList> CompileSum(std::string_view text, int depth = 0);

private:
    void CompileTerm(std::string_view text, bool negative, ExpressionList& target, int depth);
    std::unique_ptr<OperationUnit> ReadOperand(std::string_view text);

    SpecialPointSet& specials_;
};

// The segment scan every compile step uses: from `pos`, characters are taken while a
// parenthesis is open or the next one is not among `stops`; the first is always taken.
std::string_view Segment(std::string_view text, std::size_t pos, std::string_view stops);

}  // namespace kq
