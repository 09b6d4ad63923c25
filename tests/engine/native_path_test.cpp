// Which path evaluates a formula: native code wherever the machine allows it, the interpreter
// when it is forced; and native code does not pile up in memory as formulas are replaced.
#include <gtest/gtest.h>

#include <string>

#include "eval_helpers.h"
#include "process_maps.h"

namespace kq::test {
namespace {

TEST(NativePath, RunsUnlessTheInterpreterIsForced) {
    Translator t;
    t.Translate("sin(x)/x+lg(x)");
    EXPECT_EQ(t.IsNative(), kNativeExpected);
    long double native = 0, interpreted = 0;
    ASSERT_EQ(t.TryValue(0.7L, 0, native), EvalStatus::Ok);
    t.UseNativeCode(false);
    EXPECT_FALSE(t.IsNative());
    ASSERT_EQ(t.TryValue(0.7L, 0, interpreted), EvalStatus::Ok);
    EXPECT_TRUE(SameBits(native, interpreted));
    // The choice outlives translations and mode changes until it is undone.
    t.Translate("cos(x)");
    t.SetDegrees(true);
    EXPECT_FALSE(t.IsNative());
    t.UseNativeCode(true);
    EXPECT_EQ(t.IsNative(), kNativeExpected);
    t.SetDegrees(false);
    EXPECT_EQ(t.IsNative(), kNativeExpected);
}

// Every translation replaces the formula's code; the old code's memory must serve again or
// go, so mappings and executable memory stay flat however many formulas come and go.
TEST(NativePath, ReplacedCodeIsReleased) {
    Translator a, b;
    a.Translate("x");
    b.Translate("y");
    const int before = CodeMappingCount();
    const std::uintptr_t code = ExecutableBytes();
    for (int i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        a.Translate("sin(x)+" + n + "/x");
        b.Translate("lg(x)*" + n);
        if (i % 1000 == 0) b.SetDegrees(!b.Degrees());
    }
    EXPECT_EQ(a.IsNative(), kNativeExpected);
    EXPECT_LE(CodeMappingCount(), before + 2);
    EXPECT_LE(ExecutableBytes(), code + (1u << 20));
}

}  // namespace
}  // namespace kq::test
