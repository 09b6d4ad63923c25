#include "plot/view_history.h"

namespace kq {

void ViewHistory::Start(const ViewRect& view) {
    views_.assign(1, view);
    current_ = 0;
    lastGesture_ = 0;
}

void ViewHistory::Record(const ViewRect& view, int gesture) {
    const bool sameGesture = gesture != 0 && gesture == lastGesture_ && current_ + 1 == views_.size();
    lastGesture_ = gesture;
    if (view == views_[current_]) return;
    if (sameGesture && current_ > 0) {
        views_[current_] = view;
        return;
    }
    views_.resize(current_ + 1);
    views_.push_back(view);
    if (views_.size() > kCapacity) views_.erase(views_.begin());
    current_ = views_.size() - 1;
}

void ViewHistory::Amend(const ViewRect& view) { views_[current_] = view; }

std::optional<ViewRect> ViewHistory::Back() {
    if (!CanGoBack()) return std::nullopt;
    lastGesture_ = 0;
    return views_[--current_];
}

std::optional<ViewRect> ViewHistory::Forward() {
    if (!CanGoForward()) return std::nullopt;
    lastGesture_ = 0;
    return views_[++current_];
}

}  // namespace kq
