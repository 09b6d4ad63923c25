// Windows-1251 against UTF-8: every byte of the code page, and what it cannot encode.
#include <gtest/gtest.h>

#include "docs/text_encoding.h"

namespace kq {
namespace {

TEST(TextEncoding, EveryDefinedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = Cp1251ToUtf8(one);
        ASSERT_FALSE(utf8.empty()) << b;
        EXPECT_EQ(Utf8ToCp1251(utf8), one) << b;
    }
    EXPECT_EQ(Cp1251ToUtf8("\xc0\xe1\xe2 \xa8\xb8 \xb9 \x88"), "Абв Ёё № €");
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");
}

TEST(TextEncoding, UnencodableCharactersAreNamed) {
    const struct {
        const char* utf8;
        const char* offending;
    } cases[] = {{"x→y", "→"}, {"日本", "日"}, {"ok 😀", "😀"}, {"abc\xff", ""}, {"\xd0", ""}, {"Ω", "Ω"}};
    for (const auto& c : cases) {
        std::string offending = "stale";
        EXPECT_FALSE(Utf8ToCp1251(c.utf8, &offending)) << c.utf8;
        EXPECT_EQ(offending, c.offending);
    }
    std::string offending = "stale";
    EXPECT_EQ(Utf8ToCp1251("", &offending), "");
    EXPECT_EQ(offending, "");
    EXPECT_EQ(Utf8ToCp1251(std::string(5000, 'x') + "Я"), std::string(5000, 'x') + "\xdf");
}

// Runs of ASCII and of other characters in any order and length come out the same both ways.
TEST(TextEncoding, MixedRunsRoundTrip) {
    const std::string pieces[] = {"x", "2+2", "Ж", "ёлка", "«№»", " ", "€", std::string(3000, 'q')};
    std::string utf8;
    for (int i = 0; i < 200; ++i) utf8 += pieces[(i * 7 + i / 3) % 8];
    const auto cp1251 = Utf8ToCp1251(utf8);
    ASSERT_TRUE(cp1251);
    EXPECT_EQ(Cp1251ToUtf8(*cp1251), utf8);
    std::string offending;
    EXPECT_FALSE(Utf8ToCp1251(utf8 + "ok→" + utf8, &offending));
    EXPECT_EQ(offending, "→");
    EXPECT_FALSE(Utf8ToCp1251("Ж\xd0 x", &offending));  // a lead byte cut off by ASCII
    EXPECT_EQ(offending, "");
}

}  // namespace
}  // namespace kq
