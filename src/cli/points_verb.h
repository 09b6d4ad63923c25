// `quantorium points`: the notable points of a view's curves (roots, extrema, inflections,
// crossings, breaks, domain ends) and, on request, the signed areas under them, one line each.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// quantorium points [--degrees] [--exact] [--round R] [--abs] [--range XMIN XMAX YMIN YMAX]
//                   [--list FORMULA]... [--area A B] FORMULA
// Returns the exit status: 0 answered, 1 the output could not be written, 2 usage error.
int RunPointsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage line of the verb.
std::string PointsUsage();

}  // namespace kq
