// The command line's verbs as a table: each verb's name, its usage lines and how it runs. The
// console program serves the verbs without the toolkit; the windowed program serves them all.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

struct Verb {
    const char* name;
    std::string (*usage)();
    // The arguments after the verb, and the program's own name (argv[0]) for a toolkit that
    // wants one; returns the exit status.
    int (*run)(const std::vector<std::string>& args, char* program);
};

// eval, calc and points: what works without the toolkit.
std::span<const Verb> CoreVerbs();

// "--help", "-h" or "help".
bool IsHelpRequest(std::string_view word);

// Runs the verb named `name`; nothing when none of `verbs` has that name.
std::optional<int> RunVerb(std::span<const Verb> verbs, std::string_view name, const std::vector<std::string>& args,
                           char* program);

// One indented usage line (or block) per verb, for the program's --help.
void PrintVerbUsages(std::ostream& out, std::span<const Verb> verbs);

}  // namespace kq
