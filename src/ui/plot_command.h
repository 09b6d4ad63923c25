// `quantorium plot`: a graph drawn straight into a PNG, BMP, SVG, PDF or EMF file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// Needs a QGuiApplication. Returns the exit status: 0 written, 2 usage error or unwritable file.
int RunPlotCommand(const std::vector<std::string>& args, std::ostream& err);

}  // namespace kq
