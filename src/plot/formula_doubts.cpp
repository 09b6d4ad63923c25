#include "plot/formula_doubts.h"

#include "engine/diagnose.h"

namespace kq {

std::string FormulaDoubts(std::string_view text) {
    std::string line;
    for (const Diagnostic& d : Diagnose(text))
        line +=
            (line.empty() ? "Позиция " : "; позиция ") + std::to_string(CharacterNumber(text, d)) + ": " + d.message;
    return line;
}

}  // namespace kq
