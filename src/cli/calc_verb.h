// `quantorium calc`: expressions evaluated exactly as the calculator's "=" does.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// quantorium calc [--base B] [--round R] [--degrees] [EXPR...]
// Returns 0 when all evaluated, 1 when any failed or the output could not be written, 2 for a
// usage error. Lines of standard input are answered as they come.
int RunCalcCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// The usage line of the verb.
std::string CalcUsage();

}  // namespace kq
