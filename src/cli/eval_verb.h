// `quantorium eval`: formulas evaluated at given points, printed one line each.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// quantorium eval [--degrees] [--round R] [--x X]... [--y Y] [--check] [FORMULA...]
// Returns the exit status: 0 all evaluated, 1 some failed or the output could not be
// written, 2 usage error. With --check the formulas are not evaluated but diagnosed (see
// RunCheck).
int RunEvalCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// The usage line of the verb.
std::string EvalUsage();

}  // namespace kq
