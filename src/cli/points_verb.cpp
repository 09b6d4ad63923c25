#include "cli/points_verb.h"

#include <optional>
#include <ostream>
#include <utility>

#include "cli/graph_options.h"
#include "cli/line_answers.h"
#include "cli/option_parser.h"
#include "engine/number_text.h"
#include "engine/rounding.h"
#include "plot/point_finder.h"

namespace kq {
namespace {

struct PointsOptions {
    GraphOptions graph;
    std::optional<std::pair<long double, long double>> area;
};

OptionParser PointsParser(PointsOptions& o) {
    OptionParser parser("points", "ФОРМУЛА");
    DeclareGraphOptions(parser, o.graph);
    parser.Values("--area", {"A", "B"}, [&o](const std::vector<std::string>& v) {
        o.area = std::pair{ParseNumberOption("--area", v[0]), ParseNumberOption("--area", v[1])};
    });
    return parser;
}

// Numbers as eval prints them.
std::string Number(long double value) { return FormatC("%.18Lg", value); }

// "0" for the main formula, "I,J" for a pair of curves.
std::string Curves(int curve, int other) {
    return other < 0 ? std::to_string(curve) : std::to_string(curve) + "," + std::to_string(other);
}

PointQuery QueryOf(const GraphOptions& g) {
    PointQuery q;
    q.formulas.push_back(g.formula);
    q.numbers.push_back(0);
    for (std::size_t i = 0; i < g.list.size(); ++i) {
        q.formulas.push_back(g.list[i]);
        q.numbers.push_back(static_cast<int>(i) + 1);
    }
    q.view = g.view;
    q.absolute = g.absolute;
    q.degrees = g.degrees;
    q.exact = g.exact;
    q.rounding = g.rounding;
    return q;
}

void PrintPoints(const NotablePoints& found, std::ostream& out) {
    for (const NotablePoint& p : found.points) {
        out << PointKindWord(p.kind) << '\t' << Curves(p.curve, p.other) << '\t' << Number(p.x) << '\t';
        if (p.hasY) out << Number(p.y);
        out << '\n';
    }
    for (const PointLimit& m : found.more) out << "more\t" << Curves(m.curve, m.other) << '\t' << PointKindWord(m.kind) << '\n';
}

void PrintAreas(PointFinder& finder, const PointQuery& query, long double a, long double b, std::ostream& out) {
    for (std::size_t i = 0; i < query.formulas.size(); ++i) {
        const AreaResult area = finder.Area(query, i, a, b);
        out << "area\t" << query.numbers[i] << '\t' << Number(a) << '\t' << Number(b) << '\t';
        if (!area.Ok())
            out << "error: " << AreaFailureText(area);
        else
            out << Number(RoundToDigits(area.value, query.rounding));
        out << '\n';
    }
}

}  // namespace

std::string PointsUsage() {
    PointsOptions o;
    return PointsParser(o).Usage();
}

int RunPointsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PointsOptions o;
    const OptionParser parser = PointsParser(o);
    if (!parser.ParseInto(args, err, [&](std::vector<std::string> operands) { TakeGraphFormula(operands, o.graph); }))
        return 2;
    const PointQuery query = QueryOf(o.graph);
    PointFinder finder;
    PrintPoints(finder.Find(query), out);
    if (o.area) PrintAreas(finder, query, o.area->first, o.area->second, out);
    if (!out.flush()) {
        ReportLostOutput(err, "points");
        return 1;
    }
    return 0;
}

}  // namespace kq
