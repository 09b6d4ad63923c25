#!/usr/bin/python3
"""Writes the reference table that the exact functions are checked against.

    exact_reference.py OUTPUT.txt

Computed with mpmath (Debian's python3-mpmath), never with the code under test. Each line is

    FORMULA ARGUMENT HIGH LOW

the formula as the engine reads it, the argument x and the true value HIGH + LOW (HIGH the
long double nearest to it), every number the hex of its 80 bits. The arguments are long
doubles with all 64 bits of their significands in use, over each function's domain (away from
the poles of tg and ctg, where the engine fails), with those that double precision serves
worst: large arguments of tg, exp near its limits, logarithms near 1.
"""
import os
import random
import sys

import mpmath
from mpmath import mp, mpf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from extended_float import BITS, hex80, round64, true_value  # noqa: E402


def full(rng, low_exponent, high_exponent, negative=True):
    """A long double whose 64 significand bits are random, of magnitude 2^[low, high)."""
    significand = rng.getrandbits(BITS) | (1 << (BITS - 1))
    v = mpmath.ldexp(significand, rng.randint(low_exponent, high_exponent - 1) - BITS + 1)
    return -v if negative and rng.random() < 0.5 else v


def inside(rng, low, high):
    """A long double of 64 random bits in [low, high]."""
    return round64(low + (high - low) * mpf(rng.getrandbits(BITS)) / mpf(2) ** BITS)


def main():
    rng = random.Random(6)
    mp.prec = 400
    cases = []  # (formula, x, true value as a function of x)

    def add(formula, xs, f):
        for x in xs:
            cases.append((formula, x, f))

    def away_from_poles(xs, function):
        return [x for x in xs if abs(function(x)) > mpf("2e-14")]

    n = 2500
    moderate = [full(rng, -30, 21) for _ in range(n)]
    # tg and ctg, up to a million and around 617,593 where double precision is worst.
    tg_args = moderate + [inside(rng, 617592, 617594) for _ in range(300)]
    add("tg(x)", away_from_poles(tg_args, mpmath.cos), mpmath.tan)
    add("ctg(x)", away_from_poles(tg_args, mpmath.sin), mpmath.cot)
    unit = [inside(rng, -1, 1) for _ in range(n)] + [round64(1 - full(rng, -63, -20, False)) for _ in range(300)]
    unit += [-u for u in unit[-300:]]
    add("arcsin(x)", unit, mpmath.asin)
    add("arccos(x)", unit, mpmath.acos)
    wide = [full(rng, -60, 60) for _ in range(n)]
    add("arctg(x)", wide, mpmath.atan)
    add("arcctg(x)", wide, lambda x: mpmath.acot(x) if x > 0 else mpmath.acot(x) + mp.pi)
    positive = [full(rng, -16000, 16000, False) for _ in range(n)] + [round64(1 + full(rng, -63, -10)) for _ in range(300)]
    add("ln(x)", positive, mpmath.log)
    add("lg(x)", positive, mpmath.log10)
    add("log<3>(x)", positive, lambda x: mpmath.log(x) / mpmath.log(3))
    add("log<0.7>(x)", positive, lambda x: mpmath.log(x) / mpmath.log(round64(mpf("0.7"))))
    exp_args = [inside(rng, -11300, 11355) for _ in range(n)] + [inside(rng, -520, -500) for _ in range(300)]
    exp_args += [full(rng, -40, 9) for _ in range(500)]
    add("exp(x)", exp_args, mpmath.exp)
    add("sqrt(x)", positive, mpmath.sqrt)
    for power in ["2", "3", "7", "2.5", "0.3", "10"]:
        p = round64(mpf(power))
        integer = p == int(p)
        bound = min(16000, int(16000 / float(p)) - 2)
        xs = [full(rng, -bound, bound, integer) for _ in range(800)]
        xs += [full(rng, -4, 6, integer) for _ in range(400)]
        add(f"pw{power}(x)", xs, lambda x, p=p: mpmath.power(x, p))
    add("pi", [mpf(1)], lambda x: mp.pi)

    with open(sys.argv[1], "w", encoding="ascii") as out:
        for formula, x, f in cases:
            # The tangents need every bit of x above its fraction of a turn.
            e = int(mpmath.frexp(x)[1]) if formula in ("tg(x)", "ctg(x)") else 0
            with mp.workprec(max(e, 0) + 320):
                v = f(x)
                high, low = true_value(v)
            out.write(f"{formula} {hex80(x)} {hex80(high)} {hex80(low)}\n")
    print(f"{len(cases)} values", file=sys.stderr)


if __name__ == "__main__":
    main()
