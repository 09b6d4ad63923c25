// The headless `eval` verb: its output lines and exit statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/eval_verb.h"
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
    // ln, lg and sqrt outside their domain have no message of their own: never a blank one.
    EXPECT_EQ(Eval({"ln(0)"}).out, "error: Значение данного выражения не определено\n");
    EXPECT_EQ(Eval({"--round", "2", "2/3", "-2/3"}).out, "0.67\n-0.67\n");
    EXPECT_EQ(Eval({"--degrees", "sin(30)"}).out, "0.5\n");
    EXPECT_EQ(Eval({"--y", "3", "x*y"}).out, "3\n");
    EXPECT_EQ(Eval({"pi"}).out, "3.14159265358979312\n");
    EXPECT_EQ(Eval({"--exact", "pi"}).out, "3.14159265358979324\n");
    EXPECT_EQ(Eval({"--exact", "ln(exp(1))", "tg(pi/4)"}).out, "1\n1\n");
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
    EXPECT_EQ(r.out, "4\n0\nerror: Значение данного выражения не определено\n");
    EXPECT_EQ(r.status, 1);
}

TEST(EvalCommand, NoValueIsAFailure) {
    // NaN is not printed as if it were a value; the calculator's message says what it is.
    const EvalRun r = Eval({"1e99999-1e99999"});
    EXPECT_EQ(r.out, "error: Значение данного выражения не определено\n");
    EXPECT_EQ(r.status, 1);
}

// Every result without a finite value fails with the calculator's message, an overflow to an
// infinity as much as a NaN; the largest finite values still print.
TEST(EvalCommand, NoFiniteValueIsAFailure) {
    const std::string undefined = "error: Значение данного выражения не определено";
    struct Case {
        std::vector<std::string> args;
        std::string out;
        int status;
    };
    const std::vector<Case> cases = {
        {{"1e4932*10"}, undefined, 1},
        {{"-1e4932*10"}, undefined, 1},
        {{"1e5000"}, undefined, 1},
        {{"exp(12000)"}, undefined, 1},
        {{"--x", "10", "--y", "10", "1e4932*x*y"}, undefined, 1},
        {{"--x", "10", "x*1e4932-x*1e4932"}, undefined, 1},
        {{"--x", "1", "--x", "10", "x*1e4932"}, "1e+4932\t" + undefined, 1},
        {{"1e4932"}, "1e+4932", 0},
        {{"--x", "1", "x*1e4932-x*1e4932"}, "0", 0},
        {{"--round", "2", "1e4932*10"}, undefined, 1},
    };
    for (const Case& c : cases) {
        const EvalRun r = Eval(c.args);
        EXPECT_EQ(r.out, c.out + "\n") << c.args.back();
        EXPECT_EQ(r.status, c.status) << c.args.back();
    }
}

// Output that cannot be written (a full disk, a closed pipe) is an error, not a success.
TEST(EvalCommand, LostOutputIsAnError) {
    struct Full : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::istringstream in("1+1\n");
    std::ostringstream err;
    EXPECT_EQ(RunEvalCommand({"1"}, in, out, err), 1);
    EXPECT_NE(err.str().find("не удалось вывести"), std::string::npos);
    EXPECT_EQ(RunEvalCommand({}, in, out, err), 1);
}

// Each line read is answered before the next one is read, so a pipe gets its answers at once.
TEST(EvalCommand, AnswersLineByLine) {
    std::ostringstream out, err;
    struct Lines : std::streambuf {
        std::ostringstream* seen;
        std::vector<std::string> lines{"1+1\n", "2+2\n"};
        std::vector<std::string> outputBefore;
        std::size_t next = 0;
        std::string current;
        int underflow() override {
            if (next >= lines.size()) return traits_type::eof();
            outputBefore.push_back(seen->str());
            current = lines[next++];
            setg(current.data(), current.data(), current.data() + current.size());
            return traits_type::to_int_type(current[0]);
        }
    } lines;
    lines.seen = &out;
    std::istream in(&lines);
    EXPECT_EQ(RunEvalCommand({}, in, out, err), 0);
    ASSERT_EQ(lines.outputBefore.size(), 2u);
    EXPECT_EQ(lines.outputBefore[1], "2\n");
    EXPECT_EQ(out.str(), "2\n4\n");
}

TEST(EvalCommand, UsageErrors) {
    for (auto args : std::vector<std::vector<std::string>>{{"--round"},
                                                           {"--round", "x"},
                                                           {"--x", "1,5"},
                                                           {"--bogus"},
                                                           {"--y"},
                                                           {"--x", ""},
                                                           {"--x", "inf"},
                                                           {"--x", "1e4933"},
                                                           {"--y", "-1e99999"},
                                                           {"--round", "99999999999"}}) {
        const EvalRun r = Eval(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

}  // namespace
}  // namespace kq
