// Entry point of the console program: the verbs of the core, with the same texts as the
// windowed program's.
#include <iostream>
#include <string>
#include <vector>

#include "app/eval_command.h"
#include "calc/calc_command.h"

namespace {

using Args = std::vector<std::string>;

struct Verb {
    const char* name;
    std::string (*usage)();
    int (*run)(const Args& args);
};

const Verb kVerbs[] = {
    {"eval", kq::EvalUsage, [](const Args& a) { return kq::RunEvalCommand(a, std::cin, std::cout, std::cerr); }},
    {"calc", kq::CalcUsage, [](const Args& a) { return kq::RunCalcCommand(a, std::cin, std::cout, std::cerr); }},
};

void PrintUsage(std::ostream& out) {
    out << "Кванториум+: формулы и калькулятор.\n\nиспользование:\n";
    for (const Verb& v : kVerbs) out << "  " << v.usage() << "\n";
    out << "  quantorium --help               эта справка\n";
}

}  // namespace

int main(int argc, char** argv) {
    // The verbs read and write through the C++ streams alone; buffered, they also know when
    // more input is already waiting.
    std::ios::sync_with_stdio(false);
    const std::string first = argc > 1 ? argv[1] : "";
    const Args args(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (first == "--help" || first == "-h" || first == "help") {
        PrintUsage(std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    for (const Verb& v : kVerbs)
        if (first == v.name) return v.run(args);
    if (first.empty())
        std::cerr << "quantorium: нужна команда\n";
    else
        std::cerr << "quantorium: неизвестная команда \"" << first << "\"\n";
    PrintUsage(std::cerr);
    return 2;
}
