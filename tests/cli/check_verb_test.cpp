// `quantorium eval --check`: the block written for each formula and the exit status.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/eval_verb.h"

namespace kq {
namespace {

struct CheckRun {
    int status;
    std::string out, err;
};

CheckRun Check(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunEvalCommand(args, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(CheckCommand, OneBlockPerFormula) {
    const CheckRun doubtful = Check({"--check", "sin(x)", "sinx", "2x+"});
    EXPECT_EQ(doubtful.out,
              "\n"
              "0: неизвестное слово «sinx» считается нулём\n\n"
              "0: «2x» читается как 2\n2: после «+» ничего нет\n\n");
    EXPECT_EQ(doubtful.status, 1);
    EXPECT_TRUE(doubtful.err.empty());

    const CheckRun clean = Check({"--check", "log<x>(2*x)", "abs(x+2)/(x+2)-x"});
    EXPECT_EQ(clean.out, "\n\n");
    EXPECT_EQ(clean.status, 0);
}

TEST(CheckCommand, FormulasFromStandardInput) {
    const CheckRun r = Check({"--check"}, "x2\n1+1\r\n");
    EXPECT_EQ(r.out, "0: «x2» читается как x\n\n\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Check({"--check"}, "").out, "");
    EXPECT_EQ(Check({"--check"}, "").status, 0);
}

// The other options may stand around it; nothing is evaluated.
TEST(CheckCommand, WithOtherOptions) {
    const CheckRun r = Check({"--x", "0", "--degrees", "--check", "--", "-1/x+"});
    EXPECT_EQ(r.out, "4: после «+» ничего нет\n\n");
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCommand, UsageTellsTheFormat) {
    const CheckRun r = Check({"--check", "--bogus"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--check"), std::string::npos);
    EXPECT_NE(r.err.find("ПОЗИЦИЯ: СООБЩЕНИЕ"), std::string::npos);
}

}  // namespace
}  // namespace kq
