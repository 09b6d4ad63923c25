// The "Графики" page's model: what it starts with, what each change does and tells, and the
// 1:1 rule kept by the model itself.
#include <gtest/gtest.h>

#include "plot/plane_model.h"
#include "plot/view_zoom.h"

namespace kq {
namespace {

// Every change the model tells, as "kind entry".
struct Heard {
    explicit Heard(PlaneModel& m) {
        m.Listen([this](const PlaneChange& c) { changes.push_back({c.kind, c.entry}); });
    }
    std::vector<std::pair<PlaneChange::Kind, int>> changes;
};

TEST(PlaneModel, StartsAsANewPage) {
    const PlaneModel m;
    EXPECT_EQ(m.Formula(), "cos(x^2-3)");
    ASSERT_EQ(m.List().size(), PlaneModel::StartList().size());
    EXPECT_EQ(m.List()[7].text, "log<x>(2*x)");
    for (const ListEntry& e : m.List()) EXPECT_TRUE(!e.ticked && e.colourSlot == 0) << e.text;
    EXPECT_EQ(m.View(), (ViewRect{-10, 10, -5, 5}));
    EXPECT_TRUE(m.OneToOne());
    EXPECT_FALSE(m.AbsoluteMode());
}

TEST(PlaneModel, EachChangeIsToldOnceAndOnlyWhenSomethingChanged) {
    PlaneModel m;
    Heard heard(m);
    m.SetFormula("x");
    m.SetFormula("x");
    m.SetAbsoluteMode(true);
    m.SetAbsoluteMode(true);
    m.InsertEntry(0, "x^2");
    m.SetTicked(0, true);
    m.SetTicked(0, true);
    m.SetTicked(99, true);  // no such entry
    m.RemoveEntry(3);
    m.RemoveEntry(-1);
    m.SetOneToOne(false);
    m.SetView({1, 2, 3, 4});
    m.SetView({1, 2, 3, 4});
    using C = PlaneChange;
    const std::vector<std::pair<C::Kind, int>> expected{{C::Formula, -1},      {C::AbsoluteMode, -1}, {C::EntryInserted, 0},
                                                        {C::EntryTicked, 0},   {C::EntryRemoved, 3},  {C::OneToOne, -1},
                                                        {C::View, -1}};
    EXPECT_EQ(heard.changes, expected);
    EXPECT_EQ(m.List()[0], (ListEntry{"x^2", true, 0}));
    EXPECT_EQ(m.List().size(), PlaneModel::StartList().size());
}

TEST(PlaneModel, ColoursBelongToEntries) {
    PlaneModel m;
    m.SetTicked(0, true);
    m.SetTicked(2, true);
    m.GiveColours({0, 2});
    const int a = m.List()[0].colourSlot, b = m.List()[2].colourSlot;
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    // Drawn again, or with another entry, an entry keeps its colour; the new one gets another.
    m.SetTicked(1, true);
    m.GiveColours({0, 1, 2});
    EXPECT_EQ(m.List()[0].colourSlot, a);
    EXPECT_EQ(m.List()[2].colourSlot, b);
    EXPECT_NE(m.List()[1].colourSlot, a);
    EXPECT_NE(m.List()[1].colourSlot, b);
    // An entry put above moves the rows, not the colours.
    m.InsertEntry(0, "x");
    EXPECT_EQ(m.List()[1].colourSlot, a);
    EXPECT_EQ(m.List()[0].colourSlot, 0);
    m.ReplaceList({"sin(x)", "cos(x)"});
    EXPECT_EQ(m.List(), (std::vector<ListEntry>{{"sin(x)"}, {"cos(x)"}}));
}

// In 1:1 mode x follows y and the canvas exactly, as OneToOne works it out: the 4 digits the
// editors show never come back into the view.
TEST(PlaneModel, OneToOneKeepsTheExactRange) {
    PlaneModel m;
    m.SetView({-10, 10, -2, 5});  // no canvas yet: nothing to follow
    EXPECT_EQ(m.View(), (ViewRect{-10, 10, -2, 5}));
    m.SetCanvas(400, 300);
    ViewRect expected{-10, 10, -2, 5};
    expected = *OneToOne(expected, 400, 300);
    EXPECT_EQ(m.View(), expected);
    EXPECT_NE(static_cast<double>(m.View().xmax), 4.667);
    // The canvas's shape moves x again; a drawn rectangle is taken as it is.
    m.SetCanvas(300, 300);
    EXPECT_EQ(m.View(), (ViewRect{-3.5L, 3.5L, -2, 5}));
    m.SetDrawnView({0.1L, 0.2L, 0.3L, 0.4L});
    EXPECT_EQ(m.View(), (ViewRect{0.1L, 0.2L, 0.3L, 0.4L}));
    // Off, the x range is what the editors showed, and y edits no longer move it.
    m.SetView({-1, 1, -1.23456L, 2});
    m.SetOneToOne(false);
    EXPECT_EQ(m.View(), (ViewRect{-1.617L, 1.617L, -1.23456L, 2}));
    m.SetView({-1, 1, 0, 5});
    EXPECT_EQ(m.View(), (ViewRect{-1, 1, 0, 5}));
    // On again, x follows at once.
    m.SetOneToOne(true);
    EXPECT_EQ(m.View(), (ViewRect{-2.5L, 2.5L, 0, 5}));
}

TEST(PlaneModel, ResetBringsBackTheFormulaAndTheShortList) {
    PlaneModel m;
    m.SetFormula("x");
    m.SetView({1, 2, 3, 4});
    m.SetOneToOne(false);
    m.SetAbsoluteMode(true);
    m.Reset();
    EXPECT_EQ(m.Formula(), "cos(x^2-3)");
    EXPECT_EQ(m.ListTexts(), (std::vector<std::string>{"sin(x)", "cos(x)", "tg(x)"}));
    EXPECT_TRUE(m.AbsoluteMode());  // the modes and the view stay
}

TEST(PlaneModel, RangesAsTheEditorsShowThem) {
    EXPECT_EQ(AsRangeEditorsShow({-3.14159L, 3.14159L, -0.000123456L, 12345.6L}),
              (ViewRect{-3.142L, 3.142L, -0.0001235L, 12350}));
}

}  // namespace
}  // namespace kq
