// What the informational windows say about the program, and where its shipped files are.
#pragma once

#include <string>

namespace kq {

std::string ProgramName();   // "Кванториум+"
std::string ProgramVersion();  // from the build: "0.1.0"
std::string AuthorEmail();
// "mailto:" link with the subject "Кванториум+ ".
std::string AuthorMailLink();

// The first existing `name` among the folders a shipped file can be in: beside the program,
// in ../share/quantorium from it, or in the source tree's docs when run from a build.
// Empty when there is none.
std::string FindShippedFile(const std::string& programDir, const std::string& name);

}  // namespace kq
