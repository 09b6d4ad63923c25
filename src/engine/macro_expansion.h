// Expansion of one two-argument macro ("log<b>(a)") throughout a formula text, in time that
// grows with the text and the number of expansions, not with their product, whatever the nesting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kq {

struct MacroTemplate;

// The text with `macro` expanded: round after round the first occurrence of the macro's
// opening ("log<") in the whole text is replaced by before + (argument) + middle + <argument> +
// after, so occurrences inside arguments, or formed by an expansion, are expanded in later
// rounds. There are as many rounds as the text held openings to begin with, plus one.
//
// An argument in angle brackets ends at the ">" that closes the opening's "<"; one character
// after that ">" (normally "(") is dropped; the other argument ends at the ")" that closes
// it. An argument that never closes runs to the end of the text.
//
// `origins`, when given, holds where each character of `text` came from (see Filter::kInserted)
// and is replaced by the same for the result; the template's characters come from the macro's
// name, marked inserted.
std::string ExpandMacro(const MacroTemplate& macro, std::string text, std::vector<std::uint32_t>* origins = nullptr);

}  // namespace kq
