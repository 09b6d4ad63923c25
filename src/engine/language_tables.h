// The formula language beyond its functions, in tables as the functions are: the numbered
// functions' prefixes, the number suffixes, the macros and the names of the variables and
// constants. The translator, the diagnosis, the calculator's notation and the help all read
// them here.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "engine/function_codes.h"

namespace kq {

// A numbered function at the start of a factor's head: "rt2", "pw-3" (the number may be
// missing or bad: "pwx" is pw0). Its entry and the length of its name, or null when the head
// is no numbered function with something after its name.
struct NumberedHead {
    const FunctionInfo* function = nullptr;
    std::size_t nameLength = 0;
};
NumberedHead NumberedFunctionAt(std::string_view head);

// A lower-case letter after a number's digits that names its base. A letter with base 0 takes
// the base from the decimal number written after it ("21s3").
struct NumberSuffix {
    char letter;
    int base;
    const char* system;                // for the help, UTF-8: "двоичная"
    std::array<const char*, 2> examples;  // literals the help shows with their values; null after the last
};
std::span<const NumberSuffix> NumberSuffixes();
// The suffix whose letter is `c`; null for any other character.
const NumberSuffix* SuffixOfLetter(char c);
// The suffix letters, in the table's order ("bohs"): where a literal's digits end.
std::string_view SuffixLetters();
// The fixed suffix of `base` (2 "b", 8 "o", 16 "h"); null for a base written after its letter.
const NumberSuffix* SuffixOfBase(int base);
// The suffix that takes its base after the letter.
const NumberSuffix& NumberedSuffix();

// A macro: "name<second>(first)" becomes its template with %1 the first argument and %2 the
// second.
struct MacroInfo {
    const char* name;
    const char* templ;
    const char* meaning;  // for the help, UTF-8
    const char* example;  // a use of it and what it gives, for the help, UTF-8
    const char* exampleResult;
};
std::span<const MacroInfo> LanguageMacros();

// The names a factor may be besides numbers and functions.
enum class NameKind {
    VariableX,  // any factor that starts with the name ("x2" is x)
    VariableY,
    Pi,         // the factor is the name alone
    EulerExponent,  // the exponent is the name alone: "x^e" is x to the power e
};
struct LanguageName {
    std::string_view name;
    NameKind kind;
    const char* meaning;  // for the help, UTF-8
};
std::span<const LanguageName> LanguageNames();
// The variable or constant a factor is; null for any other factor.
const LanguageName* NameOfFactor(std::string_view factor);
// Whether an exponent's text is a name the exponent is on its own ("e").
bool IsExponentName(std::string_view exponent);

}  // namespace kq
