// The verbs that answer line by line: each operand, or each line of standard input as it
// comes, and what they say when standard output takes not all it is given.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

// "quantorium VERB: не удалось вывести результат": standard output took not all it was given.
void ReportLostOutput(std::ostream& err, std::string_view verb);

// Reads one line ("\r\n" too) into `line`; false at the end of the input.
bool ReadLine(std::istream& in, std::string& line);

// Answers each operand, or, when there are none, each line of `in` as it comes: what is
// answered goes out before waiting for more input, but not line by line while more input is
// already there (a pipe gets its answers at once, a file is fast). False when the output
// could not be written.
bool AnswerEach(const std::vector<std::string>& operands, std::istream& in, std::ostream& out,
                const std::function<void(const std::string&)>& answer);

}  // namespace kq
