// Parts of the guide that are made from the engine itself, so the guide cannot fall behind
// the language.
#pragma once

#include <string>

namespace kq {

// The table of the language's functions (HTML): names and aliases, meaning, where undefined.
std::string FunctionTableHtml();

// The guide's HTML with its function-list placeholder ("<!--functions-->") filled in.
std::string CompleteGuide(const std::string& guideHtml);

}  // namespace kq
