// The calculator page's pixel arithmetic: where the keypad block and the two fields go.
#pragma once

namespace kq {

struct Offset {
    int left = 0, top = 0;
};

// The keypad block (417 x 361) centred in the page control, 113 pixels lower; C++'s integer
// division truncates toward zero, as the layout wants for pages smaller than the block.
inline Offset FullPanelOffset(int pagesWidth, int pagesHeight) {
    return {(pagesWidth - 417) / 2, (pagesHeight - 361) / 2 + 113};
}

// The width of each calculator field: 82.3% of the panel that holds them, truncated.
inline int CalcFieldWidth(int panelWidth) { return static_cast<int>(panelWidth * 0.01 * 82.3); }

}  // namespace kq
