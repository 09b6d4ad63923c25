// Where a window that remembers its place may go: a saved place is brought onto a screen
// that exists now, so a changed monitor or a damaged value never hides or bloats the window.
#pragma once

#include <vector>

namespace kq {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// The saved box moved and shrunk into the available area of the screen that holds most of
// it (the first screen, the primary one, when none does), never smaller than the minimum
// size (unless the screen itself is smaller). Works in 64 bits: any int may come in.
Box FitOnScreen(const Box& saved, int minimumWidth, int minimumHeight, const std::vector<Box>& screens);

}  // namespace kq
