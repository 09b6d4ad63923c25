// What Diagnose says about a text, where, and that what it says is how the engine reads it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/diagnose.h"
#include "eval_helpers.h"

namespace kq::test {
namespace {

std::string Listed(const std::vector<Diagnostic>& doubts) {
    std::string text;
    for (const Diagnostic& d : doubts) text += std::to_string(d.position) + ": " + d.message + "\n";
    return text;
}

// Every example the program offers and every feature written as the language means it.
TEST(Diagnose, CleanTextsSayNothing) {
    for (const char* text :
         {// the list of the plane page, its main formula and the surface's
          "sin(x)", "cos(x)", "tg(x)", "sec(x)", "arcsin(x)", "arctg(x)", "ln(x)", "log<x>(2*x)", "log<3>(x)",
          "cos(x^2-3)", "abs(x+2)/(x+2)-x", "cos(rt2(x*x+y*y))",
          // numbers
          "12", "3.5", ".5", "1e5", "1e-5", "2.5E+3", "3,5*2", "101b", "FFh", "17o", "21s3", "0.1b", "1.1b", "(-11b)",
          "1Bh", "20s5", "0s5", "0.Ah", "A.8h", "0,1b", "ZZs36", "pi", "y", "",
          // operators, signs and blanks
          "1+2*3", "2*-3", "2/-4", "2^-1", "x^-2", "1+-x", "1-+x", "1---x", "2*--3", "-x^2", "2^3^2", "x^e", "1 - x",
          "2 * x", " sin (x) ", "(sin (x))", "1\t+\t2", "- x",
          // functions, roots, powers, bars and macros
          "sin(x)+cos(x)", "sin(x)^2", "(sin(x))^2", "abs(x)^3", "rt3(x)", "pw2(x)", "pw0(x)", "rt2.5(x)",
          "sqrt(x)*exp(x)", "arcctg(x)+arccot(x)+actg(x)+atg(x)+arctan(x)", "asin(x)+acos(x)+tan(x)+cot(x)",
          "sgn(x)*lg(x)*csc(x)*ctg(x)", "|x|", "|x-|y|+1|", "2*|x-3|", "pow<2>(x)", "rtt<3>(-8)", "log<2>(8)",
          "log<log<2>(x)>(y)", "pow<pow<2>(2)>(x)", "log<x>(2 * x)"}) {
        EXPECT_EQ(Listed(Diagnose(text)), "") << text;
    }
}

struct Doubt {
    const char* text;
    const char* expected;  // the diagnostics, one "POSITION: MESSAGE" line each
};

void CheckTable(const std::vector<Doubt>& table) {
    for (const Doubt& d : table) EXPECT_EQ(Listed(Diagnose(d.text)), d.expected) << d.text;
}

TEST(Diagnose, UnknownWordsCountAsZero) {
    CheckTable({
        {"sinx", "0: неизвестное слово «sinx» считается нулём\n"},
        {"2*sinx(2)", "2: неизвестное слово «sinx» считается нулём\n"},
        {"e", "0: неизвестное слово «e» считается нулём\n"},
        {"pi2", "0: неизвестное слово «pi2» считается нулём\n"},
        {"Sin(x)", "0: неизвестное слово «Sin» считается нулём\n"},  // names are lower case
        {"1+ abc", "3: неизвестное слово «abc» считается нулём\n"},
        {"1+ ab", "3: «ab» читается как 42\n"},  // "b" makes it binary, and "a" is a digit worth 42
        {"rt(x)", "0: неизвестное слово «rt» считается нулём\n"},
        {"s3", "0: неизвестное слово «s3» считается нулём\n"},
    });
}

TEST(Diagnose, NumbersWithSomethingAfterThem) {
    CheckTable({
        {"2x", "0: «2x» читается как 2\n"},
        {"1+2(x+1)", "2: «2(x+1)» читается как 2\n"},
        {"1bh", "0: «1bh» читается как 1\n"},   // a lower-case b ends the digits
        {"19b", "0: «19b» читается как 11\n"},  // 9 is no binary digit
        {"12s0", "0: «12s0» читается как 0\n"},
        {"1E-1h", "0: «1E» читается как 1\n"},
        {"2e", "0: «2e» читается как 2\n"},
        {"x2", "0: «x2» читается как x\n"},
        {"yx", "0: «yx» читается как y\n"},
        {"xpow<2>(3)", "0: «xpow<2>(3)» читается как x\n"},
        {"rt2x(4)", "0: «rt2x» читается как «rt2»\n"},
        {"(x+1)2", "5: «2» после скобки пропускается\n"},
        {"sin(x) 2", "7: «2» после скобки пропускается\n"},
        {"2 1", "1: пробел не разделяет «2» и «1»: читается «21»\n"},
        {"si n(x)", "2: пробел не разделяет «si» и «n»: читается «sin»\n"},
    });
}

TEST(Diagnose, OperatorsWithNothingAfterThem) {
    CheckTable({
        {"x+", "1: после «+» ничего нет\n"},
        {"x-", "1: после «-» ничего нет\n"},
        {"2*", "1: после «*» ничего нет\n"},
        {"2/ ", "1: после «/» ничего нет\n"},
        {"x^", "1: после «^» ничего нет\n"},
        {"(x+)*2", "2: после «+» ничего нет\n"},
        {"2*-", "2: после «-» ничего нет\n"},
        {"-", "0: после «-» ничего нет\n"},
        {"sin(x^)", "5: после «^» ничего нет\n"},
        {"2**3", "2: лишний знак «*»: «*3» читается как 0\n"},
        {"*x", "0: лишний знак «*»: «*x» читается как 0\n"},
    });
}

// A run of signs that cuts the sum is not the product of its signs.
TEST(Diagnose, RunsOfSigns) {
    CheckTable({
        {"1--x", "1: знаки «--» читаются как «-»\n"},
        {"1----x", "1: знаки «----» читаются как «-»\n"},
        {"(--x)", "1: знаки «--» читаются как «-»\n"},
        {"x^--2", "2: знаки «--» читаются как «-»\n"},
        {"x^-+2", "2: знаки «-+» читаются как «+»\n"},
    });
}

TEST(Diagnose, FunctionsWithoutArguments) {
    CheckTable({
        {"sin()", "0: у «sin()» пустой аргумент: множитель пропускается\n"},
        {"2*sin( )", "2: у «sin( )» пустой аргумент: множитель пропускается\n"},
        {"sin", "0: функция «sin» без аргумента пропускается\n"},
        {"2*rt3", "2: функция «rt3» без аргумента пропускается\n"},
        {"sin(x", "0: функция «sin» пропускается: скобка не закрыта\n3: скобка «(» не закрыта\n"},
    });
}

TEST(Diagnose, BracketsBarsAndMacros) {
    CheckTable({
        {"(x+1", "0: скобка «(» не закрыта\n3: «1» в конце пропускается: скобка не закрыта\n"},
        {"sin(x+1", "3: скобка «(» не закрыта\n6: «1» в конце пропускается: скобка не закрыта\n"},
        {"x)", "1: лишняя скобка «)»\n"},
        {"(x))+1", "3: лишняя скобка «)»\n"},
        {"|x", "0: черта модуля «|» не закрыта\n1: «x» в конце пропускается: черта модуля не закрыта\n"},
        {"|x|+|", "4: черта модуля «|» не закрыта\n"},
        {"||", "0: черта модуля «|» не закрыта\n1: непарная черта модуля «|»\n"},
        {"log<2(x)", "3: угловая скобка макроса «log» не закрыта\n4: «2(x)» читается как 2\n"},
        {"log<2>x", "5: после угловых скобок макроса «log» нужна скобка «(»: «x» пропускается\n"},
        {"log<2>", "5: после угловых скобок макроса «log» нужна скобка «(»\n"},
        {"log<>(x)", "3: пустой аргумент в угловых скобках макроса «log»\n"},
        {"pow<2>()", "6: пустой аргумент в скобках макроса «pow»\n"},
        {"rtt<2>(x", "6: скобка макроса «rtt» не закрыта\n"},
        {"log<2>(x)y", "9: «y» после скобки пропускается\n"},
    });
}

// Positions count bytes of the text as typed, blanks and all.
TEST(Diagnose, PositionsAreInTheTypedText) {
    CheckTable({
        {"  sinx", "2: неизвестное слово «sinx» считается нулём\n"},
        {"1 +  2 x", "5: «2 x» читается как 2\n6: пробел не разделяет «2» и «x»: читается «2x»\n"},
        {"log < 2 > ( x", "10: скобка макроса «log» не закрыта\n"},
        {"|x| + | y", "6: черта модуля «|» не закрыта\n8: «y» в конце пропускается: черта модуля не закрыта\n"},
        {"sinus", "0: неизвестное слово «sinus» считается нулём\n"},
    });
}

// A message quotes valid UTF-8 whatever the text holds, and not all of a long piece.
TEST(Diagnose, QuotesStayShortAndReadable) {
    CheckTable({
        {"\xff+1", "0: неизвестное слово «\uFFFD» считается нулём\n"},
        {"2\xd0", "0: «2\uFFFD» читается как 2\n"},
        {"x+аб", "2: неизвестное слово «аб» считается нулём\n"},
    });
    const std::string run = "1" + std::string(200000, '-') + "x";
    EXPECT_EQ(Listed(Diagnose(run)), "1: знаки «------------------------…------------» читаются как «-»\n");
}

// What a message says the text is read as, the engine evaluates it as.
TEST(Diagnose, ReadingsAreTheEnginesOwn) {
    const std::vector<std::pair<const char*, const char*>> same = {
        {"2x", "2"},           {"x2", "x"},       {"sinx+1", "0+1"}, {"2*sin()+1", "2+1"},
        {"(x+1)2", "(x+1)"},   {"x^", "x"},       {"x+", "x"},       {"2 1", "21"},
        {"rt2x(4)", "rt2(4)"}, {"1bh", "1"},      {"19b", "11"},     {"x^--2", "x^-2"},
        {"1--x", "1-x"},       {"x^-+2", "x^+2"}, {"2**3", "2*0"},   {"log<2>x)", "(lg()/lg(2))"},
        {"(x+1", "(x+)"},      {"sin(x", "0"},    {"2e", "2"},       {"(--x)", "(-x)"},
    };
    for (const auto& [doubtful, read] : same) {
        ASSERT_FALSE(Diagnose(doubtful).empty()) << doubtful;
        for (long double x : {-2.0L, 0.5L, 3.0L}) {
            const Outcome a = Evaluate(doubtful, x), b = Evaluate(read, x);
            EXPECT_EQ(a.status, b.status) << doubtful;
            if (a.status == EvalStatus::Ok) {
                EXPECT_TRUE(SameBits(a.value, b.value)) << doubtful << " at " << static_cast<double>(x);
            }
        }
    }
}

// Any text: positions inside it (or at its end), in order, never a crash or a hang.
TEST(Diagnose, AnyTextIsAnswered) {
    const std::vector<std::string> pieces = {"sin",  "(", ")", "x", "2", "|", "-", "+",   "*",  "^", "/", " ",
                                             "log<", "<", ">", ",", "e", "h", "s", "1.5", "pi", "#", "pw"};
    std::mt19937 random(5);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 20)(random);
        for (int i = 0; i < length; ++i)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        const std::vector<Diagnostic> doubts = Diagnose(text);
        for (std::size_t i = 0; i < doubts.size(); ++i) {
            ASSERT_LE(doubts[i].position, text.size()) << text;
            ASSERT_FALSE(doubts[i].message.empty()) << text;
            if (i > 0) {
                ASSERT_LE(doubts[i - 1].position, doubts[i].position) << text;
            }
        }
    }
    const std::string deep = std::string(100000, '(') + "x" + std::string(100000, ')');
    EXPECT_TRUE(Diagnose(deep).empty());
    EXPECT_EQ(Diagnose(std::string(100000, '(')).size(), 100000u);
}

}  // namespace
}  // namespace kq::test
