// The line under a formula editor: what the engine would silently do with a doubtful text.
#pragma once

#include <string>
#include <string_view>

namespace kq {

// The line under the formula editor: what the engine would silently do with a doubtful text,
// each doubt after the position of its character (counted from 1, as a user counts),
// "Позиция 5: неизвестное слово «sinx» считается нулём; позиция 9: ..."; "" when clean.
std::string FormulaDoubts(std::string_view text);

}  // namespace kq
