#include "plot/list_clicks.h"

#include <algorithm>

namespace kq {

FormulaListState::Click FormulaListState::OnClick(const std::vector<bool>& checked, int selected) {
    Click click;
    const int count = static_cast<int>(std::count(checked.begin(), checked.end(), true));
    if (count != count_) {
        click.recompile = true;
        for (int i = 0; i < static_cast<int>(checked.size()); ++i)
            if (checked[i]) click.compile.push_back(i);
    }
    if (selected >= 0 && selected < static_cast<int>(checked.size())) {
        const bool wasChecked = selected < static_cast<int>(checked_.size()) && checked_[selected];
        if (checked[selected] || wasChecked)
            click.redraw = true;
        else
            click.copyText = true;
    }
    checked_ = checked;
    count_ = count;
    return click;
}

void FormulaListState::Forget() {
    checked_.clear();
    count_ = 0;
}

}  // namespace kq
