// The text rewriting before compilation: bars, commas, blanks and macros.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/filter.h"
#include "filter_reference.h"
#include "long_text.h"

namespace kq {
namespace {

using test::Repeat;

std::string Joined(const std::string& piece, std::size_t times, const std::string& separator) {
    std::string text = piece;
    for (std::size_t i = 1; i < times; ++i) text += separator + piece;
    return text;
}

TEST(Filter, RewritesText) {
    const Filter f;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"log<x>(2*x)", "(lg(2*x)/lg(x))"},
        {"log<log<2>(x)>(y)", "(lg(y)/lg((lg(x)/lg(2))))"},
        {"pow<2>(x)", "((x)^(2))"},
        {"rtt<3>(x)", "((x)^(1/(3)))"},
        {"|x|", "(abs(x))"},
        {"|x-|y|+1|", "(abs(x-(abs(y))+1))"},
        {"3,5", "3.5"},
        {"1 - x", "1-x"},
        {" sin (x)\t", "sin(x)"},
        {"", ""},
        {"pow<2>(pow<3>(x))", "((((x)^(3)))^(2))"},
        {"2*pow<2>(x)+log<2>(x)", "2*((x)^(2))+(lg(x)/lg(2))"},
        {"|1,5|", "(abs(1.5))"},
        {"xpow<2>(3)", "x((3)^(2))"},  // names are found inside longer words
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(f.Apply(in), out) << in;
}

// Malformed input ends, and with exactly the text the rules give: an open pair with no close
// keeps "(abs(", a pass that ends inside brackets stops the passes, an argument that never
// closes runs to the end of the text and the character after ">" is dropped whatever it is.
TEST(Filter, RewritesMalformedInputByTheSameRules) {
    const Filter f;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"|", "(abs("},
        {"||", "(abs(|"},  // the second bar follows a bar: a nested opening
        {"|||", "(abs(||"},
        {"|(|", "(abs((|"},        // the inner bar lies inside a bracket of the pair
        {"))|x-|", "))(abs(x-|"},  // a second pass starts inside the open pair
        {")|)|)|", ")(abs()|)|"},  // it ends two brackets down: no second pass
        {"((((|", "(((((abs("},
        {"|x|y|z|", "(abs(x))y(abs(z))"},
        {"log<", "(lg()/lg())"},
        {"log<2>", "(lg()/lg(2))"},
        {"log<2>(", "(lg()/lg(2))"},
        {"log<2>x)", "(lg()/lg(2))"},   // "x" stands where "(" belongs and is dropped
        {"pow<<<>>(", "(()^(<<>>())"},  // "<<>>(" never closes the first "<"
        {"log<log<log<", "(lg()/lg((lg()/lg((lg()/lg())))))"},
        {"pow<1>(pow<2)", "(((()^(2)^(1))))"},  // the inner argument runs past the outer's end
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(f.Apply(in), out) << in;
}

TEST(Filter, MacroTableHoldsNine) {
    Filter f;
    EXPECT_EQ(f.MacroCount(), 3);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(f.DefineMacro("m" + std::to_string(i) + "x", "(%1+%2)"));
    EXPECT_EQ(f.MacroCount(), 9);
    EXPECT_FALSE(f.DefineMacro("add", "(%1+%2)"));  // the tenth is ignored
    EXPECT_EQ(f.MacroCount(), 9);
    EXPECT_EQ(f.Apply("add<1>(2)"), "add<1>(2)");
    EXPECT_EQ(f.Apply("m0x<1>(2)"), "(2+1)");
}

// The rewriting gives the text of the plain algorithm (every round rebuilding the text) on
// random texts made of the pieces that matter: macro names whole and split, brackets of both
// kinds, bars, operators, commas; with macros whose templates hold brackets, openings and
// empty parts.
TEST(Filter, AgreesWithThePlainAlgorithm) {
    Filter f;
    ASSERT_TRUE(f.DefineMacro("ab", "%2%1"));
    ASSERT_TRUE(f.DefineMacro("q", "[%1<%2>]"));
    ASSERT_TRUE(f.DefineMacro("z", "%1"));
    ASSERT_TRUE(f.DefineMacro("l", "(l<%1)"));
    const std::vector<std::string> pieces = {"pow<", "log<", "rtt<", "<",  ">",  "(",  ")",  "x",
                                             "2",    "|",    "-",    "+",  "*",  ",",  "po", "w<",
                                             "ab<",  "q<",   "z<",   "l<", ">(", "lo", "g",  " "};
    std::mt19937 random(2026);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, n % 3 == 0 ? 40 : 12)(random);
        for (int i = 0; i < length; ++i)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        ASSERT_EQ(f.Apply(text), test::ReferenceApply(f, text)) << text;
    }
}

// Every character of the compiled text leads back to the character typed, or to the bar or
// the macro name that put it there.
TEST(Filter, OriginsLeadBackToTheTypedText) {
    const Filter f;
    constexpr std::uint32_t kIn = Filter::kInserted;
    std::vector<std::uint32_t> origins;
    EXPECT_EQ(f.Apply("log<x>(2 * y)", origins), "(lg(2*y)/lg(x))");
    EXPECT_EQ(origins, (std::vector<std::uint32_t>{kIn, kIn, kIn, kIn, 7, 9, 11, kIn, kIn, kIn, kIn, kIn, 4, kIn,
                                                   kIn}));
    EXPECT_EQ(f.Apply(" |x|,5", origins), "(abs(x)).5");
    EXPECT_EQ(origins, (std::vector<std::uint32_t>{1 | kIn, 1 | kIn, 1 | kIn, 1 | kIn, 1 | kIn, 2, 3 | kIn, 3 | kIn,
                                                   4, 5}));

    const std::vector<std::string> pieces = {"pow<", "log<", "rtt<", "<", ">", "(", ")", "x", "2", "|", "-", "+",
                                             "*",    ",",    " ",    ">(", "po", "w<"};
    std::mt19937 random(11);
    for (int n = 0; n < 5000; ++n) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 30)(random);
        for (int i = 0; i < length; ++i)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        const std::string compiled = f.Apply(text, origins);
        ASSERT_EQ(compiled, f.Apply(text)) << text;
        ASSERT_EQ(origins.size(), compiled.size()) << text;
        for (std::size_t i = 0; i < compiled.size(); ++i) {
            const std::uint32_t at = origins[i] & ~kIn;
            ASSERT_LT(at, text.size()) << text;
            if (origins[i] & kIn) {
                std::string name;  // what was typed from there on, blanks dropped
                for (std::size_t j = at; j < text.size() && name.size() < 4; ++j)
                    if (text[j] != ' ') name += text[j];
                EXPECT_TRUE(text[at] == '|' || name == "pow<" || name == "log<" || name == "rtt<") << text << " at " << i;
            } else {
                EXPECT_EQ(compiled[i], text[at] == ',' ? '.' : text[at]) << text << " at " << i;
            }
        }
    }
}

// Long texts come out exactly as the rules say (the time they take is measured in the
// translation benchmark, never here).
TEST(Filter, LongTexts) {
    const Filter f;
    EXPECT_EQ(f.Apply(Joined("pow<2>(x)", 100000, "+")), Joined("((x)^(2))", 100000, "+"));
    EXPECT_EQ(f.Apply(Joined("log<3>(x)", 100000, "*")), Joined("(lg(x)/lg(3))", 100000, "*"));
    EXPECT_EQ(f.Apply(Joined("|x|", 100000, "+")), Joined("(abs(x))", 100000, "+"));
    EXPECT_EQ(f.Apply(Repeat("1,5 ", 100000)), Repeat("1.5", 100000));

    // Nested in the bracketed argument and in the angled one, 30,000 deep.
    const std::size_t depth = 30000;
    EXPECT_EQ(f.Apply(Repeat("pow<2>(", depth) + "x" + Repeat(")", depth)),
              Repeat("((", depth) + "x" + Repeat(")^(2))", depth));
    EXPECT_EQ(f.Apply(Repeat("log<", depth) + "2" + Repeat(">(x)", depth)),
              Repeat("(lg(x)/lg(", depth) + "2" + Repeat("))", depth));

    // Unclosed openings, one after another: each takes the rest of the text as its argument.
    const std::string open = Repeat("log<", depth);
    EXPECT_EQ(f.Apply(open), Repeat("(lg()/lg(", depth) + Repeat("))", depth));
}

// Nested bar pairs: pass k opens the k-th level. Past the pass limit the deeper bars stay bars
// (such a formula is deeper than the compiler goes anyway); up to it nothing differs from the
// unbounded passes.
TEST(Filter, NestedBars) {
    const Filter f;
    auto nested = [](std::size_t levels) { return Repeat("|x-", levels) + "x" + Repeat("|x", levels); };
    auto converted = [](std::size_t levels) { return Repeat("(abs(x-", levels) + "x" + Repeat("))x", levels); };
    EXPECT_EQ(f.Apply(nested(3)), "(abs(x-(abs(x-(abs(x-x))x))x))x");
    for (std::size_t levels : {1u, 2u, 10u, 127u, 128u}) {
        EXPECT_EQ(f.Apply(nested(levels)), converted(levels)) << levels;
        EXPECT_EQ(f.Apply(nested(levels)), test::ReferenceApply(f, nested(levels))) << levels;
    }
    const std::size_t limit = Filter::kMaxBarPasses, levels = 100000;
    EXPECT_EQ(f.Apply(nested(levels)), Repeat("(abs(x-", limit) + Repeat("|x-", levels - limit) + "x" +
                                           Repeat("|x", levels - limit) + Repeat("))x", limit));
}

}  // namespace
}  // namespace kq
