// The table of the language's functions: every name reaches its entry, each entry says how it
// is computed, and the help describes every function of it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "engine/function_codes.h"
#include "eval_helpers.h"

namespace kq::test {
namespace {

TEST(FunctionTable, EveryNameFindsItsEntry) {
    std::set<std::string_view> seen;
    std::set<FunctionCode> codes;
    for (const FunctionInfo& f : LanguageFunctions()) {
        EXPECT_TRUE(codes.insert(f.code).second) << "two entries for one code: " << f.names[0];
        ASSERT_EQ(InfoOf(f.code), &f);
        ASSERT_FALSE(f.names[0].empty());
        for (std::string_view name : f.names) {
            if (name.empty()) continue;
            EXPECT_TRUE(seen.insert(name).second) << "name used twice: " << name;
            // A numbered name is never a function without its number ("rt(x)" is no root).
            EXPECT_EQ(FunctionByName(name), f.numbered ? FunctionCode::None : f.code) << name;
        }
    }
    EXPECT_EQ(InfoOf(FunctionCode::None), nullptr);
    for (const char* notAName : {"", "s", "sinx", "SIN", "rt2", "pw3", "log", "pow", "e"})
        EXPECT_EQ(FunctionByName(notAName), FunctionCode::None) << notAName;
}

// Exactly the six direct functions take degrees and have periodic poles.
TEST(FunctionTable, DirectTrigonometryIsMarked) {
    const std::set<std::string_view> direct = {"sin", "cos", "tg", "tan", "ctg", "cot", "sec", "csc"};
    for (const FunctionInfo& f : LanguageFunctions())
        for (std::string_view name : f.names)
            if (!name.empty()) {
                EXPECT_EQ(IsDirectTrig(f.code), direct.count(name) == 1) << name;
            }
    EXPECT_FALSE(IsDirectTrig(FunctionCode::None));
}

// Each entry is computed one way: an evaluation of its own, or the library functions its
// precision needs; a domain that fails says with what.
TEST(FunctionTable, EachEntrySaysHowItIsComputed) {
    for (const FunctionInfo& f : LanguageFunctions()) {
        SCOPED_TRACE(std::string(f.names[0]));
        if (f.evaluate) {
            EXPECT_EQ(f.inDouble, nullptr);
            EXPECT_EQ(f.inExtended, nullptr);
        } else {
            EXPECT_NE(f.inExtended, nullptr);
            EXPECT_EQ(f.inDouble != nullptr, f.precision == Precision::Double);
            EXPECT_NE(f.domain, Domain::OwnRule);
        }
        const bool checked = f.domain != Domain::Everywhere;
        EXPECT_EQ(f.failure != EvalStatus::Ok, checked);
        EXPECT_NE(std::string(f.meaning), "");
        EXPECT_NE(std::string(f.undefinedWhere), "");
    }
}

// The domains in the table are the ones evaluation enforces, on every path.
TEST(FunctionTable, DomainsFailWithTheirStatus) {
    struct Probe {
        long double inside, outside;
    };
    const auto probeFor = [](Domain d) -> Probe {
        switch (d) {
            case Domain::Positive: return {0.5L, 0};
            case Domain::NotNegative: return {0, -0.5L};
            case Domain::UnitInterval: return {-1, 1.0000001L};
            default: return {0.5L, 0.5L};
        }
    };
    for (const FunctionInfo& f : LanguageFunctions()) {
        if (f.domain == Domain::Everywhere || f.domain == Domain::OwnRule) continue;
        const std::string call = std::string(f.names[0]) + "(x)";
        const Probe p = probeFor(f.domain);
        EXPECT_EQ(Evaluate(call, p.inside).status, EvalStatus::Ok) << call;
        EXPECT_EQ(Evaluate(call, p.outside).status, f.failure) << call;
    }
}

}  // namespace
}  // namespace kq::test
