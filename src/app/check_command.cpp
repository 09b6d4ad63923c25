#include "app/check_command.h"

#include <ostream>

#include "engine/diagnose.h"

namespace kq {

const char* const kCheckUsage =
    "  --check  не вычислять, а сказать, что в каждой формуле сомнительно: строки «ПОЗИЦИЯ: СООБЩЕНИЕ»\n"
    "           (ПОЗИЦИЯ — смещение в байтах от начала формулы, с 0), затем пустая строка;\n"
    "           код выхода 0, если сомнений нет ни в одной формуле, иначе 1\n";

bool CheckFormula(const std::string& formula, std::ostream& out) {
    const std::vector<Diagnostic> doubts = Diagnose(formula);
    for (const Diagnostic& d : doubts) out << d.position << ": " << d.message << '\n';
    out << '\n';
    return doubts.empty();
}

int RunCheck(const std::vector<std::string>& formulas, std::ostream& out) {
    bool clean = true;
    for (const std::string& formula : formulas) clean = CheckFormula(formula, out) && clean;
    out.flush();
    return clean ? 0 : 1;
}

}  // namespace kq
