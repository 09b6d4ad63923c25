// `quantorium eval --check`: what the engine would silently do with doubtful formulas, instead
// of their values.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// What --check does and the format it writes, for the usage text (indented lines to follow the
// usage line, no line end after the last).
extern const char* const kCheckUsage;

// One formula's block: its "POSITION: MESSAGE" lines and an empty line; true when it is clean.
bool CheckFormula(const std::string& formula, std::ostream& out);

// For each formula (the operands, or each line of `in` as it comes), one "POSITION: MESSAGE"
// line per doubt (POSITION: 0-based byte offset in the formula as given) and then an empty
// line, so a clean formula gives just the empty line. Returns 0 when every formula is clean,
// 1 otherwise or when the output could not be written.
int RunCheck(const std::vector<std::string>& formulas, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kq
