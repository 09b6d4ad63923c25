// The text rewriting before compilation: bars, commas, blanks and macros.
#include <gtest/gtest.h>

#include "engine/filter.h"

namespace kq {
namespace {

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
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(f.Apply(in), out) << in;
}

// Malformed input must end: unmatched bars, brackets that never close, macros cut short.
TEST(Filter, EndsOnMalformedInput) {
    const Filter f;
    for (const char* in : {"))|x-|", "|", "||", "|||", "|(|", "log<", "log<2>", "log<2>(", "pow<<<>>(", "|x|y|z|",
                           "((((|", ")|)|)|", "log<log<log<"}) {
        const std::string out = f.Apply(in);
        EXPECT_LE(out.size(), 64u) << in;
    }
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

}  // namespace
}  // namespace kq
