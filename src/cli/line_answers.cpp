#include "cli/line_answers.h"

namespace kq {

void ReportLostOutput(std::ostream& err, std::string_view verb) {
    err << "quantorium " << verb << ": не удалось вывести результат\n";
}

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool AnswerEach(const std::vector<std::string>& operands, std::istream& in, std::ostream& out,
                const std::function<void(const std::string&)>& answer) {
    for (const std::string& operand : operands) {
        answer(operand);
        if (!out) return false;
    }
    if (operands.empty()) {
        std::string line;
        while (ReadLine(in, line)) {
            answer(line);
            if (in.rdbuf()->in_avail() <= 0) out.flush();
            if (!out) return false;
        }
    }
    return static_cast<bool>(out.flush());
}

}  // namespace kq
