// How a formula reads its angles and how precisely it computes the functions that the language
// otherwise computes in double: the settings every evaluation path shares.
#pragma once

namespace kq {

struct FormulaMode {
    bool degrees = false;  // sin, cos, sec, csc, tg and ctg read their arguments in degrees
    // "Точные функции": tg, ctg, arcsin, arccos, arctg, arcctg, ln, lg, exp, sqrt, pwN and the
    // constant pi in long double instead of double.
    bool exact = false;
};

}  // namespace kq
