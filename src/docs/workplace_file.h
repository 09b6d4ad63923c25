// The workplace file's bytes: writing a workplace out and reading one back. Texts here are
// already in the file's 8-bit code page; workplace_codec.h converts them from and to UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "docs/workplace.h"

namespace kq {

// The bytes of a file, or, when `refusal` is not empty, why the workplace cannot be kept
// (then `bytes` is empty and nothing must be written).
struct WorkplaceBytes {
    std::vector<std::uint8_t> bytes;
    std::string refusal;  // UTF-8, one line per problem
};

// The whole file for `w`. Refuses more than 255 list entries, a text that contains its own
// field's terminator and a file larger than workplace_format::kMaxFileBytes, since none of
// them would read back as written.
WorkplaceBytes WorkplaceToBytes(const Workplace& w);

// The workplace in `bytes`, or nothing when they do not start with the magic. Past the magic
// what is there is kept: a field the bytes lack is an empty text, a missing number is 0, and a
// range text that is not a number (or one too large to hold) is 0 as well. The active line is
// 1 unless the byte says 2. `damaged`, when given, tells whether the bytes end before the end
// marker does or a range text is not a number.
std::optional<Workplace> WorkplaceFromBytes(std::span<const std::uint8_t> bytes, bool* damaged = nullptr);

// The six-significant-digit text a range number is kept as ("-10", "3.14159", "1e+06").
std::string RangeText(long double value);

// Fills %1, %2, ... of a message pattern.
std::string FillMessage(std::string pattern, const std::vector<std::string>& values);

// Why a file is too large for a workplace, the same whether it is read or would be written.
std::string TooLargeText();

// The Russian name of a text field in messages: 0 the formula, 1 and 2 the calculator lines.
std::string FieldName(int field);
std::string ListEntryName(std::size_t index);  // 0-based index, named from 1

}  // namespace kq
