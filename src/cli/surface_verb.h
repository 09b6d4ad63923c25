// `quantorium surface`: the surface drawn into a PNG, BMP, SVG or PDF file, or its evaluated
// grid printed one point a line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// Needs a QGuiApplication for pictures. Returns the exit status: 0 done (a grid with failing
// points too), 1 the file or the output could not be written (a file that was there is left
// as it was), 2 usage error.
int RunSurfaceCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage lines of the verb (two forms).
std::string SurfaceUsage();

}  // namespace kq
