// Where the calculator's keypad block, its keys and the fields go: plain arithmetic, no widgets.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calc/keypad_keys.h"
#include "calc/keypad_layout.h"

namespace kq {
namespace {

TEST(KeypadLayout, KeypadBlockAndFields) {
    EXPECT_EQ(FullPanelOffset(777, 561).left, 180);
    EXPECT_EQ(FullPanelOffset(777, 561).top, 213);
    // Smaller than the block: negative numerators truncate toward zero.
    EXPECT_EQ(FullPanelOffset(416, 360).left, 0);
    EXPECT_EQ(FullPanelOffset(416, 360).top, 113);
    EXPECT_EQ(FullPanelOffset(400, 300).left, -8);
    EXPECT_EQ(FullPanelOffset(400, 300).top, 83);
    EXPECT_EQ(CalcFieldWidth(500), 411);
    EXPECT_EQ(CalcFieldWidth(734), 604);
    EXPECT_EQ(CalcFieldWidth(0), 0);
}

TEST(KeypadLayout, GridFitsTheBlockAndTheRoom) {
    struct Case {
        int roomWidth, roomHeight, cellWidth, cellHeight, width, height;
    };
    for (const Case& c : {Case{1000, 1000, 42, 48, 410, 360},  // the block's 417 x 361 at most
                          Case{417, 361, 42, 48, 410, 360}, Case{433, 253, 42, 32, 410, 248},
                          Case{300, 200, 34, 25, 338, 199},  // never narrower than a caption needs
                          Case{0, 0, 34, 22, 338, 178}}) {
        const KeyGrid g = FitKeyGrid(c.roomWidth, c.roomHeight);
        EXPECT_EQ(g.cellWidth, c.cellWidth) << c.roomWidth;
        EXPECT_EQ(g.cellHeight, c.cellHeight) << c.roomHeight;
        EXPECT_EQ(g.Width(), c.width);
        EXPECT_EQ(g.Height(), c.height);
    }
    const KeyGrid g{42, 48};
    const Rect equals = g.Cell({"DoThisButton", 1, 8, 3, 1});
    EXPECT_EQ(equals.left, 368);
    EXPECT_EQ(equals.top, 52);
    EXPECT_EQ(equals.width, 42);
    EXPECT_EQ(equals.height, 152);
}

// Every cell of the 9 x 7 grid holds exactly one control; panels hold the keys inside them.
TEST(KeypadLayout, EveryCellHoldsOneControl) {
    int owner[kKeyRows][kKeyColumns] = {};
    std::set<std::string> names;
    const std::set<std::string> panels = {"Panel6", "Panel7"};
    for (const KeyCell& k : kKeyCells) {
        EXPECT_TRUE(names.insert(k.name).second) << k.name;
        if (panels.count(k.name)) continue;
        for (int r = k.row; r < k.row + k.rowSpan; ++r)
            for (int col = k.column; col < k.column + k.columnSpan; ++col) {
                ASSERT_TRUE(r < kKeyRows && col < kKeyColumns) << k.name;
                ++owner[r][col];
            }
    }
    for (int r = 0; r < kKeyRows; ++r)
        for (int col = 0; col < kKeyColumns; ++col) EXPECT_EQ(owner[r][col], 1) << "row " << r << " column " << col;
    // 2 panels, 12 function keys, the base group, 26 character keys, "C", "=" and the list.
    EXPECT_EQ(names.size(), 44u);
}

// The key table says all a key is: a caption, what the typing keys put in, a panel of the
// block that exists.
TEST(KeypadLayout, EveryKeySaysWhatItDoes) {
    std::set<std::string> panels;
    for (const KeyCell& c : kBlockCells) panels.insert(c.name);
    int typing = 0;
    for (const Key& k : kKeys) {
        EXPECT_NE(*k.caption, '\0') << k.cell.name;
        const bool types = k.action == KeyAction::Type || k.action == KeyAction::Wrap;
        EXPECT_EQ(*k.typed != '\0', types) << k.cell.name;
        typing += types;
        if (*k.panel) {
            EXPECT_TRUE(panels.count(k.panel)) << k.cell.name;
        }
        // A function key types its caption and the bracket that opens its argument.
        if (k.action == KeyAction::Wrap && std::string(k.caption) != "( )") {
            EXPECT_EQ(std::string(k.typed), std::string(k.caption) + "(") << k.cell.name;
        }
    }
    EXPECT_EQ(typing, 38);
}

}  // namespace
}  // namespace kq
