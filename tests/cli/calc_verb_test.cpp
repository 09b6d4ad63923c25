// `quantorium calc`: expressions as the calculator's "=" evaluates them.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/calc_verb.h"

namespace kq {
namespace {

struct CalcRun {
    int status;
    std::string out, err;
};

CalcRun Calc(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCalcCommand(args, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(CalcCommand, WritesWhatEqualsWould) {
    EXPECT_EQ(Calc({"--base", "16", "255", "x+1"}).out, "FFh\n2h\n");
    EXPECT_EQ(Calc({"--base", "2", "-5"}).out, "-101b\n");
    EXPECT_EQ(Calc({"--round", "2", "2/3", "-2/3"}).out, "0.67\n-0.67\n");
    EXPECT_EQ(Calc({"--degrees", "sin(30)"}).out, "0.5\n");
    EXPECT_EQ(Calc({"tg(617593.1234567890123)"}).out, "-0.009942141590832\n");
    EXPECT_EQ(Calc({"--exact", "tg(617593.1234567890123)"}).out, "-0.009942141642736\n");
    EXPECT_EQ(Calc({"sin(30)"}).out.rfind("-0.988", 0), 0u);  // the mode ended with its run
    EXPECT_EQ(Calc({"--base", "5", "10"}).out, "20s5\n");
    const CalcRun bad = Calc({"1/0", "2"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "\n2\n");
    EXPECT_NE(bad.err.find("Значение данного выражения не определено"), std::string::npos);
    EXPECT_EQ(Calc({}, "1+1\n0.1b\n").out, "2\n0.5\n");
    for (auto args : std::vector<std::vector<std::string>>{{"--base", "1", "2"}, {"--base", "37", "2"}, {"--base"},
                                                           {"--round", "x", "1"}, {"--what"},
                                                           {"--base", "4294967312", "1"}}) {
        const CalcRun r = Calc(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CalcCommand, LostOutputIsAnError) {
    struct Full : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunCalcCommand({"1"}, in, out, err), 1);
    EXPECT_NE(err.str().find("не удалось вывести"), std::string::npos);
}

}  // namespace
}  // namespace kq
