// The views the plane graph has shown, for "Назад" and "Вперёд": a line of views with the
// current one marked; a new view after going back drops the ones ahead of it.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "plot/view_rect.h"

namespace kq {

class ViewHistory {
public:
    // How many views are kept; the oldest go first.
    static constexpr std::size_t kCapacity = 200;

    // The view the graph starts with, the only one remembered.
    void Start(const ViewRect& view);
    // A new view. With a nonzero `gesture` equal to the last one's, the view replaces the
    // last one instead (one drag, one touchpad scroll, typing in one editor is one step).
    // A view equal to the current one is no step.
    void Record(const ViewRect& view, int gesture = 0);
    // The current view changed without being a step of its own (the canvas's shape).
    void Amend(const ViewRect& view);

    bool CanGoBack() const { return current_ > 0; }
    bool CanGoForward() const { return current_ + 1 < views_.size(); }
    // The view to show; nothing at either end.
    std::optional<ViewRect> Back();
    std::optional<ViewRect> Forward();

    std::size_t Size() const { return views_.size(); }
    std::size_t Current() const { return current_; }

private:
    std::vector<ViewRect> views_{ViewRect{}};
    std::size_t current_ = 0;
    int lastGesture_ = 0;
};

}  // namespace kq
