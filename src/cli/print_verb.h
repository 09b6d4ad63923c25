// `quantorium print`: the print routine into a PDF file on an A4 page, with the print
// dialog's settings given as options.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kq {

// Needs a QGuiApplication. Returns the exit status: 0 printed, 1 the file could not be
// written (a file that was there is left as it was), 2 usage error.
int RunPrintCommand(const std::vector<std::string>& args, std::ostream& err);

// The usage line of the verb.
std::string PrintUsage();

}  // namespace kq
