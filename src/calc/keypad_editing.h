// What the keypad does to a field's text: keys append at the end; function keys wrap the
// selection ("sin" over "x+1" makes "sin(x+1)").
#pragma once

#include <string>
#include <string_view>

namespace kq {

// Text after appending `inserted` at the end.
std::string AppendKey(const std::string& text, std::string_view inserted);

// Text after a function key: with a selection [start, start + length) it becomes
// before + function + selection + ")" + after; without one the function text is appended.
std::string WrapSelection(const std::string& text, int start, int length, std::string_view function);

}  // namespace kq
