// `quantorium plot`: a graph drawn straight into a PNG, BMP, SVG, PDF or EMF file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// Needs a QGuiApplication. Returns the exit status: 0 written, 1 the file could not be
// written (a file that was there is left as it was), 2 usage error.
int RunPlotCommand(const std::vector<std::string>& args, std::ostream& err);

// The usage line of the verb.
std::string PlotUsage();

}  // namespace kq
