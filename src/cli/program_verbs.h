// Every verb of the windowed program: the core's eval and calc, and the verbs that draw with
// the toolkit (plot, surface, print) or reach files through it (workplace).
#pragma once

#include <span>

#include "cli/verb_table.h"

namespace kq {

std::span<const Verb> ProgramVerbs();

}  // namespace kq
