#!/usr/bin/python3
"""Writes a C++ header of formulas, points and their exact slopes, computed by mpmath.

Two tables: every function of the language applied to x (its derivative rule, also in degrees
mode for the direct trigonometric ones), and formulas that exercise the operations, the
exponent, the macros and the second variable. Each derivative is computed by mpmath's own
numerical differentiation at 50 digits and rounded to the 80-bit format; points and the numbers
the engine reads are 80-bit values too (prec 64, nearest), written as exact hexadecimal
literals so that no decimal conversion stands between this script and the test.

Usage: slope_reference.py OUTPUT.h
"""
import os
import sys

import mpmath
from mpmath import mp, mpf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from extended_float import dbl, hexfloat, ld  # noqa: E402

mp.dps = 50


PI_DOUBLE = dbl(mpmath.pi)  # the language's pi
DEGREE = ld(mpmath.pi / 180)  # the engine's radians per degree, its factor for slopes


def sign_root(t, p):
    return mpmath.sign(t) * abs(t) ** p


def arcctg(t):
    return mpmath.pi / 2 - mpmath.atan(t)


# The language's functions of one argument: name as written, the function, its test points.
FUNCTIONS = [
    ("ln", mpmath.log, ["0.3", "1.7", "12.5", "0.001", "1e5"]),
    ("lg", mpmath.log10, ["0.3", "1.7", "12.5", "0.001", "1e5"]),
    ("exp", mpmath.exp, ["-3.2", "0.7", "11.1", "-40.5"]),
    ("sqrt", mpmath.sqrt, ["0.02", "0.7", "9.5", "1e6"]),
    ("sin", mpmath.sin, ["0.7", "2.9", "-4.1", "10.3", "100.7"]),
    ("cos", mpmath.cos, ["0.7", "2.9", "-4.1", "10.3", "100.7"]),
    ("tg", mpmath.tan, ["0.7", "1.5", "-2.3", "4.0", "-30.1"]),
    ("tan", mpmath.tan, ["0.2"]),
    ("ctg", mpmath.cot, ["0.7", "1.5", "-2.3", "4.0", "-30.1"]),
    ("cot", mpmath.cot, ["0.2"]),
    ("sec", mpmath.sec, ["0.7", "1.5", "-2.3", "4.0"]),
    ("csc", mpmath.csc, ["0.7", "1.5", "-2.3", "4.0"]),
    ("arcsin", mpmath.asin, ["-0.9", "-0.3", "0.45", "0.99"]),
    ("asin", mpmath.asin, ["0.6"]),
    ("arccos", mpmath.acos, ["-0.9", "-0.3", "0.45", "0.99"]),
    ("acos", mpmath.acos, ["0.6"]),
    ("arctg", mpmath.atan, ["-7.5", "-0.3", "0.2", "3.3", "1000"]),
    ("atg", mpmath.atan, ["1.4"]),
    ("arctan", mpmath.atan, ["-1.4"]),
    ("arcctg", arcctg, ["-7.5", "-0.3", "0.2", "3.3", "1000"]),
    ("arccot", arcctg, ["1.4"]),
    ("actg", arcctg, ["-1.4"]),
    ("abs", abs, ["-2.5", "3.1"]),
    ("sgn", mpmath.sign, ["-2.5", "3.1"]),
    # rtN takes |t|^(1/N) with 1/N as the engine rounds it.
    ("rt2", lambda t: sign_root(t, ld(mpf(1) / 2)), ["0.3", "2.7"]),
    ("rt3", lambda t: sign_root(t, ld(mpf(1) / 3)), ["-5.1", "0.8", "27.3"]),
    ("rt5", lambda t: sign_root(t, ld(mpf(1) / 5)), ["-0.7", "3.3"]),
    ("rt2.5", lambda t: sign_root(t, ld(1 / mpf("2.5"))), ["1.9"]),
    ("pw3", lambda t: t**3, ["-1.3", "2.2"]),
    ("pw2", lambda t: t**2, ["0.6", "-3.1"]),
    ("pw7", lambda t: t**7, ["0.6", "-1.7"]),
    ("pw0.5", lambda t: t ** mpf("0.5"), ["2.2"]),
    ("pw1.5", lambda t: t ** mpf("1.5"), ["0.4"]),
    ("pw10", lambda t: t**10, ["1.1", "-0.9"]),
]

DEGREE_FUNCTIONS = [
    ("sin", mpmath.sin), ("cos", mpmath.cos), ("tg", mpmath.tan),
    ("ctg", mpmath.cot), ("sec", mpmath.sec), ("csc", mpmath.csc),
]
DEGREE_POINTS = ["30.5", "-100.3", "200.7"]


def lg_double(v):
    return dbl(mpmath.log10(v))


# Formulas of the operations, the exponent, the macros and y: text, x, y, f(x, y), tolerance in
# units in the last place of the result. The tolerance is a few units where every value on the
# way is computed in long double; where the slope is made of values the engine computes in
# double (lg), the slope of that formula as computed is only that close to the exact one.
FORMULAS = [
    ("x*x*x-2*x+1", "1.3", "0", lambda x, y: x**3 - 2 * x + 1, 8),
    ("(x+1)/(x*x+1)", "0.6", "0", lambda x, y: (x + 1) / (x * x + 1), 8),
    ("(x+1)/(x*x+1)", "-2.2", "0", lambda x, y: (x + 1) / (x * x + 1), 8),
    ("x/(x+1)/(x+2)", "0.3", "0", lambda x, y: x / (x + 1) / (x + 2), 8),
    ("1/(x-2)", "2.7", "0", lambda x, y: 1 / (x - 2), 8),
    ("-x*x", "2", "0", lambda x, y: -x * x, 4),
    ("x^x", "0.7", "0", lambda x, y: x**x, 8),
    ("x^x", "2.5", "0", lambda x, y: x**x, 8),
    ("x^2.5", "1.7", "0", lambda x, y: x ** mpf("2.5"), 8),
    ("2^x", "1.3", "0", lambda x, y: 2**x, 8),
    ("x^(1/3)", "-8.5", "0", lambda x, y: sign_root(x, ld(1 / ld(1 / ld(mpf(1) / 3)))), 8),
    ("pow<3>(x)", "1.1", "0", lambda x, y: x**3, 8),
    ("rtt<3>(x)", "5.5", "0", lambda x, y: x ** ld(mpf(1) / 3), 8),
    ("log<3>(x)", "2.2", "0", lambda x, y: mpmath.log10(x) / lg_double(3), 8),
    ("log<x>(2*x)", "3.7", "0", lambda x, y: mpmath.log10(2 * x) / mpmath.log10(x), 2**15),
    ("cos(x^2-3)", "1.2", "0", lambda x, y: mpmath.cos(x**2 - 3), 8),
    ("exp(sin(x))", "0.9", "0", lambda x, y: mpmath.exp(mpmath.sin(x)), 8),
    ("sin(x)*cos(x)", "0.3", "0", lambda x, y: mpmath.sin(x) * mpmath.cos(x), 8),
    ("abs(x-1)*x", "2.5", "0", lambda x, y: abs(x - 1) * x, 8),
    ("abs(x-1)*x", "-0.5", "0", lambda x, y: abs(x - 1) * x, 8),
    ("abs(x-abs(x-3))", "1", "0", lambda x, y: abs(x - abs(x - 3)), 4),
    ("|x*x-3|", "1.5", "0", lambda x, y: abs(x * x - 3), 4),
    ("sgn(x)*x*x", "-1.5", "0", lambda x, y: mpmath.sign(x) * x * x, 4),
    ("sec(x)+csc(x)", "0.9", "0", lambda x, y: mpmath.sec(x) + mpmath.csc(x), 8),
    ("tg(x)/x", "0.4", "0", lambda x, y: mpmath.tan(x) / x, 2**15),
    ("arcsin(x/2)+arccos(x/3)", "0.5", "0", lambda x, y: mpmath.asin(x / 2) + mpmath.acos(x / 3), 8),
    ("sqrt(x*x+1)", "2", "0", lambda x, y: mpmath.sqrt(x * x + 1), 8),
    ("ln(abs(x))", "-3.3", "0", lambda x, y: mpmath.log(abs(x)), 8),
    ("pi*x^2", "1.2", "0", lambda x, y: PI_DOUBLE * x**2, 8),
    ("1e5*x*x", "0.25", "0", lambda x, y: 100000 * x * x, 4),
    ("x*y+sin(y)", "1.5", "0.4", lambda x, y: x * y + mpmath.sin(y), 8),
    ("x^y", "1.7", "2.3", lambda x, y: x**y, 8),
    ("cos(rt2(x*x+y*y))", "0.9", "1.3", lambda x, y: mpmath.cos(mpmath.sqrt(x * x + y * y)), 8),
    ("y/(x*x+y*y)", "-0.6", "2.1", lambda x, y: y / (x * x + y * y), 8),
]


def derivatives(f, x, y):
    dx = mpmath.diff(lambda t: f(t, y), x)
    dxx = mpmath.diff(lambda t: f(t, y), x, 2)
    dy = mpmath.diff(lambda t: f(x, t), y)
    return dx, dxx, dy


def row(formula, degrees, x, y, dx, dxx, dy, tolerance):
    return (f'    {{"{formula}", {"true" if degrees else "false"}, {hexfloat(x)}, {hexfloat(y)}, '
            f'{hexfloat(dx)}, {hexfloat(dxx)}, {hexfloat(dy)}, {tolerance}}},')


def main():
    lines = [
        "// Generated by slope_reference.py from mpmath: formulas, points and their exact slopes",
        "// (d/dx, d2/dx2, d/dy) rounded to the 80-bit format.",
        "#pragma once",
        "namespace kq::test {",
        "struct SlopeReference {",
        "    const char* formula;",
        "    bool degrees;",
        "    long double x, y, dx, dxx, dy;",
        "    double tolerance;  // in units in the last place",
        "};",
        "inline constexpr SlopeReference kFunctionSlopes[] = {",
    ]
    for name, f, points in FUNCTIONS:
        for text in points:
            x = ld(text)
            dx, dxx, _ = derivatives(lambda t, _y: f(t), x, mpf(0))
            lines.append(row(f"{name}(x)", False, x, 0, dx, dxx, 0, 4))
    for name, f in DEGREE_FUNCTIONS:
        for text in DEGREE_POINTS:
            x = ld(text)
            # The engine takes f of the angle itself (whole quarter turns off exactly); its
            # slope per degree is pi/180, the engine's long double of it, times f's.
            t = x * mpmath.pi / 180
            dx = mpmath.diff(f, t) * DEGREE
            dxx = mpmath.diff(f, t, 2) * DEGREE**2
            lines.append(row(f"{name}(x)", True, x, 0, dx, dxx, 0, 4))
    lines += ["};", "inline constexpr SlopeReference kFormulaSlopes[] = {"]
    for formula, xs, ys, f, tolerance in FORMULAS:
        x, y = ld(xs), ld(ys)
        dx, dxx, dy = derivatives(f, x, y)
        lines.append(row(formula, False, x, y, dx, dxx, dy, tolerance))
    lines += ["};", "}  // namespace kq::test", ""]
    with open(sys.argv[1], "w", encoding="ascii") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
