// The verbs' option parser: values checked before use, usage lines, operands in order.
#include <gtest/gtest.h>

#include <climits>

#include "cli/option_parser.h"

namespace kq {
namespace {

struct Options {
    bool flag = false;
    int count = 0;
    long double number = 0;
    std::vector<long double> numbers;
    std::string text;
    std::vector<std::string> texts;
};

OptionParser Parser(Options& o) {
    OptionParser p("demo", "[ФОРМУЛА...]");
    p.Flag("--flag", o.flag)
        .Int("--count", "N", o.count, -1, 100)
        .Number("--number", "X", o.number)
        .Numbers("--x", "X", o.numbers)
        .Texts("--list", "F", o.texts)
        .Text("-o", "ФАЙЛ", o.text)
        .Required();
    return p;
}

TEST(OptionParser, TakesOptionsAnywhereAndKeepsOperandsInOrder) {
    Options o;
    const auto operands = Parser(o).Parse(
        {"a", "--flag", "-o", "f.png", "-x", "--x", "1", "--list", "sin(x)", "--x", "-2.5e3", "--", "--flag"});
    EXPECT_EQ(operands, (std::vector<std::string>{"a", "-x", "--flag"}));
    EXPECT_TRUE(o.flag);
    EXPECT_EQ(o.text, "f.png");
    EXPECT_EQ(o.numbers, (std::vector<long double>{1, -2500}));
    EXPECT_EQ(o.texts, (std::vector<std::string>{"sin(x)"}));
}

TEST(OptionParser, RefusesWhatItCannotHold) {
    const std::vector<std::vector<std::string>> bad = {
        {"-o"},                                   // a value is missing
        {"x"},                                    // -o is required
        {"-o", "f", "--bogus"},                   // unknown option
        {"-o", "f", "--count", "101"},            // beyond its limits
        {"-o", "f", "--count", "-2"},
        {"-o", "f", "--count", "4294967306"},     // would wrap through 32 bits
        {"-o", "f", "--count", "1.5"},
        {"-o", "f", "--count", ""},
        {"-o", "f", "--number", "1e4933"},        // infinity by another name
        {"-o", "f", "--number", "inf"},
        {"-o", "f", "--number", "nan"},
        {"-o", "f", "--number", "1,5"},           // C notation only
        {"-o", "f", "--number", "2x"},
        {"-o", "f", "--x"},
    };
    for (const auto& args : bad) {
        Options o;
        EXPECT_THROW(Parser(o).Parse(args), UsageError) << args.back();
    }
}

TEST(OptionParser, NumbersAtTheEdgesOfTheirTypes) {
    EXPECT_EQ(ParseIntOption("--n", "2147483647", INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(ParseIntOption("--n", "-2147483648", INT_MIN, INT_MAX), INT_MIN);
    EXPECT_THROW(ParseIntOption("--n", "2147483648", INT_MIN, INT_MAX), UsageError);
    EXPECT_EQ(ParseNumberOption("--x", "1e4932"), 1e4932L);
    EXPECT_THROW(ParseNumberOption("--x", "1e4933"), UsageError);
    int w = 0, h = 0;
    ParseSizeOption("--size", "640x480", 20000, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    for (const char* size : {"4294967906x4294967776", "0x10", "10x0", "20001x1", "10", "10x", "x10", "10x10x10",
                             "-5x5", "5x 5"})
        EXPECT_THROW(ParseSizeOption("--size", size, 20000, w, h), UsageError) << size;
}

TEST(OptionParser, UsageLine) {
    Options o;
    EXPECT_EQ(Parser(o).Usage(),
              "quantorium demo [--flag] [--count N] [--number X] [--x X]... [--list F]... -o ФАЙЛ [ФОРМУЛА...]");
}

}  // namespace
}  // namespace kq
