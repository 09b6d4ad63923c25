// What the "Графики" page shows, as plain values: the main formula, the list of formulas with
// each entry's tick and colour, the view, the |y| mode and the 1:1 mode. The page owns it and
// shows it; the menu commands and the workplace code read and change it through these
// functions, and every change is told to the listeners with what it touched.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "plot/view_rect.h"

namespace kq {

struct ListEntry {
    std::string text;
    bool ticked = false;
    // The palette slot of the entry's curve (ListCurveColour), given the first time it is
    // drawn and kept while the entry exists; 0 until then.
    int colourSlot = 0;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// One change: what it touched, and for a list entry which one (its index after the change;
// for a removed entry the index it had).
struct PlaneChange {
    enum Kind { Formula, View, AbsoluteMode, OneToOne, EntryInserted, EntryRemoved, EntryTicked, EntryColoured, ListReplaced };
    Kind kind;
    int entry = -1;
};

class PlaneModel {
public:
    using Listener = std::function<void(const PlaneChange&)>;

    // A new page: the examples' formula and list, the view x from -10 to 10 and y from -5 to 5,
    // 1:1 on.
    static constexpr const char* kStartFormula = "cos(x^2-3)";
    static std::span<const char* const> StartList();
    // What "Создать" brings back: the formula above and a short list.
    static std::span<const char* const> ResetList();
    static constexpr ViewRect kStartView{-10, 10, -5, 5};

    PlaneModel();

    // Called after every change, in the order the listeners came; they live as long as the model.
    void Listen(Listener listener);

    const std::string& Formula() const { return formula_; }
    void SetFormula(const std::string& text);

    const std::vector<ListEntry>& List() const { return list_; }
    std::vector<std::string> ListTexts() const;
    std::vector<bool> Ticks() const;
    // A new entry, unticked and without a colour, at `index` (0 the top).
    void InsertEntry(int index, const std::string& text);
    void RemoveEntry(int index);
    void SetTicked(int index, bool ticked);
    // The list becomes `texts`, none ticked, none with a colour.
    void ReplaceList(const std::vector<std::string>& texts);
    // The list becomes `entries`, ticks and colours as they are there (taking a change back).
    void ReplaceEntries(const std::vector<ListEntry>& entries);
    // Every entry of `drawn` (indices) without a colour gets one that none of the other
    // entries' has, ticked ones first (FreeColourSlot).
    void GiveColours(const std::vector<int>& drawn);

    const ViewRect& View() const { return view_; }
    // The view as given; in 1:1 mode its x range then follows the y range on the canvas.
    void SetView(const ViewRect& view);
    // A rectangle drawn on the canvas: taken exactly even in 1:1 mode, whose aspect it already has.
    void SetDrawnView(const ViewRect& view);
    // The size of the screen's graph; in 1:1 mode a new shape widens or narrows x again. The
    // 1:1 rule waits for a canvas with both sides above zero.
    void SetCanvas(int width, int height);
    int CanvasWidth() const { return canvasWidth_; }
    int CanvasHeight() const { return canvasHeight_; }

    // |y| = f(x) instead of y = f(x).
    bool AbsoluteMode() const { return absolute_; }
    void SetAbsoluteMode(bool on);

    // A unit as long on both axes: x follows y and the canvas's aspect (OneToOne). Turned off,
    // the x range is the one the editors show.
    bool OneToOne() const { return oneToOne_; }
    void SetOneToOne(bool on);

    // "Создать": the start formula and the reset list; the view and the modes stay.
    void Reset();

private:
    void Tell(PlaneChange::Kind kind, int entry = -1);
    // The view with the 1:1 rule applied when it is on.
    ViewRect Fitted(ViewRect view) const;
    void Assign(const ViewRect& view);

    std::string formula_ = kStartFormula;
    std::vector<ListEntry> list_;
    ViewRect view_ = kStartView;
    bool absolute_ = false;
    bool oneToOne_ = true;
    int canvasWidth_ = 0, canvasHeight_ = 0;
    std::vector<Listener> listeners_;
};

// The view as the range editors show it: each bound with their 4 digits, read back.
ViewRect AsRangeEditorsShow(const ViewRect& view);

}  // namespace kq
