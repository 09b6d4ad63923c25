// The language's tables besides the functions: every entry reaches the parser, the diagnosis
// and the calculator's notation, so a new row is all a new suffix, macro or name needs.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "engine/diagnose.h"
#include "engine/filter.h"
#include "engine/language_tables.h"
#include "engine/number_text.h"
#include "eval_helpers.h"

namespace kq::test {
namespace {

TEST(LanguageTables, NumberedHeads) {
    struct Case {
        const char* head;
        FunctionCode code;
        std::size_t nameLength;
    };
    for (const Case& k : {Case{"rt2", FunctionCode::Root, 2}, Case{"pw-3", FunctionCode::PowerN, 2},
                          Case{"pwx", FunctionCode::PowerN, 2}, Case{"rt", FunctionCode::None, 0},
                          Case{"sin", FunctionCode::None, 0}, Case{"r2", FunctionCode::None, 0}}) {
        const NumberedHead h = NumberedFunctionAt(k.head);
        EXPECT_EQ(h.function ? h.function->code : FunctionCode::None, k.code) << k.head;
        EXPECT_EQ(h.nameLength, k.nameLength) << k.head;
    }
    // Every numbered entry of the function table is read with its number, by its name alone.
    for (const FunctionInfo& f : LanguageFunctions()) {
        if (!f.numbered) continue;
        const std::string call = std::string(f.names[0]) + "2(x)";
        EXPECT_EQ(NumberedFunctionAt(std::string(f.names[0]) + "2").function, &f);
        EXPECT_TRUE(Diagnose(call).empty()) << call;
        EXPECT_FALSE(Diagnose(std::string(f.names[0]) + "2a(x)").empty()) << f.names[0];
    }
}

// Each suffix reads its examples, counts as a clean number for the diagnosis, ends a
// literal's digits, and (for a fixed base) is what the calculator's notation would write.
TEST(LanguageTables, NumberSuffixes) {
    std::set<char> letters;
    int basesAfterTheLetter = 0;
    for (const NumberSuffix& s : NumberSuffixes()) {
        EXPECT_TRUE(letters.insert(s.letter).second) << s.letter;
        EXPECT_EQ(SuffixOfLetter(s.letter), &s);
        EXPECT_NE(SuffixLetters().find(s.letter), std::string_view::npos);
        ASSERT_NE(s.examples[0], nullptr);
        for (const char* example : s.examples) {
            if (!example) break;
            EXPECT_TRUE(Diagnose(example).empty()) << example;
        }
        if (s.base == 0) {
            ++basesAfterTheLetter;
            EXPECT_EQ(&NumberedSuffix(), &s);
            EXPECT_EQ(ReadNumberOperand(std::string("12") + s.letter + "5"), 7);
        } else {
            EXPECT_EQ(SuffixOfBase(s.base), &s);
            EXPECT_EQ(ReadNumberOperand(std::string("11") + s.letter), s.base + 1);
            EXPECT_EQ(DigitsInBase(std::string("11") + s.letter + "99", s.base), s.base + 1);
        }
    }
    EXPECT_EQ(basesAfterTheLetter, 1);
    EXPECT_EQ(SuffixOfLetter('x'), nullptr);
    EXPECT_EQ(SuffixOfBase(10), nullptr);
    // The digit scan stops at each letter: "1bh" is 1 in base 16.
    EXPECT_EQ(ReadNumberOperand("1bh"), 1);
}

TEST(LanguageTables, MacrosAreTheFiltersAndExpandTheirExamples) {
    const Filter filter;
    ASSERT_EQ(filter.Macros().size(), LanguageMacros().size());
    for (std::size_t i = 0; i < LanguageMacros().size(); ++i) {
        const MacroInfo& m = LanguageMacros()[i];
        EXPECT_EQ(filter.Macros()[i].opening, std::string(m.name) + "<");
        const std::string expanded = filter.Apply(m.example);
        EXPECT_EQ(expanded.find('<'), std::string::npos) << m.example << " -> " << expanded;
        EXPECT_TRUE(Diagnose(m.example).empty()) << m.example;
    }
}

TEST(LanguageTables, NamesOfFactors) {
    struct Case {
        const char* factor;
        const char* name;  // "" for none
    };
    for (const Case& k : {Case{"x", "x"}, Case{"x2", "x"}, Case{"y", "y"}, Case{"yes", "y"}, Case{"pi", "pi"},
                          Case{"pi2", ""}, Case{"e", ""}, Case{"2", ""}, Case{"", ""}}) {
        const LanguageName* n = NameOfFactor(k.factor);
        EXPECT_EQ(n ? std::string(n->name) : std::string(), k.name) << k.factor;
    }
    EXPECT_TRUE(IsExponentName("e"));
    EXPECT_FALSE(IsExponentName("x"));
    EXPECT_FALSE(IsExponentName("ee"));
    // What each name stands for, through the whole engine.
    for (const LanguageName& n : LanguageNames()) {
        const std::string name(n.name);
        switch (n.kind) {
            case NameKind::VariableX: EXPECT_EQ(Evaluate(name + "7", 2, 5).value, 2); break;
            case NameKind::VariableY: EXPECT_EQ(Evaluate(name + "7", 2, 5).value, 5); break;
            case NameKind::Pi: EXPECT_EQ(Evaluate(name).value, static_cast<long double>(3.141592653589793)); break;
            case NameKind::EulerExponent:
                EXPECT_NEAR(static_cast<double>(Evaluate("2^" + name).value), std::pow(2.0, std::exp(1.0)), 1e-12);
                break;
        }
    }
}

}  // namespace
}  // namespace kq::test
