// The compiler's cuts: the tree equals the plain compiler's on any text, and long or deeply
// nested texts come out as the rules say.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "compiler_reference.h"
#include "engine/filter.h"
#include "engine/special_points.h"
#include "engine/unit_compiler.h"
#include "eval_helpers.h"
#include "long_text.h"

namespace kq::test {
namespace {

bool SameBytes(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// The tree, the special points and the values equal the plain compiler's.
void ExpectSameAsReference(const std::string& text) {
    SpecialPointSet fastSpecials, plainSpecials;
    const std::unique_ptr<ExpressionList> fast = UnitCompiler(fastSpecials).CompileSum(text);
    const std::unique_ptr<ReferenceList> plain = ReferenceCompiler(plainSpecials).CompileSum(text);
    fastSpecials.Build();
    plainSpecials.Build();
    ASSERT_EQ(DumpTree(*fast), DumpReference(*plain, true)) << text;
    EXPECT_EQ(fastSpecials.Points(), plainSpecials.Points()) << text;
    EXPECT_EQ(fastSpecials.Periodic(), plainSpecials.Periodic()) << text;
    EXPECT_EQ(fastSpecials.RootDegree(), plainSpecials.RootDegree()) << text;
    for (long double x : {-2.5L, 0.0L, 1.0L, 3.0L}) {
        long double a = 0, b = 0;
        const EvalStatus fastStatus = fast->Evaluate(x, 0.5L, false, a);
        ASSERT_EQ(fastStatus, EvaluateList(*plain, x, 0.5L, b)) << text;
        if (fastStatus == EvalStatus::Ok) {
            ASSERT_TRUE(SameBytes(a, b)) << text << " at " << static_cast<double>(x);
        }
    }
}

// Texts made of the pieces the cutting rules look at: signs after operators and in runs,
// literals with exponents and bases, names of functions and roots, stray and missing brackets.
TEST(UnitCompiler, AgreesWithThePlainCompiler) {
    const std::vector<std::string> pieces = {
        "x",    "y",    "pi",   "e",     "2",     "0.5", "1e-5", "1E-1h", "2.5E+3", "FFh", "21s3", "1.1b",
        "+",    "-",    "--",   "*",     "/",     "^",   "^-",   "*-",    "^e",     "(",   ")",    "()",
        "sin(", "rt3(", "pw2(", "sqrt(", "abs(",  "tg(", "sin",  "e-",    "1e",     "2x",  "x2",   ".",
        "1e-",  "-1",   "+-",   "(x)",   "(x+1)", "^(",  "*(",   "ln",    "A",      "s",   "|",    ",",
    };
    std::mt19937 random(7);
    for (int n = 0; n < 30000; ++n) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, n % 4 == 0 ? 60 : 14)(random);
        for (int i = 0; i < length; ++i)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        ExpectSameAsReference(text);
        if (HasFatalFailure()) return;
        // The flat program agrees with the tree on such texts too.
        if (n % 8 == 0)
            for (long double x : {-1.5L, 0.0L, 2.0L}) Evaluate(text, x, 0.5L);
    }
}

TEST(UnitCompiler, AgreesOnLongRunsAndDeepNesting) {
    for (const std::string& text : {
             "1" + Repeat("-", 999) + "x",
             "2*" + Repeat("-", 1000) + "x",
             "x^" + Repeat("+-", 300) + "2",
             Repeat("x^", 300) + "2",
             Repeat("x^-", 300) + "2",
             Repeat("(", 250) + "x" + Repeat(")", 250),
             Repeat("(", 250) + "x",
             Repeat("sin(", 150) + "x" + Repeat(")", 150),
             Repeat("x^(", 120) + "x" + Repeat(")", 120),
             "x)" + Repeat("^x", 300) + ")(+1)",
             Repeat("2^x)", 100) + "(x+1)",
             Repeat("1e-5^", 100) + "1e-5",
         }) {
        ExpectSameAsReference(text);
    }
}

// A run of signs: the first sign after a term cuts it, the rest of the run alternately cuts
// and opens empty terms, and the last belongs to x; after "*" the whole run is x's sign.
TEST(UnitCompiler, LongRunsOfSigns) {
    const std::string signs = Repeat("-", 200000);
    EXPECT_EQ(Evaluate("1" + signs + "x", 3).value, -2);
    EXPECT_EQ(Evaluate("1" + signs + "-x", 3).value, -2);
    EXPECT_EQ(Evaluate("2*" + signs + "x", 3).value, 6);
    EXPECT_EQ(Evaluate("2*-" + signs + "x", 3).value, -6);
    EXPECT_EQ(Evaluate("x^" + Repeat("+", 200000) + "2", 3).value, 9);
}

// Nesting up to the limit compiles; one level more fails at evaluation, however deep it goes.
TEST(UnitCompiler, NestingLimit) {
    const int limit = UnitCompiler::kMaxDepth;
    auto brackets = [](std::size_t depth) { return Repeat("(", depth) + "x+1" + Repeat(")", depth); };
    EXPECT_EQ(Evaluate(brackets(limit), 2).value, 3);
    EXPECT_EQ(Evaluate(brackets(limit + 1), 2).status, EvalStatus::TooDeep);
    EXPECT_EQ(Evaluate(brackets(500000), 2).status, EvalStatus::TooDeep);
    EXPECT_EQ(Evaluate(Repeat("(", 500000) + "x", 2).status, EvalStatus::TooDeep);
    EXPECT_EQ(Evaluate(Repeat("|x-", 100000) + "x" + Repeat("|x", 100000), 2).status, EvalStatus::TooDeep);
    EXPECT_EQ(Evaluate(Repeat("pow<2>(", 100000) + "x" + Repeat(")", 100000), 2).status, EvalStatus::TooDeep);

    // Each "^" opens an exponent one level down: 2^2^...^2 with the last exponent at the limit.
    auto tower = [](std::size_t levels) { return Repeat("1^", levels) + "2"; };
    EXPECT_EQ(Evaluate(tower(limit), 2).value, 1);
    EXPECT_EQ(Evaluate(tower(limit + 1), 2).status, EvalStatus::TooDeep);
    EXPECT_EQ(Evaluate(tower(500000), 2).status, EvalStatus::TooDeep);
}

TEST(UnitCompiler, LongSums) {
    EXPECT_EQ(Evaluate(Repeat("x+1+", 100000) + "0", 2).value, 300000);
    EXPECT_EQ(Evaluate(Repeat("x*", 100000) + "1", 1).value, 1);
    EXPECT_EQ(Evaluate(Repeat("sin(x)^2+cos(x)^2-", 10000) + "0", 0.25L).status, EvalStatus::Ok);
}

}  // namespace
}  // namespace kq::test
