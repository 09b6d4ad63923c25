#include "calc/field_doubts.h"

#include "engine/diagnose.h"

namespace kq {
std::vector<FieldDoubt> FieldDoubts(const std::string& first, const std::string& second) {
    std::vector<FieldDoubt> doubts;
    int field = 1;
    for (const std::string* text : {&first, &second}) {
        for (const Diagnostic& d : Diagnose(*text)) doubts.push_back({field, CharacterNumber(*text, d), d.message});
        ++field;
    }
    return doubts;
}

std::string DoubtText(const FieldDoubt& doubt) {
    return "Поле " + std::to_string(doubt.field) + ", символ " + std::to_string(doubt.character) + ": " + doubt.message;
}

}  // namespace kq
