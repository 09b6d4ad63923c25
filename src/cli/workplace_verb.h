// `quantorium workplace FILE.kwp` prints a workplace file as JSON; `quantorium workplace
// --write FILE.kwp` writes the JSON on standard input as the window's "Сохранить" would.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// Returns the exit status: 0 done, 1 the file cannot be read or the state cannot be kept,
// 2 bad JSON or usage.
int RunWorkplaceCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                        std::ostream& err);

// The usage line of the verb.
std::string WorkplaceUsage();

}  // namespace kq
