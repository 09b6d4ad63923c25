#include "cli/calc_verb.h"

#include <istream>
#include <ostream>

#include "cli/line_answers.h"
#include "cli/option_parser.h"
#include "calc/base_format.h"
#include "calc/calc_session.h"
#include "calc/calc_texts.h"

namespace kq {
namespace {

struct CalcOptions {
    int base = 10, rounding = -1;
    bool degrees = false, exact = false;
};

OptionParser CalcParser(CalcOptions& o) {
    OptionParser parser("calc", "[ВЫРАЖЕНИЕ...]");
    parser.Int("--base", "B", o.base, kMinBase, kMaxBase).Rounding(o.rounding).Flag("--degrees", o.degrees).Flag("--exact", o.exact);
    return parser;
}

}  // namespace

std::string CalcUsage() {
    CalcOptions o;
    return CalcParser(o).Usage();
}

int RunCalcCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    CalcOptions o;
    const OptionParser parser = CalcParser(o);
    std::vector<std::string> expressions;
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { expressions = std::move(operands); }))
        return 2;
    CalcSession session;
    session.SetKeepResults(false);  // nobody reads a list here: memory stays flat
    session.Engine().SetDegrees(o.degrees);
    session.Engine().Formula().SetExactFunctions(o.exact);
    session.Engine().SetBase(o.base);
    session.Engine().SetRounding(o.rounding);
    bool failed = false;
    const bool written = AnswerEach(expressions, in, out, [&](const std::string& expression) {
        const auto outcome = session.Evaluate(expression);
        if (!outcome.result.ok) {
            err << UndefinedValueMessage() << "\n";
            failed = true;
        }
        out << outcome.result.text << "\n";
    });
    if (!written) {
        ReportLostOutput(err, "calc");
        return 1;
    }
    return failed ? 1 : 0;
}

}  // namespace kq
