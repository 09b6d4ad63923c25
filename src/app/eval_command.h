// `quantorium eval`: formulas evaluated at given points, printed one line each.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// quantorium eval [--degrees] [--round R] [--x X]... [--y Y] [FORMULA...]
// Returns the exit status: 0 all evaluated, 1 some failed or the output could not be
// written, 2 usage error.
int RunEvalCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// The usage line of the verb.
std::string EvalUsage();

}  // namespace kq
