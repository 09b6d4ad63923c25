// `quantorium calc`: expressions evaluated exactly as the calculator's "=" does.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// quantorium calc [--base B] [--round R] [--degrees] [EXPR...]
// Returns 0 when all evaluated, 1 when any failed, 2 for a usage error.
int RunCalcCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kq
