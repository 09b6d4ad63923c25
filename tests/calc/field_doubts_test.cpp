// The line under the calculator's fields: which field, which character, the engine's words.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/base_format.h"
#include "calc/field_doubts.h"

namespace kq {
namespace {

std::string Line(const std::string& first, const std::string& second) {
    std::string line;
    for (const FieldDoubt& d : FieldDoubts(first, second)) line += DoubtText(d) + "\n";
    return line;
}

TEST(FieldDoubts, SaysWhichFieldAndWhichCharacter) {
    EXPECT_EQ(Line("", ""), "");
    EXPECT_EQ(Line("2*3", "FFh+1"), "");
    EXPECT_EQ(Line("sinx", ""), "Поле 1, символ 1: неизвестное слово «sinx» считается нулём\n");
    EXPECT_EQ(Line("", "1+2x"), "Поле 2, символ 3: «2x» читается как 2\n");
    EXPECT_EQ(Line("1+2x", "sinx"),
              "Поле 1, символ 3: «2x» читается как 2\nПоле 2, символ 1: неизвестное слово «sinx» считается нулём\n");
    // Characters, not bytes: "°" takes two bytes in the text.
    const auto doubts = FieldDoubts("°+sinx", "");
    ASSERT_FALSE(doubts.empty());
    EXPECT_EQ(doubts.back().character, 3u);
}

// A result, typed back or evaluated again, never raises a doubt.
TEST(FieldDoubts, ResultsAreClean) {
    for (int base : {2, 3, 5, 8, 10, 16, 36})
        for (long double v :
             {0.0L, 255.0L, -5.0L, 0.5L, -0.1L, 1.0L / 3, 123.456L, 1e28L, -std::ldexp(1.0L, 70), 1e-7L}) {
            const std::string text = FormatInBase(v, base).value();
            EXPECT_EQ(Line(text, text), "") << text;
        }
}

}  // namespace
}  // namespace kq
