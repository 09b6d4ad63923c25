// Text rewriting that runs before compilation: blanks dropped, "," made ".", "|...|" made
// "(abs(...))", and the two-argument macros such as "log<b>(a)" expanded.
#pragma once

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

    // Defines "pow", "rtt" and "log".
    Filter();

    // Adds a macro; `templ` holds %1 (the argument in parentheses) and %2 (the one in angle
    // brackets). Only nine macros fit: a definition past that is ignored and returns false.
    bool DefineMacro(std::string_view name, std::string_view templ);

    // The text ready for compilation.
    std::string Apply(std::string_view text) const;

    int MacroCount() const { return static_cast<int>(macros_.size()); }
    const std::vector<MacroTemplate>& Macros() const { return macros_; }

private:
    static std::string ReplaceBars(std::string text);

    std::vector<MacroTemplate> macros_;
    int defined_ = 0;  // definitions asked for, including those that did not fit
};

}  // namespace kq
