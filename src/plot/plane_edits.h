// Changes of the "Графики" page's formula and list as a whole, kept so they can be taken
// back: what the page held before and after, and which of the two the change touched.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plot/plane_model.h"

namespace kq {

struct PlaneContent {
    std::string formula;
    std::vector<ListEntry> list;
    friend bool operator==(const PlaneContent&, const PlaneContent&) = default;
};

enum class ContentPart { Formula = 1, List = 2, Both = 3 };

PlaneContent ContentOf(const PlaneModel& model);

// One change: taking it back puts `before` into the parts it touched, doing it again `after`.
struct PlaneEdit {
    PlaneContent before, after;
    ContentPart parts = ContentPart::Both;

    bool ChangesAnything() const;
    void Undo(PlaneModel& model) const;
    void Redo(PlaneModel& model) const;
};

// Why "+>>" does not add `text` to `list` (Russian, for the status line); nothing when it may.
std::optional<std::string> WhyNotAdded(const std::vector<ListEntry>& list, const std::string& text);

// The list with entry `from` moved to `to`, ticks and colours going with it; the list as it
// is when either index is outside it.
std::vector<ListEntry> MovedEntry(std::vector<ListEntry> list, int from, int to);

// The list with entry `index` holding `text`, keeping its tick and colour.
std::vector<ListEntry> EditedEntry(std::vector<ListEntry> list, int index, const std::string& text);

}  // namespace kq
