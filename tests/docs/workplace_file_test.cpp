// The workplace file byte for byte: the example file, round trips, the refusals, bad magic
// and truncated files.
#include <gtest/gtest.h>

#include <string>

#include "docs/workplace_codec.h"
#include "docs/workplace_file.h"
#include "docs/workplace_format.h"

namespace kq {
namespace {

using namespace std::string_literals;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// A default workplace with one change made to it.
template <typename Change>
Workplace With(Change change) {
    Workplace w;
    change(w);
    return w;
}

Workplace Example() {
    Workplace w;
    w.formula = "cos(x^2-3)";
    w.list = {"sin(x)", "cos(x)"};
    return w;
}

TEST(WorkplaceFile, TheExampleFileByteForByte) {
    const WorkplaceBytes out = WorkplaceToBytes(Example());
    ASSERT_EQ(out.refusal, "");
    const std::string expected = std::string("_KXQuantorium+_1.0_!") + '\0' + "?-10?10?-5?5?cos(x^2-3)#" + '\x02' +
                                 "sin(x)$cos(x)$@@" + '\x01' + "@Eof_";
    EXPECT_EQ(out.bytes.size(), 68u);
    EXPECT_EQ(Text(out.bytes), expected);
    const auto back = WorkplaceFromBytes(out.bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, Example());
}

TEST(WorkplaceFile, EveryFieldRoundTrips) {
    Workplace w;
    w.absolute = true;
    w.xFrom = -3.25L;
    w.xTo = 1e6L;
    w.yFrom = -0.000125L;
    w.yTo = 98765.4L;
    w.formula = "";
    w.list = {"", "x", "", "ln(x)"};
    w.firstLine = "Сумма 2+2";
    w.secondLine = "Ёлка ёж №1 «в кавычках»";
    w.activeLine = 2;
    const WorkplaceBytes out = EncodeWorkplace(w);
    ASSERT_EQ(out.refusal, "");
    const auto back = DecodeWorkplace(out.bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, w);
    // Texts are Windows-1251 in the file: one byte a letter.
    EXPECT_NE(Text(out.bytes).find("\xd1\xf3\xec\xec\xe0 2+2@"), std::string::npos);
    // Empty texts are their terminator alone.
    EXPECT_NE(Text(out.bytes).find("?#\x04$x$$ln(x)$"), std::string::npos);
}

TEST(WorkplaceFile, RangesKeepSixSignificantDigits) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {{-10, "-10"},          {5, "5"},
                 {3.14159L, "3.14159"}, {3.1415926L, "3.14159"},
                 {123456, "123456"},    {1234567, "1.23457e+06"},
                 {1e6L, "1e+06"},       {0.0001L, "0.0001"},
                 {0.00001L, "1e-05"},   {-2.5e-300L, "-2.5e-300"},
                 {0.1L, "0.1"},         {100000.5L, "100000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(RangeText(c.value), c.text);
        Workplace w;
        w.xTo = c.value;
        const auto back = WorkplaceFromBytes(WorkplaceToBytes(w).bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(RangeText(back->xTo), c.text);
    }
}

TEST(WorkplaceFile, ListsOfAnyByteLengthAndLongTexts) {
    for (std::size_t count : {0u, 1u, 127u, 128u, 200u, 255u}) {
        Workplace w;
        for (std::size_t i = 0; i < count; ++i) w.list.push_back("x*" + std::to_string(i));
        const auto back = WorkplaceFromBytes(WorkplaceToBytes(w).bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->list, w.list) << count;
    }
    Workplace w;
    w.formula = std::string(300, 'x');
    w.list = {std::string(1000, '1'), "sin(x)"};
    w.firstLine = std::string(300, 'y');
    w.secondLine = "2";
    const auto back = WorkplaceFromBytes(WorkplaceToBytes(w).bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, w);
}

TEST(WorkplaceFile, WhatTheFileCannotHoldIsRefusedAndNamed) {
    const struct {
        Workplace w;
        std::vector<std::string> named;
    } cases[] = {
        {With([](Workplace& w) { w.formula = "x#2"; }), {"Формула графика", "«#»"}},
        {With([](Workplace& w) {
             w.list = {"a", "b", "c$d"};
         }),
         {"Формула №3 списка", "«$»"}},
        {With([](Workplace& w) { w.firstLine = "1@2"; }), {"Первая строка калькулятора", "«@»"}},
        {With([](Workplace& w) { w.secondLine = "@"; }), {"Вторая строка калькулятора", "«@»"}},
        {With([](Workplace& w) { w.list.assign(256, "x"); }), {"256", "255"}},
        {With([](Workplace& w) { w.formula = "x→y"; }), {"Формула графика", "«→»", "Windows-1251"}},
        {With([](Workplace& w) {
             w.list = {"ok", "日本"};
         }),
         {"Формула №2 списка", "«日»"}},
        {With([](Workplace& w) { w.firstLine = "bad \xff byte"; }), {"Первая строка калькулятора", "UTF-8"}},
        {With([](Workplace& w) {
             w.formula = "a#";
             w.secondLine = "✓";
         }),
         {"Формула графика", "Вторая строка калькулятора", "«✓»"}},
    };
    for (const auto& c : cases) {
        const WorkplaceBytes out = EncodeWorkplace(c.w);
        EXPECT_TRUE(out.bytes.empty());
        for (const std::string& part : c.named) EXPECT_NE(out.refusal.find(part), std::string::npos) << out.refusal;
    }
    // The same terminators elsewhere are harmless: "$" in the formula, "#" in a list entry.
    const WorkplaceBytes fine = EncodeWorkplace(With([](Workplace& w) {
        w.formula = "x$";
        w.list = {"#"};
        w.firstLine = "$#";
    }));
    EXPECT_EQ(fine.refusal, "");
    EXPECT_EQ(DecodeWorkplace(fine.bytes)->firstLine, "$#");
}

TEST(WorkplaceFile, BadMagicIsRefused) {
    const std::vector<std::uint8_t> good = WorkplaceToBytes(Example()).bytes;
    for (std::size_t i = 0; i < workplace_format::kMagic.size(); ++i) {
        std::vector<std::uint8_t> bad = good;
        bad[i] ^= 0x20;  // letter case, or another character
        EXPECT_FALSE(WorkplaceFromBytes(bad)) << i;
        bad[i] = '\n';
        EXPECT_FALSE(WorkplaceFromBytes(bad)) << i;
    }
    for (std::size_t n = 0; n < workplace_format::kMagic.size(); ++n)
        EXPECT_FALSE(WorkplaceFromBytes(std::span(good).first(n))) << n;
    EXPECT_FALSE(WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\n"s)));
    EXPECT_FALSE(WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\n?-10?10?-5?5?x#\x00@@\x01@Eof_"s)));
    EXPECT_FALSE(DecodeWorkplace(Bytes("_kxquantorium+_1.0_!\x00?1?2?3?4?x#"s)));
}

TEST(WorkplaceFile, ATruncatedFileReadsWhatItHas) {
    // The magic alone: every number 0, every text empty.
    const auto bare = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!"s));
    ASSERT_TRUE(bare);
    EXPECT_EQ(*bare, With([](Workplace& w) { w.xFrom = w.xTo = w.yFrom = w.yTo = 0; }));
    // Cut after the second range number and in the middle of the formula.
    const auto half = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x01?-1?2?"s));
    ASSERT_TRUE(half);
    EXPECT_TRUE(half->absolute);
    EXPECT_EQ(half->xFrom, -1);
    EXPECT_EQ(half->xTo, 2);
    EXPECT_EQ(half->yFrom, 0);
    const auto cut = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x00?-1?2?3?4?sin(x"s));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->formula, "sin(x");
    EXPECT_TRUE(cut->list.empty());
    EXPECT_EQ(cut->activeLine, 1);
    // Every prefix of a real file reads without trouble, and each field is a prefix of the one written.
    Workplace full = Example();
    full.firstLine = "12+3";
    full.activeLine = 2;
    const std::vector<std::uint8_t> bytes = WorkplaceToBytes(full).bytes;
    for (std::size_t n = workplace_format::kMagic.size(); n <= bytes.size(); ++n) {
        const auto w = WorkplaceFromBytes(std::span(bytes).first(n));
        ASSERT_TRUE(w) << n;
        EXPECT_EQ(full.formula.rfind(w->formula, 0), 0u) << n;
        EXPECT_EQ(full.firstLine.rfind(w->firstLine, 0), 0u) << n;
        EXPECT_LE(w->list.size(), 2u);
    }
    // A count byte larger than what follows gives empty entries, as missing texts do.
    const auto more = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x00?1?2?3?4?x#\x03"s + "a$"));
    ASSERT_TRUE(more);
    EXPECT_EQ(more->list, (std::vector<std::string>{"a", "", ""}));
}

TEST(WorkplaceFile, OddBytesInNumberFields) {
    const auto w =
        WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x07?2.5xyz?abc?1e99999?-1e-99999?f#\x00@@\x05@Eof_"s));
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->absolute);  // any nonzero byte
    EXPECT_EQ(w->xFrom, 2.5L);
    EXPECT_EQ(w->xTo, 0);
    EXPECT_EQ(w->yFrom, 0);  // too large to hold
    EXPECT_EQ(w->yTo, 0);
    EXPECT_EQ(w->activeLine, 1);
    const auto second = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x00?1?2?3?4?x#\x00@@\x02"s));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->activeLine, 2);
}

// A file is damaged when it ends before its end marker does, or when a range text is not a
// number; what it holds is read all the same.
TEST(WorkplaceFile, DamageIsToldAndTheRestIsKept) {
    Workplace full = Example();
    full.firstLine = "12+3";
    full.activeLine = 2;
    const std::vector<std::uint8_t> bytes = WorkplaceToBytes(full).bytes;
    for (std::size_t n = workplace_format::kMagic.size(); n <= bytes.size(); ++n) {
        bool damaged = false;
        ASSERT_TRUE(WorkplaceFromBytes(std::span(bytes).first(n), &damaged));
        EXPECT_EQ(damaged, n < bytes.size()) << n;
    }
    const std::string good = "_KXQuantorium+_1.0_!\x00?1?2?3?4?x#\x00@@\x01"s;
    const struct {
        std::string bytes;
        bool damaged;
    } cases[] = {
        {good + "@Eof_", false},
        {good + "@Eof_ and more", false},
        {good + "?????", false},  // the marker's bytes are not looked at, only that they are there
        {good + "@Eof", true},
        {good, true},
        {"_KXQuantorium+_1.0_!\x00?1?2?3?4?x#\x00@@"s, true},
        {"_KXQuantorium+_1.0_!\x00?-1.5e+06?2?0.0001?-0?x#\x00@@\x01@Eof_"s, false},
        {"_KXQuantorium+_1.0_!\x00?1?2x?3?4?x#\x00@@\x01@Eof_"s, true},
        {"_KXQuantorium+_1.0_!\x00??2?3?4?x#\x00@@\x01@Eof_"s, true},
        {"_KXQuantorium+_1.0_!\x00?1?2?nan?4?x#\x00@@\x01@Eof_"s, true},
        {"_KXQuantorium+_1.0_!\x00?1?2?3?1e99999?x#\x00@@\x01@Eof_"s, true},
        {"_KXQuantorium+_1.0_!\x00?1?2?3? 4?x#\x00@@\x01@Eof_"s, true},
        // A count larger than the entries there are runs to the end.
        {"_KXQuantorium+_1.0_!\x00?1?2?3?4?x#\x03a$@@\x01@Eof_"s, true},
    };
    for (const auto& c : cases) {
        bool damaged = !c.damaged;
        const auto w = DecodeWorkplace(Bytes(c.bytes), &damaged);
        ASSERT_TRUE(w) << c.bytes;
        EXPECT_EQ(damaged, c.damaged) << c.bytes;
    }
    // What a damaged file holds is what the reader without the question reads.
    bool damaged = false;
    const auto cut = WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x01?1?oops?3?4?sin(x"s), &damaged);
    ASSERT_TRUE(cut);
    EXPECT_TRUE(damaged);
    EXPECT_EQ(*cut, *WorkplaceFromBytes(Bytes("_KXQuantorium+_1.0_!\x01?1?oops?3?4?sin(x"s)));
    EXPECT_EQ(cut->xTo, 0);
    EXPECT_EQ(cut->formula, "sin(x");
}

// The writer keeps to the size the reader takes: a file of the largest size is written, one
// byte more is refused.
TEST(WorkplaceFile, TheWriterKeepsToTheReadersSizeLimit) {
    const std::size_t besides = WorkplaceToBytes(Workplace{}).bytes.size();
    Workplace w;
    w.list = {"sin(x)", "cos(x)"};
    w.formula.assign(workplace_format::kMaxFileBytes - besides - 14, 'x');
    const WorkplaceBytes largest = WorkplaceToBytes(w);
    EXPECT_EQ(largest.refusal, "");
    EXPECT_EQ(largest.bytes.size(), workplace_format::kMaxFileBytes);
    w.list[1] += ' ';
    const WorkplaceBytes over = EncodeWorkplace(w);
    EXPECT_TRUE(over.bytes.empty());
    EXPECT_EQ(over.refusal, "Файл слишком велик для рабочего места: рабочее место занимает не больше 67108864 байт.");
    // With other problems, each is named.
    w.formula += '#';
    EXPECT_NE(WorkplaceToBytes(w).refusal.find("«#»"), std::string::npos);
    EXPECT_NE(WorkplaceToBytes(w).refusal.find("67108864"), std::string::npos);
}

}  // namespace
}  // namespace kq
