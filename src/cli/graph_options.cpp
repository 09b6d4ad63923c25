#include "cli/graph_options.h"

#include "cli/option_parser.h"
#include "plot/graphiq.h"

namespace kq {

void DeclareGraphOptions(OptionParser& parser, GraphOptions& o) {
    parser.Flag("--degrees", o.degrees)
        .Flag("--exact", o.exact)
        .Rounding(o.rounding)
        .Flag("--abs", o.absolute)
        .Values("--range", {"XMIN", "XMAX", "YMIN", "YMAX"},
                [&o](const std::vector<std::string>& v) {
                    o.view = {ParseNumberOption("--range", v[0]), ParseNumberOption("--range", v[1]),
                              ParseNumberOption("--range", v[2]), ParseNumberOption("--range", v[3])};
                    // The window tolerates such a range while it is being typed; a command
                    // that would draw a blank graph is a mistake.
                    if (!(o.view.xmin < o.view.xmax) || !(o.view.ymin < o.view.ymax))
                        throw UsageError{"в --range нужно XMIN < XMAX и YMIN < YMAX"};
                })
        .Texts("--list", "ФОРМУЛА", o.list);
}

void TakeGraphFormula(const std::vector<std::string>& operands, GraphOptions& o) {
    if (operands.size() > 1) throw UsageError{"формула задана дважды: \"" + operands[1] + "\""};
    if (operands.empty()) throw UsageError{"не задана формула"};
    if (static_cast<int>(o.list.size()) > Graphiq::kMaxListFormulas) throw UsageError{"не больше 100 формул списка"};
    o.formula = operands[0];
}

void SetUpGraph(Graphiq& g, const GraphOptions& o) {
    g.SetDegrees(o.degrees);
    g.SetExactFunctions(o.exact);
    g.SetRounding(o.rounding);
    g.SetAbsoluteMode(o.absolute);
    g.SetFormula(o.formula);
    g.Reserve(static_cast<int>(o.list.size()));
    for (std::size_t i = 0; i < o.list.size(); ++i) g.SetListFormula(static_cast<int>(i) + 1, o.list[i]);
    g.SetListCount(static_cast<int>(o.list.size()));
    g.SetView(o.view, false);
}

}  // namespace kq
