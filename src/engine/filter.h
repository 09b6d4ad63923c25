// Text rewriting that runs before compilation: blanks dropped, "," made ".", "|...|" made
// "(abs(...))", and the two-argument macros such as "log<b>(a)" expanded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

// One macro: "name<second>(first)" becomes before + first + middle + second + after.
struct MacroTemplate {
    std::string opening;  // the name followed by "<"
    std::string before;   // template text before %1
    std::string middle;   // between %1 and %2
    std::string after;    // after %2
};

class Filter {
public:
    static constexpr int kCapacity = 10;

    // Each pass over the bars opens one more level of nested pairs. Pairs nested deeper than
    // this are left as bars: the compiler gives up at 200 levels of brackets long before, since
    // every pair becomes two, and the limit keeps the passes from costing the square of the text.
    static constexpr int kMaxBarPasses = 128;

    // Defines the language's macros (LanguageMacros: "pow", "rtt" and "log").
    Filter();

    // Adds a macro; `templ` holds %1 (the argument in parentheses) and %2 (the one in angle
    // brackets). Only nine macros fit: a definition past that is ignored and returns false.
    bool DefineMacro(std::string_view name, std::string_view templ);

    // The text ready for compilation.
    std::string Apply(std::string_view text) const;

    // Where a character of the compiled text comes from: its position in the text as typed; for
    // a character a bar or a macro put there, this flag and the position of that bar or of the
    // macro's name.
    static constexpr std::uint32_t kInserted = 1u << 31;

    // The same, with the origin of every character of the result (texts shorter than kInserted).
    std::string Apply(std::string_view text, std::vector<std::uint32_t>& origins) const;

    int MacroCount() const { return static_cast<int>(macros_.size()); }
    const std::vector<MacroTemplate>& Macros() const { return macros_; }

private:
    std::string Rewrite(std::string_view text, std::vector<std::uint32_t>* origins) const;
    static std::string ReplaceBars(std::string text, std::vector<std::uint32_t>* origins);

    std::vector<MacroTemplate> macros_;
    int defined_ = 0;  // definitions asked for, including those that did not fit
};

}  // namespace kq
