// What the verbs that draw the plane graph (plot, print) are told about it, declared and
// checked in one place: the angle unit, rounding, |y| mode, the range and the formulas.
#pragma once

#include <string>
#include <vector>

#include "plot/plane_model.h"
#include "plot/view_rect.h"

namespace kq {

class Graphiq;
class OptionParser;

struct GraphOptions {
    bool degrees = false, exact = false, absolute = false;
    int rounding = -1;
    ViewRect view = PlaneModel::kStartView;
    std::vector<std::string> list;  // each counts as checked
    std::string formula;
};

// --degrees, --exact, --round R, --abs, --range XMIN XMAX YMIN YMAX, --list FORMULA...
void DeclareGraphOptions(OptionParser& parser, GraphOptions& options);

// The main formula from the operands (exactly one); throws UsageError.
void TakeGraphFormula(const std::vector<std::string>& operands, GraphOptions& options);

// The graph as the options describe it.
void SetUpGraph(Graphiq& graph, const GraphOptions& options);

}  // namespace kq
