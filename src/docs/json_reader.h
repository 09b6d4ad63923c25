// A strict reader of JSON text: what it takes is JSON by the standard's grammar and nothing
// else, so a lone surrogate, a repeated key or bytes that are not UTF-8 are refused, not guessed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    // A string's characters in UTF-8, or a number as it is written (callers read it at the
    // precision they need).
    std::string text;
    std::vector<JsonValue> items;     // an array's elements
    std::vector<JsonMember> members;  // an object's members, in the order written

    bool Is(Kind k) const { return kind == k; }
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

// Nesting deeper than this is refused rather than risking the stack.
inline constexpr int kMaxJsonDepth = 256;

struct JsonReading {
    std::optional<JsonValue> value;
    std::string error;       // in Russian, when there is no value
    std::size_t offset = 0;  // the byte where the error was found, counted from 0
};

// The one value `text` holds (blanks around it and a leading UTF-8 byte order mark allowed).
JsonReading ReadJson(std::string_view text);

// `utf8` as a JSON string, quotes included; control characters, quotes and backslashes escaped.
std::string JsonString(std::string_view utf8);

}  // namespace kq
