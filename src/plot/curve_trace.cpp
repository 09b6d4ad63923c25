#include "plot/curve_trace.h"

#include <cmath>

#include "engine/number_text.h"
#include "plot/graphiq.h"

namespace kq {

TraceReading ReadCurves(Graphiq& graph, long double x, double row, int width, int height, double reach) {
    TraceReading reading;
    const PixelMap map(graph.View(), width, height);
    double best = reach;
    for (int j = 0; j <= graph.ListCount(); ++j) {
        long double v = 0;
        TraceValue value{j, std::nullopt};
        if (graph.Evaluate(x, j, v) == EvalStatus::Ok && std::isfinite(v)) value.value = v;
        reading.values.push_back(value);
        if (!value.value || map.Degenerate()) continue;
        // |y| mode draws f where it is not negative, and its mirror image.
        std::vector<int> signs{1};
        if (graph.AbsoluteMode()) signs = v >= 0 ? std::vector<int>{1, -1} : std::vector<int>{};
        for (int sign : signs) {
            const long double y = sign * v;
            const double drawnRow = static_cast<double>(map.y0 - y * map.ky);
            const double distance = std::fabs(drawnRow - row);
            if (!(distance <= best)) continue;
            best = distance;
            TraceSnap snap{j, y, std::nullopt};
            Slopes s;
            if (graph.EvaluateSlopes(x, j, s) == EvalStatus::Ok && s.first == SlopeStatus::Exact && std::isfinite(s.dx))
                snap.slope = sign * s.dx;
            reading.snap = snap;
        }
    }
    return reading;
}

std::vector<TracePiece> TraceLine(const Graphiq& graph, const PointerReading& at, const TraceReading& reading) {
    std::vector<TracePiece> line;
    std::string y = at.yText;
    if (reading.snap) y = WriteAtResolution(reading.snap->y, at.yStep);
    line.push_back({"x = " + at.xText + "   y = " + y, kBlack});
    for (const TraceValue& v : reading.values) {
        if (!v.value) continue;
        const std::string name = v.curve == 0 ? "f(x)" : graph.ListFormula(v.curve);
        std::string text = "   " + name + " = " + WriteAtResolution(*v.value, at.yStep);
        if (reading.snap && reading.snap->curve == v.curve && reading.snap->slope)
            text += "   наклон = " + FormatC("%.6Lg", *reading.snap->slope);
        line.push_back({text, graph.CurveColour(v.curve)});
    }
    return line;
}

}  // namespace kq
