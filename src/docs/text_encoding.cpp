#include "docs/text_encoding.h"

#include <array>
#include <cstdint>

namespace kq {
namespace {

// The characters of the bytes 0x80..0xFF; 0 for 0x98, the one byte the code page leaves
// undefined. The bytes below 0x80 are ASCII. A table of our own gives the same answers on
// every system, where the C library's converters differ or are missing.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The UTF-8 sequence length a lead byte announces (1 for anything that cannot lead).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

// The character at the start of `text` and its length in bytes; length 0 when the text does
// not start with well-formed UTF-8 (overlong forms, surrogates and values above U+10FFFF are
// not).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = SequenceLength(lead);
    if (length == 1 || length > text.size()) return {0, 0};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = c << 6 | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, length};
}

// The byte of `c` in the code page, or -1 when it has none.
int Cp1251Byte(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
        if (kUpperHalf[i] != 0 && kUpperHalf[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char byte : cp1251) {
        const auto b = static_cast<unsigned char>(byte);
        const char16_t c = b < 0x80 ? b : kUpperHalf[b - 0x80];
        if (b >= 0x80 && c == 0)
            out += "\xEF\xBF\xBD";  // U+FFFD
        else
            AppendUtf8(c, out);
    }
    return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8, std::string* offending) {
    if (offending) offending->clear();
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto [c, length] = DecodeUtf8(utf8);
        const int byte = length > 0 ? Cp1251Byte(c) : -1;
        if (byte < 0) {
            // A malformed sequence is not a character to name.
            if (offending && length > 0) *offending = std::string(utf8.substr(0, length));
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace kq
