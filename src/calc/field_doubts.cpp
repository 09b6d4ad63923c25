#include "calc/field_doubts.h"

#include <algorithm>

#include "engine/diagnose.h"

namespace kq {
namespace {

// The engine counts bytes of UTF-8; a person counts characters.
std::size_t CharacterAt(const std::string& text, std::size_t byte) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(byte, text.size()));
    return static_cast<std::size_t>(
        std::count_if(text.begin(), end, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::vector<FieldDoubt> FieldDoubts(const std::string& first, const std::string& second) {
    std::vector<FieldDoubt> doubts;
    int field = 1;
    for (const std::string* text : {&first, &second}) {
        for (const Diagnostic& d : Diagnose(*text))
            doubts.push_back({field, CharacterAt(*text, d.position) + 1, d.message});
        ++field;
    }
    return doubts;
}

std::string DoubtText(const FieldDoubt& doubt) {
    return "Поле " + std::to_string(doubt.field) + ", символ " + std::to_string(doubt.character) + ": " + doubt.message;
}

}  // namespace kq
