#include "plot/plane_model.h"

#include <algorithm>

#include "plot/curve_palette.h"
#include "plot/range_text.h"
#include "plot/view_zoom.h"

namespace kq {
namespace {

const char* const kStartList[] = {"sin(x)",   "cos(x)",      "tg(x)",     "sec(x)",     "arcsin(x)",       "arctg(x)",
                                  "ln(x)",    "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x"};
const char* const kResetList[] = {"sin(x)", "cos(x)", "tg(x)"};

}  // namespace

std::span<const char* const> PlaneModel::StartList() { return kStartList; }
std::span<const char* const> PlaneModel::ResetList() { return kResetList; }

PlaneModel::PlaneModel() {
    for (const char* text : kStartList) list_.push_back({text});
}

void PlaneModel::Listen(Listener listener) { listeners_.push_back(std::move(listener)); }

void PlaneModel::Tell(PlaneChange::Kind kind, int entry) {
    const PlaneChange change{kind, entry};
    for (const Listener& listener : listeners_) listener(change);
}

void PlaneModel::SetFormula(const std::string& text) {
    if (text == formula_) return;
    formula_ = text;
    Tell(PlaneChange::Formula);
}

std::vector<std::string> PlaneModel::ListTexts() const {
    std::vector<std::string> texts;
    for (const ListEntry& e : list_) texts.push_back(e.text);
    return texts;
}

std::vector<bool> PlaneModel::Ticks() const {
    std::vector<bool> ticks;
    for (const ListEntry& e : list_) ticks.push_back(e.ticked);
    return ticks;
}

void PlaneModel::InsertEntry(int index, const std::string& text) {
    index = std::clamp(index, 0, static_cast<int>(list_.size()));
    list_.insert(list_.begin() + index, ListEntry{text});
    Tell(PlaneChange::EntryInserted, index);
}

void PlaneModel::RemoveEntry(int index) {
    if (index < 0 || index >= static_cast<int>(list_.size())) return;
    list_.erase(list_.begin() + index);
    Tell(PlaneChange::EntryRemoved, index);
}

void PlaneModel::SetTicked(int index, bool ticked) {
    if (index < 0 || index >= static_cast<int>(list_.size()) || list_[index].ticked == ticked) return;
    list_[index].ticked = ticked;
    Tell(PlaneChange::EntryTicked, index);
}

void PlaneModel::ReplaceList(const std::vector<std::string>& texts) {
    list_.clear();
    for (const std::string& text : texts) list_.push_back({text});
    Tell(PlaneChange::ListReplaced);
}

void PlaneModel::ReplaceEntries(const std::vector<ListEntry>& entries) {
    list_ = entries;
    Tell(PlaneChange::ListReplaced);
}

void PlaneModel::GiveColours(const std::vector<int>& drawn) {
    std::vector<int> ticked, others;
    for (int i = 0; i < static_cast<int>(list_.size()); ++i) {
        const int slot = list_[i].colourSlot;
        if (slot == 0) continue;
        (std::find(drawn.begin(), drawn.end(), i) != drawn.end() ? ticked : others).push_back(slot);
    }
    for (int index : drawn) {
        if (index < 0 || index >= static_cast<int>(list_.size()) || list_[index].colourSlot != 0) continue;
        const int slot = FreeColourSlot(ticked, others);
        list_[index].colourSlot = slot;
        ticked.push_back(slot);
        Tell(PlaneChange::EntryColoured, index);
    }
}

ViewRect PlaneModel::Fitted(ViewRect view) const {
    if (!oneToOne_) return view;
    // Equal bounds are pulled apart even where the canvas gives no aspect yet.
    const auto fitted = kq::OneToOne(view, canvasWidth_, canvasHeight_);
    return fitted ? *fitted : view;
}

void PlaneModel::Assign(const ViewRect& view) {
    if (view == view_) return;
    view_ = view;
    Tell(PlaneChange::View);
}

void PlaneModel::SetView(const ViewRect& view) { Assign(Fitted(view)); }

void PlaneModel::SetDrawnView(const ViewRect& view) { Assign(view); }

void PlaneModel::SetCanvas(int width, int height) {
    if (width == canvasWidth_ && height == canvasHeight_) return;
    canvasWidth_ = width;
    canvasHeight_ = height;
    Assign(Fitted(view_));
}

void PlaneModel::SetAbsoluteMode(bool on) {
    if (on == absolute_) return;
    absolute_ = on;
    Tell(PlaneChange::AbsoluteMode);
}

void PlaneModel::SetOneToOne(bool on) {
    if (on == oneToOne_) return;
    oneToOne_ = on;
    Tell(PlaneChange::OneToOne);
    ViewRect view = Fitted(view_);
    // Leaving 1:1, the x editors are the user's again and keep what they show: the derived
    // x range becomes the one they hold.
    if (!on) {
        const ViewRect shown = AsRangeEditorsShow(view);
        view.xmin = shown.xmin;
        view.xmax = shown.xmax;
    }
    Assign(view);
}

void PlaneModel::Reset() {
    SetFormula(kStartFormula);
    ReplaceList(std::vector<std::string>(std::begin(kResetList), std::end(kResetList)));
}

ViewRect AsRangeEditorsShow(const ViewRect& view) {
    const auto shown = [](long double v) { return ReadRange(WriteRange(v)); };
    return {shown(view.xmin), shown(view.xmax), shown(view.ymin), shown(view.ymax)};
}

}  // namespace kq
