// What the "3D Графики" page writes beside the surface: the grid's size and how many of its
// lines the picture draws.
#pragma once

#include <string>

namespace kq {

// Grid lines drawn each way on a grid of `intervals` intervals when every `stride`-th line is
// drawn, and always the last.
int DrawnGridLines(int intervals, int stride);

// "23 × 23 точек"; where the picture draws fewer lines than the grid has,
// "401 × 401 точек, линий на рисунке: 51 × 51".
std::string GridSizeText(int intervals, int stride);

// The tooltip of a grid step field whose text is not a step, with the step still in force.
std::string BadStepText(long double stepInForce);

}  // namespace kq
