// The headless `eval` verb: its output lines and exit statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "app/eval_command.h"
#include "engine/translator.h"

namespace kq {
namespace {

struct EvalRun {
    int status;
    std::string out, err;
};

EvalRun Eval(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunEvalCommand(args, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(EvalCommand, PrintsValuesAndFailures) {
    EXPECT_EQ(Eval({"x+1"}).out, "2\n");
    EXPECT_EQ(Eval({"--x", "0", "--x", "2", "--x", "-1", "1/x"}).out, "error: /0\t0.5\t-1\n");
    EXPECT_EQ(Eval({"--x", "0", "1/x"}).status, 1);
    EXPECT_EQ(Eval({"ln(0)"}).out, "error: \n");
    EXPECT_EQ(Eval({"--round", "2", "2/3", "-2/3"}).out, "0.67\n-0.67\n");
    EXPECT_EQ(Eval({"--degrees", "sin(30)"}).out, "0.5\n");
    EXPECT_EQ(Eval({"--y", "3", "x*y"}).out, "3\n");
    EXPECT_EQ(Eval({"pi"}).out, "3.14159265358979312\n");
    EXPECT_EQ(Eval({"-x"}).out, "-1\n");  // a formula, not an option
    EXPECT_EQ(Eval({"--", "--x"}).out, "-1\n");
    const EvalRun ok = Eval({"1", "2"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "1\n2\n");
}

// Each run has its own angle mode: degrees asked for once are not there for the next run, nor
// for any other formula of the process.
TEST(EvalCommand, AngleModeStaysWithItsRun) {
    EXPECT_EQ(Eval({"--degrees", "sin(30)"}).out, "0.5\n");
    const std::string radians = Eval({"sin(30)"}).out;
    EXPECT_EQ(radians.rfind("-0.988", 0), 0u) << radians;
    EXPECT_EQ(Eval({"--degrees", "sin(90)", "sin(30)"}).out, "1\n0.5\n");
    Translator t;
    t.Translate("sin(30)");
    EXPECT_LT(t.Value(1, 0), -0.98L);
}

TEST(EvalCommand, ReadsStandardInputWhenNoFormulaIsGiven) {
    const EvalRun r = Eval({"--x", "2"}, "x*x\n\nsqrt(-1)\r\n");
    EXPECT_EQ(r.out, "4\n0\nerror: \n");
    EXPECT_EQ(r.status, 1);
}

TEST(EvalCommand, UsageErrors) {
    for (auto args : std::vector<std::vector<std::string>>{
             {"--round"}, {"--round", "x"}, {"--x", "1,5"}, {"--bogus"}, {"--y"}, {"--x", ""}}) {
        const EvalRun r = Eval(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

}  // namespace
}  // namespace kq
