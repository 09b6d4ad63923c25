// The calculator session, keypad editing and the `calc` verb.
#include <gtest/gtest.h>

#include <sstream>

#include "calc/calc_session.h"
#include "calc/keypad_editing.h"

namespace kq {
namespace {

TEST(CalcSession, EvaluatesIntoTheOtherField) {
    CalcSession s;
    EXPECT_EQ(s.ActiveField(), 1);
    auto o = s.Evaluate("2*3");
    EXPECT_EQ(o.source, 1);
    EXPECT_EQ(o.target, 2);
    EXPECT_EQ(o.result.text, "6");
    EXPECT_EQ(s.ActiveField(), 2);
    // "=" again evaluates the result, with its suffix, back into the first field.
    s.Engine().SetBase(16);
    o = s.Evaluate("6");
    EXPECT_EQ(o.target, 1);
    EXPECT_EQ(o.result.text, "6h");
    o = s.Evaluate("6h*2");
    EXPECT_EQ(o.result.text, "Ch");
    ASSERT_EQ(s.Results().size(), 3u);
    EXPECT_EQ(s.Results()[0].caption, "6h*2  (=Ch)");
    EXPECT_EQ(s.Results()[0].name, "EmptyNo2");
    EXPECT_EQ(s.Results()[0].result, "Ch");
    EXPECT_EQ(s.Results()[2].caption, "2*3  (=6)");
}

TEST(CalcSession, FailuresAndEmptyTextStillMakeAnItem) {
    CalcSession s;
    auto o = s.Evaluate("");
    EXPECT_TRUE(o.result.ok);
    EXPECT_EQ(o.result.text, "0");
    o = s.Evaluate("ln(0)");
    EXPECT_FALSE(o.result.ok);
    EXPECT_EQ(s.Results()[0].caption, "ln(0)  (=)");
    EXPECT_EQ(s.Results()[0].result, "");
    EXPECT_EQ(s.Results()[1].caption, "  (=0)");
    s.ClearResults();
    EXPECT_TRUE(s.Results().empty());
    s.Evaluate("1");
    EXPECT_EQ(s.Results()[0].name, "EmptyNo2");  // the counter is not reset
}

// After a base change the last result is written again in the new base, as long as its
// field still holds it as written.
TEST(CalcSession, TheLastResultFollowsTheBase) {
    struct Step {
        int base;
        std::string field;     // what the result's field holds when the base changes
        std::string expected;  // the rewritten text, "" for none
    };
    CalcSession s;
    s.Evaluate("-10.25");
    ASSERT_EQ(s.LastResultField(), 2);
    for (const Step& k : {Step{16, "-10.25", "-A.4h"}, Step{2, "-A.4h", "-1010.01b"}, Step{8, "-10.25", ""},
                          Step{8, "-1010.01b", "-12.2o"}, Step{1, "-12.2o", ""}, Step{37, "-12.2o", ""},
                          Step{36, "-12.2o", "-A.9s36"}, Step{10, "-A.9s36", "-10.25"}}) {
        s.Engine().SetBase(k.base);
        const auto text = s.LastResultInBase(k.field);
        EXPECT_EQ(text.value_or(""), k.expected) << k.base << " " << k.field;
    }
    // A failure leaves no result behind.
    s.Evaluate("ln(0)");
    EXPECT_EQ(s.LastResultField(), 0);
    s.Engine().SetBase(16);
    EXPECT_FALSE(s.LastResultInBase(""));
    s.Evaluate("255");
    EXPECT_EQ(s.LastResultField(), 2);
    s.Engine().SetBase(10);
    EXPECT_EQ(s.LastResultInBase("FFh").value_or(""), "255");
}

// The command line keeps no list: a million lines cost the same memory as one.
TEST(CalcSession, WithoutAListNothingAccumulates) {
    CalcSession s;
    s.SetKeepResults(false);
    for (int i = 0; i < 1000; ++i) s.Evaluate(std::to_string(i));
    EXPECT_TRUE(s.Results().empty());
    EXPECT_EQ(s.Counter(), 1000);
}

// The live line agrees with what "=" then writes, in every base, and records nothing.
TEST(CalcSession, ThePreviewIsWhatEqualsWouldWrite) {
    const struct {
        const char* text;
        int base;
    } cases[] = {{"255", 16}, {"-5", 2},    {"0.5", 2},    {"10", 5}, {"2*3+1", 10},
                 {"1/0", 10}, {"sin(", 10}, {"ln(-1)", 8}, {"7", 1},  {"FFh+1", 10}};
    for (const auto& c : cases) {
        CalcSession s;
        s.Engine().SetBase(c.base);
        const CalcSession::LiveResult live = s.Preview(c.text);
        EXPECT_TRUE(s.Results().empty()) << c.text;
        EXPECT_EQ(s.Counter(), 0);
        EXPECT_EQ(s.ActiveField(), 1);
        const auto o = s.Evaluate(c.text);
        EXPECT_EQ(live.ok, o.result.ok) << c.text;
        if (live.ok)
            EXPECT_EQ(live.text, o.result.text) << c.text;
        else
            EXPECT_FALSE(live.text.empty()) << c.text;
    }
    CalcSession s;
    EXPECT_EQ(s.Preview("  ").text, "");
    EXPECT_EQ(s.Preview("7").text, "7");
    s.Engine().SetBase(0);
    EXPECT_EQ(s.Preview("7").text, "Основание системы счисления должно быть целым числом от 2 до 36");
}

TEST(CalcSession, AnItemKeepsItsExpression) {
    CalcSession s;
    s.Evaluate("2+2");
    EXPECT_EQ(s.Results().front().source, "2+2");
    EXPECT_EQ(s.Results().front().result, "4");
}

TEST(CalcSession, LeadingInteger) {
    EXPECT_EQ(LeadingInteger("5"), 5);
    EXPECT_EQ(LeadingInteger("  -12abc"), -12);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(KeypadEditing, WrapsTheSelection) {
    EXPECT_EQ(WrapSelection("abcde", 2, 3, "sin("), "absin(cde)");
    EXPECT_EQ(WrapSelection("x+1", 0, 3, "("), "(x+1)");
    EXPECT_EQ(WrapSelection("12", 0, 0, "("), "12(");
    EXPECT_EQ(WrapSelection("12", 1, 0, "ln("), "12ln(");
    EXPECT_EQ(WrapSelection("12", 5, 9, "ln("), "12ln(");  // a stale selection is clamped
    EXPECT_EQ(AppendKey("12", "00"), "1200");
}

}  // namespace
}  // namespace kq
