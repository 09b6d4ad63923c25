#include "calc/calc_command.h"

#include <istream>
#include <ostream>

#include "app/command_line.h"
#include "calc/base_format.h"
#include "calc/calc_session.h"
#include "calc/calc_texts.h"

namespace kq {

int RunCalcCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    int base = 10, rounding = -1;
    bool degrees = false;
    std::vector<std::string> expressions;
    try {
        ArgumentList list(args);
        bool optionsEnded = false;
        while (!list.Empty()) {
            const std::string arg = list.Take();
            if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg[1] != '-') expressions.push_back(arg);
            else if (arg == "--") optionsEnded = true;
            else if (arg == "--base") base = list.TakeInt(arg);
            else if (arg == "--round") rounding = list.TakeInt(arg);
            else if (arg == "--degrees") degrees = true;
            else throw UsageError{"неизвестный параметр " + arg};
        }
        if (base < kMinBase || base > kMaxBase) throw UsageError{kBadBaseText};
    } catch (const UsageError& e) {
        err << "quantorium calc: " << e.message << "\n"
            << "использование: quantorium calc [--base B] [--round R] [--degrees] [ВЫРАЖЕНИЕ...]\n";
        return 2;
    }
    if (expressions.empty()) expressions = ReadLines(in);
    CalcSession session;
    session.Engine().SetDegrees(degrees);
    session.Engine().SetBase(base);
    session.Engine().SetRounding(rounding);
    bool failed = false;
    for (const std::string& e : expressions) {
        const auto outcome = session.Evaluate(e);
        if (!outcome.result.ok) {
            err << kUndefinedValueText << "\n";
            failed = true;
        }
        out << outcome.result.text << "\n";
    }
    out.flush();
    return failed ? 1 : 0;
}

}  // namespace kq
