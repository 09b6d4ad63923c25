// The calculator page's pixel arithmetic: where the keypad block, its keys and the two fields go.
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

// Containers before the keys they hold.
// clang-format off
inline constexpr KeyCell kKeyCells[] = {
    {"Panel6", 0, 0, 2, 4}, {"Panel7", 2, 0, 1, 4},
    // sin cos tg ctg / sec csc asin acos / abs ln lg ( )
    {"SinKey", 0, 0}, {"CosKey", 0, 1}, {"TgKey", 0, 2}, {"CtgKey", 0, 3},
    {"SecKey", 1, 0}, {"CscKey", 1, 1}, {"AsinKey", 1, 2}, {"AcosKey", 1, 3},
    {"AbsKey", 2, 0}, {"LnKey", 2, 1}, {"LgKey", 2, 2}, {"SpeedButton12", 2, 3},
    {"BaseGroup", 3, 0, 4, 4},
    // 7 8 9 / C, 4 5 6 * =, 1 2 3 -, 0 00 , +
    {"SpeedButton15", 0, 4}, {"SpeedButton22", 0, 5}, {"SpeedButton23", 0, 6}, {"SpeedButton3", 0, 7},
    {"SpeedButton38", 0, 8},
    {"SpeedButton16", 1, 4}, {"SpeedButton21", 1, 5}, {"SpeedButton24", 1, 6}, {"SpeedButton4", 1, 7},
    {"DoThisButton", 1, 8, 3, 1},
    {"SpeedButton17", 2, 4}, {"SpeedButton20", 2, 5}, {"SpeedButton25", 2, 6}, {"SpeedButton5", 2, 7},
    {"SpeedButton18", 3, 4}, {"SpeedButton19", 3, 5}, {"SpeedButton26", 3, 6}, {"SpeedButton6", 3, 7},
    // A B C h b / D E F o s
    {"SpeedButton14", 4, 4}, {"SpeedButton27", 4, 5}, {"SpbC", 4, 6}, {"SpeedButton34", 4, 7},
    {"SpeedButton36", 4, 8},
    {"SpeedButton29", 5, 4}, {"SpeedButton30", 5, 5}, {"SpeedButton31", 5, 6}, {"SpeedButton35", 5, 7},
    {"SpeedButton37", 5, 8},
    {"ListOfResults", 6, 4, 1, 5},
};
// clang-format on

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
