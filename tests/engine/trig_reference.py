#!/usr/bin/python3
"""Writes the reference table of sine and cosine that the engine's own are checked against.

    trig_reference.py OUTPUT.txt

Computed with mpmath (Debian's python3-mpmath), never with the code under test. Each line is

    KIND ARGUMENT SIN_HIGH SIN_LOW COS_HIGH COS_LOW

with every number the hex of its 80 bits (sign and exponent first), the true value being
HIGH + LOW (HIGH the long double nearest to it). KIND "r" is an argument in radians; "d" one
in degrees, whose sine and cosine are those of the angle itself (exactly 0 at whole half
turns for the sine and at odd quarter turns for the cosine).
The arguments: random ones of every size from 2^-70 to the largest long double, dense ones on
[-100, 100], those next to multiples of pi/2 (the nearest long doubles and their neighbours,
and for exponents across the whole range the significands that come closest to a multiple),
both sides of where the engine changes its way of reducing, and whole degrees with their
neighbours.
"""
import os
import random
import sys

import mpmath
from mpmath import mp, mpf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from extended_float import BITS, hex80, round64, true_value  # noqa: E402

MAX_EXPONENT = 16383  # of the largest long double: 1.19e4932


def value(x, f):
    """f(x) to 128 bits and more, whatever the size of x: the working precision covers the
    bits of x above its fraction of a turn, and 200 more for the cancellation near a zero."""
    e = int(mpmath.frexp(x)[1]) if x != 0 else 0
    with mp.workprec(max(e, 0) + 320):
        return +f(x)


def line(kind, x, s, c):
    out = [kind, hex80(x)]
    for v in (s, c):
        with mp.workprec(400):
            high, low = true_value(v)
        out += [hex80(high), hex80(low)]
    return " ".join(out)


def degree_values(t):
    """sin and cos of t degrees: of t/180 half turns, which mpmath's sinpi and cospi take
    exactly at whole and half numbers (t/180 is exact there at this precision)."""
    e = int(mpmath.frexp(t)[1]) if t != 0 else 0
    with mp.workprec(max(e, 0) + 400):
        turns = t / 180
        return +mpmath.sinpi(turns), +mpmath.cospi(turns)


def random_long_double(rng, low_exponent, high_exponent):
    significand = rng.getrandbits(BITS) | (1 << (BITS - 1))
    e = rng.randint(low_exponent, high_exponent)
    v = mpmath.ldexp(significand, e - BITS)
    return -v if rng.random() < 0.5 else v


def uniform(rng, bound):
    """A long double of 64 random bits in [-bound, bound]."""
    with mp.workprec(400):
        return round64((mpf(rng.getrandbits(BITS)) / mpf(2) ** (BITS - 1) - 1) * bound)


def neighbours(x, count):
    """x and the `count` long doubles on either side of it."""
    m, e = mpmath.frexp(x)
    step = mpmath.ldexp(1, e - BITS)
    return [x + j * step for j in range(-count, count + 1)]


def closest_significands(alpha, count):
    """Significands m of 64 bits for which m * alpha comes closest to an integer, from the
    convergents of alpha's continued fraction and their multiples and sums."""
    found = set()
    p0, q0, p1, q1 = 0, 1, 1, 0
    a = alpha
    qs = []
    with mp.workprec(mp.prec):
        for _ in range(80):
            t = int(mpmath.floor(a))
            p0, q0, p1, q1 = p1, q1, t * p1 + p0, t * q1 + q0
            if q1 >= 1 << BITS:
                break
            qs.append(q1)
            frac = a - t
            if frac == 0:
                break
            a = 1 / frac
    for q in qs[-6:]:
        if q == 0:
            continue
        for j in range(1, 4):
            for base in ((1 << (BITS - 1)) // q + j, (1 << BITS) // q - j + 1):
                m = q * base
                if (1 << (BITS - 1)) <= m < (1 << BITS):
                    found.add(m)
    if len(qs) >= 2:
        for j in range(1, 200):
            m = qs[-2] + j * qs[-1]
            if (1 << (BITS - 1)) <= m < (1 << BITS):
                found.add(m)
    scored = sorted(found, key=lambda m: abs(m * alpha - mpmath.nint(m * alpha)))
    return scored[:count]


def main():
    out = sys.argv[1]
    rng = random.Random(20260)
    mp.prec = 200
    radians = []

    # Every size, log-uniform: the tiny (sin x = x), the moderate and the huge.
    radians += [random_long_double(rng, -70, 0) for _ in range(15000)]
    radians += [random_long_double(rng, 1, 20) for _ in range(24000)]
    radians += [random_long_double(rng, 21, MAX_EXPONENT) for _ in range(5000)]
    # Dense on [-100, 100], where plots spend their time.
    radians += [uniform(rng, 100) for _ in range(20000)]
    # Next to multiples of pi/2: the nearest long doubles and two on either side.
    with mp.workprec(400):
        ks = list(range(1, 2000)) + [rng.randint(2000, 1 << 20) for _ in range(2000)]
        ks += [rng.randint(1 << 20, 1 << 62) for _ in range(300)]
        ks += [(1 << 20) * 2 // 3 + j for j in range(-5, 6)]
        for k in ks:
            sign = -1 if rng.random() < 0.5 else 1
            radians += neighbours(sign * round64(k * mp.pi / 2), 2)
    # For exponents across the range, the significands that come closest to a multiple of pi/2.
    for e in list(range(-63, 40)) + list(range(40, MAX_EXPONENT - 63, 53)) + [MAX_EXPONENT - 63]:
        with mp.workprec(max(e, 0) + 400):
            alpha = mpmath.ldexp(2 / mp.pi, e)
            alpha -= mpmath.floor(alpha)
            for m in closest_significands(alpha, 2):
                radians.append(mpmath.ldexp(m, e) * (1 if rng.random() < 0.5 else -1))
    # Where the engine changes its way of reducing: pi/4, 2^20.
    with mp.workprec(400):
        radians += neighbours(round64(mp.pi / 4), 3)
        radians += neighbours(mpf(2) ** 20, 3) + neighbours(-mpf(2) ** 20, 3)
    radians += [mpf(0), mpf(2) ** -16382, round64(mpf("1.18973149535723176502e4932"))]

    # Degrees: whole ones and their neighbours, and random ones.
    degrees = []
    whole = list(range(-1080, 1081)) + [rng.randint(-10 ** 7, 10 ** 7) for _ in range(1500)]
    whole += [rng.randint(-10 ** 5, 10 ** 5) * 90 for _ in range(500)]
    for t in whole:
        degrees += neighbours(mpf(t), 1) if t != 0 else [mpf(0)]
    degrees += [uniform(rng, 720) for _ in range(4000)]
    # Beyond 2^40, where the engine takes the remainder of a whole turn first.
    degrees += [random_long_double(rng, 41, MAX_EXPONENT) for _ in range(300)]

    with open(out, "w", encoding="ascii") as f:
        for x in radians:
            f.write(line("r", x, value(x, mpmath.sin), value(x, mpmath.cos)) + "\n")
        for t in degrees:
            f.write(line("d", t, *degree_values(t)) + "\n")
    print(f"{len(radians)} arguments in radians, {len(degrees)} in degrees", file=sys.stderr)


if __name__ == "__main__":
    main()
