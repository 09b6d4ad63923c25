#include "calc/keypad_editing.h"

#include <algorithm>

namespace kq {

std::string AppendKey(const std::string& text, std::string_view inserted) { return text + std::string(inserted); }

std::string WrapSelection(const std::string& text, int start, int length, std::string_view function) {
    const int size = static_cast<int>(text.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (length == 0) return AppendKey(text, function);
    return text.substr(0, start) + std::string(function) + text.substr(start, length) + ")" + text.substr(start + length);
}

}  // namespace kq
