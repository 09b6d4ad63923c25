// Which list formulas a click on the "Графики" page's list compiles, and whether it redraws or
// copies the entry's text into the formula editor.
#pragma once

#include <vector>

namespace kq {

// What a click on the formula list does, given the checked states now and at the last click.
class FormulaListState {
public:
    struct Click {
        bool recompile = false;    // hand `compile` to list translators 1, 2, ...
        std::vector<int> compile;  // the checked items in list order
        bool redraw = false;       // the selected item is or was checked
        bool copyText = false;     // the selected item only gets copied into the formula editor
    };

    Click OnClick(const std::vector<bool>& checked, int selected);
    void Forget();  // nothing checked, as at start-up
    int CheckedAtLastClick() const { return count_; }

private:
    std::vector<bool> checked_;
    int count_ = 0;
};

}  // namespace kq
