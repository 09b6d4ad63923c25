// The calculator page's pixel arithmetic: where the keypad block, its keys and the two fields go.
// The keys themselves and their cells are in keypad_keys.h.
#pragma once

#include <algorithm>

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

// One control of the keypad on its grid of 9 columns (4 of function keys, 5 of digits) and 7
// rows. A key inside `Panel6` or `Panel7` is still given in the block's grid.
struct KeyCell {
    const char* name;  // the control's objectName
    int row, column, rowSpan = 1, columnSpan = 1;
};

inline constexpr int kKeyColumns = 9;
inline constexpr int kKeyRows = 7;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Equal cells with equal gaps between them.
struct KeyGrid {
    static constexpr int kGap = 4;
    // Cells never shrink below what a key's caption needs.
    static constexpr int kLeastWidth = 34, kLeastHeight = 22;

    int cellWidth = 0, cellHeight = 0;

    int Width() const { return kKeyColumns * cellWidth + (kKeyColumns - 1) * kGap; }
    int Height() const { return kKeyRows * cellHeight + (kKeyRows - 1) * kGap; }

    Rect Cell(const KeyCell& c) const {
        return {c.column * (cellWidth + kGap), c.row * (cellHeight + kGap),
                c.columnSpan * cellWidth + (c.columnSpan - 1) * kGap, c.rowSpan * cellHeight + (c.rowSpan - 1) * kGap};
    }
};

// The largest grid that fits the block's 417 x 361 and the room there is.
inline KeyGrid FitKeyGrid(int roomWidth, int roomHeight) {
    const int width = std::min(417, roomWidth), height = std::min(361, roomHeight);
    return {std::max(KeyGrid::kLeastWidth, (width - (kKeyColumns - 1) * KeyGrid::kGap) / kKeyColumns),
            std::max(KeyGrid::kLeastHeight, (height - (kKeyRows - 1) * KeyGrid::kGap) / kKeyRows)};
}

}  // namespace kq
