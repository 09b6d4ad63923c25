// The strict JSON reader: the standard's grammar taken whole, and every text outside it refused
// with a reason and the byte where it was found.
#include <gtest/gtest.h>

#include <string>

#include "docs/json_reader.h"

namespace kq {
namespace {

using namespace std::string_literals;
using Kind = JsonValue::Kind;

TEST(JsonReader, ValuesOfEveryKind) {
    const JsonReading r = ReadJson(
        " {\"a\": [true, false, null, -0, 12.5e-3, \"\"], \"b\": {}, \"c\": [], \"\\u0436\\t\": \"x\\\"\\\\\\/\\b\\f\\n\\r\"} ");
    ASSERT_TRUE(r.value) << r.error;
    const JsonValue& v = *r.value;
    ASSERT_TRUE(v.Is(Kind::Object));
    ASSERT_EQ(v.members.size(), 4u);
    EXPECT_EQ(v.members[0].key, "a");
    const auto& a = v.members[0].value.items;
    ASSERT_EQ(a.size(), 6u);
    EXPECT_TRUE(a[0].Is(Kind::Bool) && a[0].boolean);
    EXPECT_TRUE(a[1].Is(Kind::Bool) && !a[1].boolean);
    EXPECT_TRUE(a[2].Is(Kind::Null));
    EXPECT_EQ(a[3].text, "-0");
    EXPECT_EQ(a[4].text, "12.5e-3");  // numbers keep their text
    EXPECT_TRUE(a[5].Is(Kind::String) && a[5].text.empty());
    EXPECT_TRUE(v.members[1].value.Is(Kind::Object));
    EXPECT_TRUE(v.members[2].value.Is(Kind::Array));
    EXPECT_EQ(v.members[3].key, "ж\t");
    EXPECT_EQ(v.members[3].value.text, "x\"\\/\b\f\n\r");
}

TEST(JsonReader, EscapesAndUtf8BecomeTheSameCharacters) {
    const struct {
        std::string json, text;
    } cases[] = {
        {R"("\u0041\u00e9\u0436\u20ac")", "Aéж€"},
        {R"("\ud83d\ude00")", "😀"},
        {R"("\uD834\uDD1E")", "𝄞"},
        {"\"Aéж€😀\"", "Aéж€😀"},
        {"\xEF\xBB\xBF\"bom\"", "bom"},
        {R"("\u0000")", "\0"s},
        {"\"\x7F\"", "\x7F"},
    };
    for (const auto& c : cases) {
        const JsonReading r = ReadJson(c.json);
        ASSERT_TRUE(r.value) << c.json << ": " << r.error;
        EXPECT_EQ(r.value->text, c.text) << c.json;
    }
}

TEST(JsonReader, WhatIsNotJsonIsRefusedWithItsPlace) {
    const struct {
        std::string json;
        const char* said;
        std::size_t at;
    } cases[] = {
        {"", "текст обрывается", 0},
        {"  ", "текст обрывается", 2},
        {"{", "текст обрывается", 1},
        {"{\"a\" 1}", "ожидалось «:»", 5},
        {"{\"a\": 1 \"b\": 2}", "«,» или «}»", 8},
        {"[1 2]", "«,» или «]»", 3},
        {"[1,]", "ожидалось значение", 3},
        {"{\"a\": 1,}", "ожидалось имя поля", 8},
        {"{'a': 1}", "ожидалось имя поля", 1},
        {"tru", "ожидалось значение", 0},
        {"nul", "ожидалось значение", 0},
        {"1 2", "лишний текст", 2},
        {"{} x", "лишний текст", 3},
        {"01", "неверное число", 1},
        {"-", "неверное число", 1},
        {"1.", "неверное число", 2},
        {".5", "ожидалось значение", 0},
        {"1e", "неверное число", 2},
        {"+1", "ожидалось значение", 0},
        {"NaN", "ожидалось значение", 0},
        {"Infinity", "ожидалось значение", 0},
        {"\"abc", "текст обрывается", 4},
        {"\"a\nb\"", "управляющий символ", 2},
        {"\"a\\x\"", "escape", 2},
        {"\"\\u12G4\"", "escape", 5},
        {"\"\\u12", "текст обрывается", 5},
        {R"("\ud800")", "\\ud800 — половина суррогатной пары", 1},
        {R"("ab\udfff")", "\\udfff", 3},
        {R"("\ud800\u0041")", "\\ud800", 1},
        {R"("\ud800\ud800")", "\\ud800", 1},
        {R"("\ude00\ud83d")", "\\ude00", 1},
        {"\"\xFF\"", "UTF-8", 1},
        {"\"\xC0\xAF\"", "UTF-8", 1},            // an overlong "/"
        {"\"\xED\xA0\x80\"", "UTF-8", 1},        // a surrogate written out in UTF-8
        {"\"\xF4\x90\x80\x80\"", "UTF-8", 1},    // past U+10FFFF
        {"\"\xE2\x82\"", "UTF-8", 1},            // cut short
        {"{\"a\": 1, \"a\": 2}", "\"a\" задано дважды", 9},
        {"{\"a\": {\"b\": 1, \"b\": 1}}", "\"b\" задано дважды", 15},
        {"{\"\\u0061\": 1, \"a\": 2}", "\"a\" задано дважды", 14},
        {std::string(257, '[') + std::string(257, ']'), "вложенность глубже 256 уровней", 256},
    };
    for (const auto& c : cases) {
        const JsonReading r = ReadJson(c.json);
        EXPECT_FALSE(r.value) << c.json;
        EXPECT_NE(r.error.find(c.said), std::string::npos) << c.json << ": " << r.error;
        EXPECT_EQ(r.offset, c.at) << c.json << ": " << r.error;
    }
    // Exactly as deep as allowed is fine; the same keys in different objects too.
    EXPECT_TRUE(ReadJson(std::string(256, '[') + std::string(256, ']')).value);
    EXPECT_TRUE(ReadJson(R"([{"a": 1}, {"a": 2}])").value);
}

TEST(JsonReader, StringsWrittenReadBack) {
    for (const std::string& text :
         {""s, "plain"s, "quote \" and \\ backslash"s, "\b\f\n\r\t"s, "\x01\x1F\x7F"s, "\0"s, "ж€😀"s}) {
        const std::string json = JsonString(text);
        const JsonReading r = ReadJson(json);
        ASSERT_TRUE(r.value) << json << ": " << r.error;
        EXPECT_EQ(r.value->text, text);
        for (const char c : json) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << json;
    }
    EXPECT_EQ(JsonString("a\"b\n\x01"), R"("a\"b\n\u0001")");
}

}  // namespace
}  // namespace kq
