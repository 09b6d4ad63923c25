#include "cli/check_verb.h"

#include <istream>
#include <ostream>

#include "cli/line_answers.h"
#include "engine/diagnose.h"

namespace kq {

const char* const kCheckUsage =
    "    --check: не вычислять, а сказать, что в каждой формуле сомнительно: строки «ПОЗИЦИЯ: СООБЩЕНИЕ»\n"
    "    (ПОЗИЦИЯ — смещение в байтах от начала формулы, с 0), затем пустая строка; код выхода 0,\n"
    "    если сомнений нет ни в одной формуле, иначе 1";

bool CheckFormula(const std::string& formula, std::ostream& out) {
    const std::vector<Diagnostic> doubts = Diagnose(formula);
    for (const Diagnostic& d : doubts) out << d.position << ": " << d.message << '\n';
    out << '\n';
    return doubts.empty();
}

int RunCheck(const std::vector<std::string>& formulas, std::istream& in, std::ostream& out, std::ostream& err) {
    bool clean = true;
    const bool written =
        AnswerEach(formulas, in, out, [&](const std::string& formula) { clean = CheckFormula(formula, out) && clean; });
    if (!written) {
        ReportLostOutput(err, "eval");
        return 1;
    }
    return clean ? 0 : 1;
}

}  // namespace kq
