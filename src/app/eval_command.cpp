#include "app/eval_command.h"

#include <istream>
#include <ostream>

#include "app/check_command.h"
#include "app/command_line.h"
#include "engine/angle_mode.h"
#include "engine/number_text.h"
#include "engine/translator.h"

namespace kq {

int RunEvalCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    bool degrees = false;
    bool check = false;
    int rounding = kNoRounding;
    std::vector<long double> xs;
    long double y = 0;
    std::vector<std::string> formulas;
    try {
        ArgumentList list(args);
        bool optionsEnded = false;
        while (!list.Empty()) {
            const std::string arg = list.Take();
            if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg[1] != '-') {
                // A formula such as "-x" is not an option.
                formulas.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--degrees") {
                degrees = true;
            } else if (arg == "--check") {
                check = true;
            } else if (arg == "--round") {
                rounding = list.TakeInt(arg);
            } else if (arg == "--x") {
                xs.push_back(list.TakeNumber(arg));
            } else if (arg == "--y") {
                y = list.TakeNumber(arg);
            } else {
                throw UsageError{"неизвестный параметр " + arg};
            }
        }
    } catch (const UsageError& e) {
        err << "quantorium eval: " << e.message << "\n"
            << "использование: quantorium eval [--degrees] [--round R] [--x X]... [--y Y] [--check] [ФОРМУЛА...]\n"
            << kCheckUsage;
        return 2;
    }
    if (xs.empty()) xs.push_back(1);
    if (formulas.empty()) formulas = ReadLines(in);
    if (check) return RunCheck(formulas, out);

    SetDegreesMode(degrees);
    Translator translator;
    translator.SetRounding(rounding);
    bool failed = false;
    for (const std::string& formula : formulas) {
        translator.Translate(formula);
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (i > 0) out << '\t';
            long double value = 0;
            const EvalStatus status = translator.TryValue(xs[i], y, value);
            if (status == EvalStatus::Ok) {
                out << FormatC("%.18Lg", value);
            } else {
                out << "error: " << MessageOf(status);
                failed = true;
            }
        }
        out << '\n';
    }
    out.flush();
    return failed ? 1 : 0;
}

}  // namespace kq
