// Each formula's values at the columns of the view it was last drawn in: a frame evaluates
// only the formulas whose text, view, size or modes changed since the frame before.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/eval_status.h"
#include "plot/view_rect.h"

namespace kq {

// Everything a formula's column values depend on; |y| mode is in it too, so that a change of
// it never shows values from before.
struct ColumnKey {
    std::string formula;
    ViewRect view;
    int columns = 0;  // sampling columns, the one beyond the last included
    bool degrees = false;
    int rounding = -1;
    bool absolute = false;
    bool exact = false;
    friend bool operator==(const ColumnKey&, const ColumnKey&) = default;
};

// One step of a drawn curve: a MoveTo or a LineTo.
struct CurveStep {
    int x = 0, y = 0;
    bool line = false;
    friend bool operator==(const CurveStep&, const CurveStep&) = default;
};

struct FormulaColumns {
    std::vector<long double> values;
    std::vector<EvalStatus> statuses;
    std::vector<char> defined;  // statuses[k] == Ok
    // The curve these values make on a canvas `strokeRows` high (-1: not drawn yet), both
    // passes in |y| mode; the columns alone decide the rest.
    std::vector<CurveStep> strokes;
    int strokeRows = -1;
};

class ColumnCache {
public:
    // The columns kept under `key`, or nullptr; found ones are kept through this frame.
    FormulaColumns* Find(const ColumnKey& key);
    // A new entry for `key`, to be filled; it stays valid until EndFrame.
    FormulaColumns& Add(ColumnKey key);
    // Drops every entry that was neither found nor added since the last EndFrame: what
    // the frame did not draw is not kept.
    void EndFrame();
    void Clear() { entries_.clear(); }
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        ColumnKey key;
        FormulaColumns columns;
        bool used = true;
    };
    std::vector<std::unique_ptr<Entry>> entries_;  // the columns never move while others are added
};

}  // namespace kq
