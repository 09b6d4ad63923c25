// A workplace as one line of JSON and back, as the `workplace` verb prints and takes it: texts
// in UTF-8, the range as numbers that read back to the very 80-bit values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "docs/workplace.h"

namespace kq {

// One JSON object with the keys in alphabetical order, no blanks, no line end.
std::string WorkplaceToJson(const Workplace& w);

// The workplace a JSON object describes, every key left out keeping a new workplace's value;
// nothing, with `error` saying why in Russian, for text that is not JSON (a lone surrogate and
// a repeated key included) or an object that is not such a workplace.
std::optional<Workplace> WorkplaceFromJson(std::string_view json, std::string& error);

// The shortest %g text in C notation that reads back as exactly `value` ("1e+4932", "0.1");
// "null" for a value that is not finite.
std::string ExactNumberText(long double value);

}  // namespace kq
