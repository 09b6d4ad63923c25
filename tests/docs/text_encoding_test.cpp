// Windows-1251 against UTF-8: every byte of the code page, and what it cannot encode.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "docs/text_encoding.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

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

// The system's own converter, as an independent answer: the text in the other encoding, or
// nothing when it cannot convert all of it.
std::optional<std::string> SystemConverts(const std::string& text, bool toUtf8) {
#if defined(_WIN32)
    const UINT from = toUtf8 ? 1251 : CP_UTF8, to = toUtf8 ? CP_UTF8 : 1251;
    wchar_t wide[16];
    const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide, 16);
    if (n <= 0) return std::nullopt;
    char bytes[64];
    BOOL lossy = FALSE;
    const int m = WideCharToMultiByte(to, to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, n, bytes, sizeof bytes,
                                      nullptr, to == CP_UTF8 ? nullptr : &lossy);
    if (m <= 0 || lossy) return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(m));
#else
    const iconv_t cd = toUtf8 ? iconv_open("UTF-8", "WINDOWS-1251") : iconv_open("WINDOWS-1251", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in = text;
    char out[64];
    char* source = in.data();
    char* target = out;
    std::size_t left = in.size(), room = sizeof out;
    const std::size_t r = iconv(cd, &source, &left, &target, &room);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1) || left != 0) return std::nullopt;
    return std::string(out, static_cast<std::size_t>(target - out));
#endif
}

std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// Every byte and every character of the basic plane (and a few beyond) as the system's
// converter has them; 0x98, which Windows passes through as U+0098, is the tested exception.
TEST(TextEncoding, AgreesWithTheSystemsConverter) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(std::optional<std::string>(Cp1251ToUtf8(one)), SystemConverts(one, true)) << b;
    }
    for (char32_t c = 0; c < 0x11000; c += c < 0x10000 ? 1 : 0x3F) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c == 0x98) continue;
        const std::string text = "a" + Utf8Of(c) + "z";
        ASSERT_EQ(Utf8ToCp1251(text), SystemConverts(text, false)) << static_cast<unsigned>(c);
    }
    // Malformed UTF-8: overlong forms, surrogates, values past U+10FFFF, cut sequences.
    for (const char* bad : {"\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
                            "\xE2\x82", "\x80", "\xC3\x28"}) {
        std::string offending = "stale";
        EXPECT_EQ(Utf8ToCp1251(bad, &offending), std::nullopt);
        EXPECT_EQ(offending, "") << "a malformed sequence is no character";
        EXPECT_EQ(SystemConverts(bad, false), std::nullopt);
    }
}

}  // namespace
}  // namespace kq
