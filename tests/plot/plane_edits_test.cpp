// Taking back changes of the formula and the list: exactly what was there comes back, and
// only in the parts a change touched.
#include <gtest/gtest.h>

#include "plot/plane_edits.h"

namespace kq {
namespace {

TEST(PlaneEdit, UndoAndRedoRestoreTheListExactlyWithTicksAndColours) {
    PlaneModel model;
    model.SetTicked(2, true);
    model.GiveColours({2});
    const PlaneContent before = ContentOf(model);
    model.RemoveEntry(2);
    model.InsertEntry(0, "x^2");
    const PlaneEdit edit{before, ContentOf(model), ContentPart::List};
    ASSERT_TRUE(edit.ChangesAnything());
    edit.Undo(model);
    EXPECT_EQ(ContentOf(model), before);
    edit.Redo(model);
    EXPECT_EQ(ContentOf(model), edit.after);
}

TEST(PlaneEdit, TouchesOnlyItsParts) {
    PlaneModel model;
    const PlaneContent before = ContentOf(model);
    model.InsertEntry(0, "x");
    const PlaneEdit add{before, ContentOf(model), ContentPart::List};
    model.SetFormula("typed meanwhile");
    add.Undo(model);
    EXPECT_EQ(model.Formula(), "typed meanwhile");
    EXPECT_EQ(model.List(), before.list);
}

TEST(PlaneEdit, ResetIsTakenBackWhole) {
    PlaneModel model;
    model.SetFormula("x^3");
    const PlaneContent before = ContentOf(model);
    model.Reset();
    const PlaneEdit reset{before, ContentOf(model), ContentPart::Both};
    reset.Undo(model);
    EXPECT_EQ(ContentOf(model), before);
    reset.Redo(model);
    EXPECT_EQ(model.Formula(), PlaneModel::kStartFormula);
    EXPECT_EQ(model.List().size(), PlaneModel::ResetList().size());
}

TEST(PlaneEdit, NoChangeIsNoEdit) {
    PlaneModel model;
    const PlaneContent now = ContentOf(model);
    EXPECT_FALSE((PlaneEdit{now, now, ContentPart::Both}.ChangesAnything()));
    PlaneContent other = now;
    other.list.clear();
    EXPECT_FALSE((PlaneEdit{now, other, ContentPart::Formula}.ChangesAnything()));
}

TEST(WhyNotAdded, RefusesEmptyAndRepeatedFormulas) {
    const std::vector<ListEntry> list{{"sin(x)"}, {"cos(x)"}};
    const struct {
        const char* text;
        bool refused;
    } cases[] = {{"", true}, {"   ", true}, {"sin(x)", true}, {"cos(x)", true}, {"tg(x)", false}, {"sin(x) ", false}};
    for (const auto& c : cases) EXPECT_EQ(WhyNotAdded(list, c.text).has_value(), c.refused) << c.text;
    EXPECT_EQ(*WhyNotAdded(list, "sin(x)"), "Формула «sin(x)» уже есть в списке");
}

TEST(MovedEntry, CarriesTheTickAndColour) {
    const std::vector<ListEntry> list{{"a", false, 0}, {"b", true, 3}, {"c", false, 0}};
    const auto up = MovedEntry(list, 1, 0);
    EXPECT_EQ(up, (std::vector<ListEntry>{{"b", true, 3}, {"a", false, 0}, {"c", false, 0}}));
    EXPECT_EQ(MovedEntry(list, 2, 3), list);
    EXPECT_EQ(MovedEntry(list, -1, 0), list);
    EXPECT_EQ(EditedEntry(list, 1, "x")[1], (ListEntry{"x", true, 3}));
}

}  // namespace
}  // namespace kq
