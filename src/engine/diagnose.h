// What the engine would silently do with a doubtful formula text: an unclosed or stray bracket,
// bar or macro angle bracket, an unknown word counted as 0, an operator with nothing after it, a
// number with letters after it read as the number alone, a function without an argument. It
// only says how the text is read; evaluation is not changed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

struct Diagnostic {
    std::size_t position;  // 0-based byte offset in the text as typed
    std::string message;   // Russian, UTF-8
};

// The doubts about `text`, in order of position; empty when the text is clean.
std::vector<Diagnostic> Diagnose(std::string_view text);

// The 1-based number of the character a diagnostic points at: positions count bytes of UTF-8,
// a person counts characters.
std::size_t CharacterNumber(std::string_view text, const Diagnostic& d);

}  // namespace kq
