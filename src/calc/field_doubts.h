// The line under the calculator's two fields: what the engine would silently do with either
// field's text ("Поле 1, символ 3: неизвестное слово «sinx» считается нулём").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kq {

struct FieldDoubt {
    int field;              // 1 or 2
    std::size_t character;  // 1-based, in characters of the text as typed
    std::string message;    // the engine's, in Russian
};

// The doubts about the first field's text, then the second's, each in order of position.
std::vector<FieldDoubt> FieldDoubts(const std::string& first, const std::string& second);

// One doubt as the line shows it.
std::string DoubtText(const FieldDoubt& doubt);

}  // namespace kq
