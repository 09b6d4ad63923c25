// The texts of the "Графики" page's range editors: what a bound's text reads as, what is wrong
// with a pair of them, and how a bound is shown.
#pragma once

#include <string>
#include <string_view>

namespace kq {

// A range editor's text as a number (a point separates decimals); anything else is 0.
long double ReadRange(std::string_view text);

// What is wrong with a pair of range editors, in Russian, one text for each ("" when it is
// fine): a text that is not a number (it counts as 0), or an "от" not below its "до".
struct RangeProblems {
    std::string from, to;
};
RangeProblems CheckRange(std::string_view fromText, std::string_view toText);

// Whether a range text is a number of exactly `value`, however it is written ("-10.0").
bool ReadsAs(std::string_view text, long double value);

// A bound as the editors show it: 4 significant digits, %g style.
std::string WriteRange(long double value);

}  // namespace kq
