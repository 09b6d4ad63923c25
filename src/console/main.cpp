// Entry point of the console program: the verbs of the core, with the same texts as the
// windowed program's.
#include <iostream>
#include <string>
#include <vector>

#include "cli/verb_table.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Кванториум+: формулы и калькулятор.\n\nиспользование:\n";
    kq::PrintVerbUsages(out, kq::CoreVerbs());
    out << "  quantorium --help               эта справка\n";
}

}  // namespace

int main(int argc, char** argv) {
    // The verbs read and write through the C++ streams alone; buffered, they also know when
    // more input is already waiting.
    std::ios::sync_with_stdio(false);
    const std::string first = argc > 1 ? argv[1] : "";
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (kq::IsHelpRequest(first)) {
        PrintUsage(std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    if (const auto status = kq::RunVerb(kq::CoreVerbs(), first, args, argv[0])) return *status;
    if (first.empty())
        std::cerr << "quantorium: нужна команда\n";
    else
        std::cerr << "quantorium: неизвестная команда \"" << first << "\"\n";
    PrintUsage(std::cerr);
    return 2;
}
