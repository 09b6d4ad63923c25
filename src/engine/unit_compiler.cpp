#include "engine/unit_compiler.h"

#include <cmath>

#include "engine/language_tables.h"
#include "engine/number_text.h"
#include "engine/special_points.h"

namespace kq {

std::unique_ptr<ExpressionList> UnitCompiler::CompileSum(std::string_view text, int depth) {
    const FormulaCuts cuts(text);
    cuts_ = &cuts;
    auto root = Sum(0, text.size(), depth, false);
    cuts_ = nullptr;
    return root;
}

std::unique_ptr<ExpressionList> UnitCompiler::Sum(std::size_t begin, std::size_t end, int depth, bool exponent) {
    auto list = std::make_unique<ExpressionList>();
    if (depth > kMaxDepth) {
        list->units.emplace_back().kind = OperandKind::TooDeep;
        return list;
    }
    // Counted first, so that a list of a million terms is one allocation of its exact size.
    std::size_t terms = 0;
    cuts_->ForEachTerm(begin, end, exponent, [&](std::size_t, std::size_t, std::size_t, bool) { ++terms; });
    list->units.reserve(terms);
    cuts_->ForEachTerm(begin, end, exponent,
                       [&](std::size_t, std::size_t termBegin, std::size_t termEnd, bool negative) {
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
    cuts_->ForEachFactor(begin, end, inExponent, [&](const FactorPiece&) { ++factors; });
    std::vector<OperationUnit> product;
    OperationUnit single;
    bool made = false;
    if (factors > 1) product.reserve(factors);
    cuts_->ForEachFactor(begin, end, inExponent, [&](const FactorPiece& piece) {
        OperationUnit unit;
        if (Factor(piece, depth, unit)) {
            unit.operation = piece.operation;
            if (factors > 1)
                product.push_back(std::move(unit));
            else
                single = std::move(unit);
            made = true;
        }
        if (piece.exponentEnd > piece.exponentBegin && made) {
            OperationUnit& last = factors > 1 ? product.back() : single;
            if (IsExponentName(cuts_->Text().substr(piece.exponentBegin, piece.exponentEnd - piece.exponentBegin))) {
                last.exponent = std::make_unique<ExpressionList>();
                last.exponent->units.emplace_back().value = std::exp(1.0L);
            } else {
                last.exponent = Sum(piece.exponentBegin, piece.exponentEnd, depth + 1, true);
            }
        }
    });
    if (factors > 1) {
        if (product.size() != 1 || product.front().operation != Operation::Add) {
            OperationUnit& wrapper = target.units.emplace_back();
            wrapper.negative = negative;
            if (!product.empty()) {
                wrapper.sub = std::make_unique<ExpressionList>();
                wrapper.sub->units = std::move(product);
            }
            return;
        }
        single = std::move(product.front());
    }
    if (!made) {
        target.units.emplace_back().negative = negative;  // a signed 0
        return;
    }
    single.negative = single.negative != negative;
    target.units.push_back(std::move(single));
}

bool UnitCompiler::Factor(const FactorPiece& piece, int depth, OperationUnit& unit) {
    const FactorShape shape = cuts_->Shape(piece);
    if (IsDirectTrig(shape.code)) specials_.SetPeriodic();
    if (shape.code == FunctionCode::None) {
        if (shape.open != FactorShape::kNone) {
            unit.sub = shape.close - shape.open >= 2 ? Sum(shape.open + 1, shape.close - 1, depth + 1, false)
                                                     : Sum(0, 0, depth + 1, false);
        } else {
            ReadOperand(cuts_->Text().substr(shape.begin, shape.end - shape.begin), unit);
        }
    } else {
        // "sin()" and a bare "sin" add no factor at all.
        if (shape.open == FactorShape::kNone || shape.close - shape.open <= 2) return false;
        unit = OperationUnit(shape.code, shape.n);
        unit.sub = Sum(shape.open + 1, shape.close - 1, depth + 1, false);
    }
    unit.negative = shape.negative;
    return true;
}

void UnitCompiler::ReadOperand(std::string_view text, OperationUnit& unit) {
    const LanguageName* name = NameOfFactor(text);
    if (!name) {
        unit.value = ReadNumberOperand(text);
        specials_.AddOperand(unit.value);
        return;
    }
    switch (name->kind) {
        case NameKind::VariableX:
            unit.kind = OperandKind::X;
            specials_.AddXOperand();
            break;
        case NameKind::VariableY: unit.kind = OperandKind::Y; break;
        case NameKind::Pi: unit.kind = OperandKind::Pi; break;
        case NameKind::EulerExponent: break;  // names an exponent, never a factor
    }
}

}  // namespace kq
