// Reading numbers out of formula text, always in the C notation (a point, never a locale's comma).
#pragma once

#include <string>
#include <string_view>

namespace kq {

// The longest prefix of `text` that reads as a decimal number ([sign] digits [. digits]
// [e [sign] digits]); 0 when there is none. Correctly rounded over the whole range of long
// double, subnormals included: infinity beyond the largest value, 0 only for what lies nearer
// to 0 than to the smallest subnormal, however many digits the text has.
long double LeadingDecimal(std::string_view text);

// Length of that prefix (0 when the text does not start with a number).
std::size_t LeadingDecimalLength(std::string_view text);

// The digits before the first suffix letter (s, o, h, b), read in `base` ("1.1" in base 2 is 1.5);
// "A".."Z" are 10..35, digits are not checked against the base, every "-" is skipped and
// a leading "-" negates.
long double DigitsInBase(std::string_view text, long double base);

// A based literal or decimal text as the formula language reads an operand that is not a
// variable: "21s3", "FFh", "17o", "101b", "3.5".
long double ReadNumberOperand(std::string_view text);

}  // namespace kq

namespace kq {

// printf-style formatting of one long double in the C locale, whatever the process locale
// ("%.18Lg", "%.4Lg").
std::string FormatC(const char* format, long double value);

// The whole of `text` as a number in C notation; false when anything is left over.
bool ParseWholeDecimal(std::string_view text, long double& value);

}  // namespace kq
