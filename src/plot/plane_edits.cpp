#include "plot/plane_edits.h"

#include <algorithm>

namespace kq {
namespace {

bool Has(ContentPart parts, ContentPart part) { return (static_cast<int>(parts) & static_cast<int>(part)) != 0; }

void Put(PlaneModel& model, const PlaneContent& content, ContentPart parts) {
    // The list first: a formula set afterwards is the one the graph is left drawing.
    if (Has(parts, ContentPart::List) && model.List() != content.list) model.ReplaceEntries(content.list);
    if (Has(parts, ContentPart::Formula)) model.SetFormula(content.formula);
}

bool Blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

PlaneContent ContentOf(const PlaneModel& model) { return {model.Formula(), model.List()}; }

bool PlaneEdit::ChangesAnything() const {
    return (Has(parts, ContentPart::Formula) && before.formula != after.formula) ||
           (Has(parts, ContentPart::List) && before.list != after.list);
}

void PlaneEdit::Undo(PlaneModel& model) const { Put(model, before, parts); }
void PlaneEdit::Redo(PlaneModel& model) const { Put(model, after, parts); }

std::optional<std::string> WhyNotAdded(const std::vector<ListEntry>& list, const std::string& text) {
    if (Blank(text)) return "Пустая формула в список не добавляется";
    const bool present = std::any_of(list.begin(), list.end(), [&](const ListEntry& e) { return e.text == text; });
    if (present) return "Формула «" + text + "» уже есть в списке";
    return std::nullopt;
}

std::vector<ListEntry> MovedEntry(std::vector<ListEntry> list, int from, int to) {
    const int n = static_cast<int>(list.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return list;
    const ListEntry moved = list[from];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, moved);
    return list;
}

std::vector<ListEntry> EditedEntry(std::vector<ListEntry> list, int index, const std::string& text) {
    if (index >= 0 && index < static_cast<int>(list.size())) list[index].text = text;
    return list;
}

}  // namespace kq
