// The digits of a whole number held in a long double: every digit exactly, or the fewest
// significant digits, padded with zeros, that the formula language reads back to the same value.
#pragma once

#include <string>

namespace kq {

// Digit characters: 0-9, then A-Z for 10..35.
char DigitChar(unsigned digit);

// All the digits of a non-negative whole `integer` in base 2..36, exactly, however large
// ("0" for zero). No suffix.
std::string ExactIntegerDigits(long double integer, unsigned base);

// The shortest digit string (significant digits padded with zeros, no suffix) whose text with
// `suffix` the engine reads back as `integer`. A base whose reading rounds at every digit may
// reach no string exactly: then the one that reads back nearest, the shortest of equals.
// Meant for the values the exact digits would fill with noise, beyond 2^64.
std::string ShortestIntegerDigits(long double integer, unsigned base, const std::string& suffix);

}  // namespace kq
