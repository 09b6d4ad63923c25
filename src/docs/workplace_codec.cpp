#include "docs/workplace_codec.h"

#include <string>

#include "docs/docs_texts.h"
#include "docs/text_encoding.h"

namespace kq {
namespace {

void Encode(const std::string& utf8, std::string& cp1251, const std::string& name, std::string& refusal) {
    std::string offending;
    if (auto text = Utf8ToCp1251(utf8, &offending)) {
        cp1251 = std::move(*text);
        return;
    }
    if (!refusal.empty()) refusal += '\n';
    refusal += offending.empty() ? FillMessage(kBadUtf8, {name}) : FillMessage(kNotInCodePage, {name, offending});
}

}  // namespace

WorkplaceBytes EncodeWorkplace(const Workplace& utf8) {
    Workplace file = utf8;
    std::string refusal;
    Encode(utf8.formula, file.formula, FieldName(0), refusal);
    for (std::size_t i = 0; i < utf8.list.size(); ++i) Encode(utf8.list[i], file.list[i], ListEntryName(i), refusal);
    Encode(utf8.firstLine, file.firstLine, FieldName(1), refusal);
    Encode(utf8.secondLine, file.secondLine, FieldName(2), refusal);
    WorkplaceBytes result = WorkplaceToBytes(file);
    if (!refusal.empty()) {
        result.bytes.clear();
        result.refusal = result.refusal.empty() ? refusal : refusal + '\n' + result.refusal;
    }
    return result;
}

std::optional<Workplace> DecodeWorkplace(std::span<const std::uint8_t> bytes, bool* damaged) {
    std::optional<Workplace> w = WorkplaceFromBytes(bytes, damaged);
    if (!w) return w;
    w->formula = Cp1251ToUtf8(w->formula);
    for (std::string& entry : w->list) entry = Cp1251ToUtf8(entry);
    w->firstLine = Cp1251ToUtf8(w->firstLine);
    w->secondLine = Cp1251ToUtf8(w->secondLine);
    return w;
}

}  // namespace kq
