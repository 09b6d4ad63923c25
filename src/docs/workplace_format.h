// The workplace file's fixed bytes and limits: the magic, the field terminators and the end
// marker. The reader and the writer take every constant of the format from here.
#pragma once

#include <cstddef>
#include <string_view>

namespace kq::workplace_format {

// The first 20 bytes of every workplace file, no NUL and no line end after them.
inline constexpr std::string_view kMagic = "_KXQuantorium+_1.0_!";
// The bytes after the last field; the reader does not look at them.
inline constexpr std::string_view kEndMarker = "@Eof_";

inline constexpr char kSeparator = '?';     // after the |y| flag
inline constexpr char kRangeEnd = '?';      // after each of the four range numbers
inline constexpr char kFormulaEnd = '#';    // after the plane formula
inline constexpr char kListEntryEnd = '$';  // after each list formula
inline constexpr char kCalcLineEnd = '@';   // after each calculator line
inline constexpr char kLineFeed = '\n';

// The largest workplace file, for reading and for writing alike: a file the reader would
// refuse is never written.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

// The list's length is one byte.
inline constexpr std::size_t kMaxListEntries = 255;
// Range numbers keep 6 significant digits in the file.
inline constexpr const char* kRangeFormat = "%.6Lg";

// The active calculator line's byte.
inline constexpr int kFirstLine = 1;
inline constexpr int kSecondLine = 2;

}  // namespace kq::workplace_format
