// A workplace: the plane page's |y| mode, range, formula and formula list, and the
// calculator's two lines with the active one, as one plain value.
#pragma once

#include <string>
#include <vector>

#include "plot/plane_model.h"

namespace kq {

struct Workplace {
    bool absolute = false;
    // The plot's own view bounds (not the range editors' texts); a new page's at first.
    long double xFrom = PlaneModel::kStartView.xmin, xTo = PlaneModel::kStartView.xmax;
    long double yFrom = PlaneModel::kStartView.ymin, yTo = PlaneModel::kStartView.ymax;
    std::string formula;
    std::vector<std::string> list;
    std::string firstLine, secondLine;
    int activeLine = 1;  // 1 the first calculator line, 2 the second

    friend bool operator==(const Workplace&, const Workplace&) = default;
};

}  // namespace kq
