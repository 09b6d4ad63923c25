// Parts of the guide that are made from the engine itself, so the guide cannot fall behind
// the language: the tables of its functions, number suffixes, macros and names.
#pragma once

#include <string>

namespace kq {

// The table of the language's functions (HTML): names and aliases, meaning, where undefined.
std::string FunctionTableHtml();
// The number suffixes: the letter, the base and examples with their values.
std::string SuffixTableHtml();
// The macros with what they mean and an example, and the bars of the absolute value.
std::string MacroTableHtml();
// The names of the variables and constants.
std::string NameTableHtml();

// The guide's HTML with its placeholders ("<!--functions-->", "<!--suffixes-->",
// "<!--macros-->", "<!--names-->") filled in.
std::string CompleteGuide(const std::string& guideHtml);

}  // namespace kq
