// Windows-1251, the code page of workplace files, to and from UTF-8, by a table of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kq {

// Every byte has a character except 0x98, which becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);

// The Windows-1251 bytes of `utf8`, or nothing when a character has no code there; then
// `offending` (when given) is that character in UTF-8, or empty when `utf8` is not UTF-8.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8, std::string* offending = nullptr);

}  // namespace kq
