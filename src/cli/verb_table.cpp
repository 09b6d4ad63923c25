#include "cli/verb_table.h"

#include <iostream>

#include "cli/calc_verb.h"
#include "cli/eval_verb.h"
#include "cli/points_verb.h"

namespace kq {
namespace {

const Verb kCoreVerbs[] = {
    {"eval", EvalUsage, [](const std::vector<std::string>& a, char*) { return RunEvalCommand(a, std::cin, std::cout, std::cerr); }},
    {"calc", CalcUsage, [](const std::vector<std::string>& a, char*) { return RunCalcCommand(a, std::cin, std::cout, std::cerr); }},
    {"points", PointsUsage, [](const std::vector<std::string>& a, char*) { return RunPointsCommand(a, std::cout, std::cerr); }},
};

}  // namespace

std::span<const Verb> CoreVerbs() { return kCoreVerbs; }

bool IsHelpRequest(std::string_view word) { return word == "--help" || word == "-h" || word == "help"; }

std::optional<int> RunVerb(std::span<const Verb> verbs, std::string_view name, const std::vector<std::string>& args,
                           char* program) {
    for (const Verb& v : verbs)
        if (name == v.name) return v.run(args, program);
    return std::nullopt;
}

void PrintVerbUsages(std::ostream& out, std::span<const Verb> verbs) {
    for (const Verb& v : verbs) out << "  " << v.usage() << "\n";
}

}  // namespace kq
