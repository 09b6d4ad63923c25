#include "cli/eval_verb.h"

#include <istream>
#include <ostream>

#include "cli/check_verb.h"
#include "cli/line_answers.h"
#include "cli/option_parser.h"
#include "engine/number_text.h"
#include "engine/translator.h"

namespace kq {
namespace {

struct EvalOptions {
    bool degrees = false;
    bool exact = false;
    bool check = false;
    int rounding = kNoRounding;
    std::vector<long double> xs;
    long double y = 0;
};

OptionParser EvalParser(EvalOptions& o) {
    OptionParser parser("eval", "[ФОРМУЛА...]");
    parser.Flag("--degrees", o.degrees)
        .Flag("--exact", o.exact)
        .Rounding(o.rounding)
        .Numbers("--x", "X", o.xs)
        .Number("--y", "Y", o.y)
        .Flag("--check", o.check);
    parser.SetUsage(parser.Usage() + "\n" + kCheckUsage);
    return parser;
}

// One formula's line: its value at every x, tab-separated; false when any failed.
bool EvaluateLine(Translator& translator, const std::string& formula, const EvalOptions& o, std::ostream& out) {
    translator.Translate(formula);
    bool ok = true;
    for (std::size_t i = 0; i < o.xs.size(); ++i) {
        if (i > 0) out << '\t';
        long double value = 0;
        const EvalStatus status = translator.TryValue(o.xs[i], o.y, value);
        if (const std::string* reason = UnprintableReason(status, value)) {
            out << "error: " << *reason;
            ok = false;
        } else {
            out << FormatC("%.18Lg", value);
        }
    }
    out << '\n';
    return ok;
}

}  // namespace

std::string EvalUsage() {
    EvalOptions o;
    return EvalParser(o).Usage();
}

int RunEvalCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    EvalOptions o;
    const OptionParser parser = EvalParser(o);
    std::vector<std::string> formulas;
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { formulas = std::move(operands); }))
        return 2;
    if (o.xs.empty()) o.xs.push_back(1);
    if (o.check) return RunCheck(formulas, in, out, err);

    Translator translator;
    translator.SetDegrees(o.degrees);
    translator.SetExactFunctions(o.exact);
    translator.SetRounding(o.rounding);
    bool failed = false;
    const bool written = AnswerEach(formulas, in, out, [&](const std::string& formula) {
        if (!EvaluateLine(translator, formula, o, out)) failed = true;
    });
    if (!written) {
        ReportLostOutput(err, "eval");
        return 1;
    }
    return failed ? 1 : 0;
}

}  // namespace kq
