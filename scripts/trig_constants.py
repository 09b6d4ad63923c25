#!/usr/bin/python3
"""Writes src/engine/trig_constants.h: the constants of the engine's own sine and cosine.

    /usr/bin/python3 scripts/trig_constants.py [OUTPUT.h]

Everything is computed with mpmath (Debian's python3-mpmath) and rounded to the 64-bit
significand of long double:
  * the polynomials of the kernels on [-pi/4, pi/4], fitted by the Remez exchange algorithm
    (minimax: sine in relative error, cosine in its error relative to the value), the
    coefficients of the higher powers rounded to double;
  * 2/pi in double, and pi/2 in three parts for the reduction of moderate arguments: two of 44
    significant bits (their products with a quotient below 2^20 are exact) and one of 53;
  * pi/2 as a sum of two long doubles, and the bits of 2/pi far enough for every finite long
    double (the exact reduction of huge arguments).
The script checks the rounded polynomials on a fine grid and prints their errors.
"""
import os
import sys

import mpmath
from mpmath import mp, mpf

mp.prec = 200

# The kernels see |r| <= pi/4 and a little more: the quotient x*2/pi is formed with 2/pi in
# double, so below 2^20 it may be off by 2^-34, which moves r past pi/4 by at most that much.
R = mp.pi / 4 * (1 + mpf(2) ** -30)
Z = R * R


def sin_tail(z):
    """S(z) = (sin(r) - r) / r^3 with z = r^2, by its series (no cancellation near 0)."""
    total, term, k = mpf(0), mpf(1), 1
    while True:
        term = mpf((-1) ** k) * z ** (k - 1) / mpmath.factorial(2 * k + 1)
        total += term
        if abs(term) < mpf(2) ** -160:
            return total
        k += 1


def cos_tail(z):
    """C(z) = (cos(r) - 1 + r^2/2) / r^4 with z = r^2, by its series."""
    total, k = mpf(0), 2
    while True:
        term = mpf((-1) ** k) * z ** (k - 2) / mpmath.factorial(2 * k)
        total += term
        if abs(term) < mpf(2) ** -160:
            return total
        k += 1


# The error that counts is that of sin and cos themselves: the polynomial's error is
# multiplied by r^3 (sine) or r^4 (cosine) and taken relative to the value.
def sin_weight(z):
    r = mpmath.sqrt(z)
    return z * r / mpmath.sin(r) if z > 0 else mpf(0)


def cos_weight(z):
    return z * z / mpmath.cos(mpmath.sqrt(z))


def polyval(c, z):
    v = mpf(0)
    for a in reversed(c):
        v = v * z + a
    return v


def remez(f, w, degree, a, b, iterations=40):
    """Coefficients c[0..degree] minimising max |w(z) (f(z) - p(z))| on [a, b]."""
    n = degree
    # Chebyshev extrema as the first reference (inside the interval: w(a) may be 0).
    ref = [a + (b - a) * (1 - mpmath.cos(mp.pi * (i + mpf(1) / 2) / (n + 2))) / 2 for i in range(n + 2)]
    grid = [a + (b - a) * (1 - mpmath.cos(mp.pi * i / 2000)) / 2 for i in range(2001)]
    best = None
    for _ in range(iterations):
        m = mpmath.matrix(n + 2, n + 2)
        rhs = mpmath.matrix(n + 2, 1)
        for i, z in enumerate(ref):
            for j in range(n + 1):
                m[i, j] = z ** j
            m[i, n + 1] = (-1) ** i / w(z)
            rhs[i] = f(z)
        sol = mpmath.lu_solve(m, rhs)
        c = [sol[j] for j in range(n + 1)]
        level = abs(sol[n + 1])

        def err(z):
            return w(z) * (f(z) - polyval(c, z))

        values = [err(z) for z in grid]
        # Local extrema of the error, then one of each run of equal sign (the largest).
        extrema = []
        for i in range(len(grid)):
            left = values[i - 1] if i > 0 else None
            right = values[i + 1] if i + 1 < len(grid) else None
            v = values[i]
            if (left is None or abs(v) >= abs(left)) and (right is None or abs(v) >= abs(right)) and v != 0:
                extrema.append((grid[i], v, i))
        runs = []
        for e in extrema:
            if runs and mpmath.sign(runs[-1][1]) == mpmath.sign(e[1]):
                if abs(e[1]) > abs(runs[-1][1]):
                    runs[-1] = e
            else:
                runs.append(e)
        # Refine each extremum between its grid neighbours (golden section on |err|).
        refined = []
        for z, v, i in runs:
            lo = grid[max(i - 1, 0)]
            hi = grid[min(i + 1, len(grid) - 1)]
            g = (mpmath.sqrt(5) - 1) / 2
            x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
            for _ in range(60):
                if abs(err(x1)) > abs(err(x2)):
                    hi, x2 = x2, x1
                    x1 = hi - g * (hi - lo)
                else:
                    lo, x1 = x1, x2
                    x2 = lo + g * (hi - lo)
            zz = (lo + hi) / 2
            refined.append((zz, err(zz)))
        while len(refined) > n + 2:
            # Drop the smaller end.
            if abs(refined[0][1]) < abs(refined[-1][1]):
                refined.pop(0)
            else:
                refined.pop()
        peak = max(abs(v) for _, v in refined)
        best = (c, peak)
        if len(refined) < n + 2:
            break
        ref = [z for z, _ in refined]
        if peak - level < level * mpf(10) ** -8:
            break
    return best


def to_long_double(v):
    """v rounded to 64 significant bits: (integer significand, exponent), value = m * 2^e."""
    if v == 0:
        return 0, 0
    m, e = mpmath.frexp(v)  # v = m * 2^e, 0.5 <= |m| < 1
    sig = int(mpmath.nint(m * mpf(2) ** 64))
    e -= 64
    if abs(sig) == 1 << 64:
        sig //= 2
        e += 1
    return sig, e


def rounded(v, bits=64):
    m, e = mpmath.frexp(v)
    return mpmath.ldexp(mpmath.nint(m * mpf(2) ** bits), e - bits)


def literal(v):
    sig, e = to_long_double(v)
    sign = "-" if sig < 0 else ""
    return f"{sign}0x{abs(sig):016X}p{e:+d}L"


def value_of_literal(v):
    sig, e = to_long_double(v)
    return mpmath.ldexp(sig, e)


def check(coefficients, f, w, name):
    worst = mpf(0)
    for i in range(20001):
        z = Z * i / 20000
        worst = max(worst, abs(w(z) * (f(z) - polyval(coefficients, z))))
    print(f"{name}: {len(coefficients)} coefficients, error {mpmath.nstr(worst, 5)}"
          f" = 2^{mpmath.nstr(mpmath.log(worst, 2), 4)}", file=sys.stderr)
    return worst


def fit(f, w, name, target, double_from):
    """The fewest coefficients whose error is below target, the first ones rounded to long
    double and those from double_from on to double (they weigh so little that 53 bits do, and
    the x87 unit loads a double far faster than an 80-bit value)."""
    for degree in range(6, 14):
        c, peak = remez(f, w, degree, mpf(0), Z)
        if peak < target:
            # Round the coefficients one after another from the first, refitting the rest
            # around each rounded one, so that rounding costs next to nothing.
            fixed = []
            while len(fixed) <= degree:
                k = len(fixed)
                fixed.append(rounded(c[k], 53) if k >= double_from else value_of_literal(c[k]))
                if len(fixed) > degree:
                    break
                head = list(fixed)

                def g(z, head=head):
                    return (f(z) - polyval(head, z)) / z ** len(head)

                def v(z, head=head):
                    return w(z) * z ** len(head)

                rest, _ = remez(g, v, degree - len(head), mpf(2) ** -200, Z)
                c = head + rest
            worst = check(fixed, f, w, name)
            return fixed, worst
    raise SystemExit(f"{name}: no degree reaches the target")


def two_over_pi_words(count):
    mp.prec = 64 * count + 200
    bits = int(mpmath.floor(2 / mp.pi * mpf(2) ** (64 * count)))
    mp.prec = 200
    return [(bits >> (64 * (count - 1 - j))) & ((1 << 64) - 1) for j in range(count)]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "engine", "trig_constants.h")
    sin_c, sin_err = fit(sin_tail, sin_weight, "sine", mpf(2) ** -72, 4)
    cos_c, cos_err = fit(cos_tail, cos_weight, "cosine", mpf(2) ** -72, 3)

    half_pi = mp.pi / 2
    c1 = rounded(half_pi, 44)
    c2 = rounded(half_pi - c1, 44)
    c3 = rounded(half_pi - c1 - c2, 53)
    hi = rounded(half_pi, 64)
    lo = rounded(half_pi - hi, 64)
    hi_head = rounded(hi, 32)
    hi_tail = hi - hi_head
    assert rounded(hi_tail, 32) == hi_tail
    # Words of 2/pi: word j holds the bits of weights 2^-(64j+1) ... 2^-(64j+64). The largest
    # finite long double has the exponent 16383; its reduction reads 5 words from bit 16320.
    words = two_over_pi_words((16383 + 5 * 64) // 64 + 2)

    lines = [
        "// The constants of the engine's own sine and cosine, rounded to long double. Generated by",
        "// scripts/trig_constants.py with mpmath; do not edit.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "namespace kq::trig {",
        "",
        f"// sin r = r + r^3 S(r^2) on |r| <= pi/4: relative error below 2^{mpmath.nstr(mpmath.log(sin_err, 2), 4)}.",
        "inline constexpr long double kSine[] = {",
    ]
    lines += [f"    {literal(c)}," for c in sin_c]
    lines += [
        "};",
        f"// cos r = 1 - r^2/2 + r^4 C(r^2) on |r| <= pi/4: error below 2^{mpmath.nstr(mpmath.log(cos_err, 2), 4)}"
        " of the value.",
        "inline constexpr long double kCosine[] = {",
    ]
    lines += [f"    {literal(c)}," for c in cos_c]
    lines += [
        "};",
        "",
        "// 2/pi in double, and pi/2 in three parts: kHalfPi1 and kHalfPi2 of 44 significant bits,",
        "// kHalfPi3 of 53 (141 bits in all). Doubles all, which the x87 unit loads fast.",
        f"inline constexpr long double kTwoOverPi = {literal(rounded(2 / mp.pi, 53))};",
        f"inline constexpr long double kHalfPi1 = {literal(c1)};",
        f"inline constexpr long double kHalfPi2 = {literal(c2)};",
        f"inline constexpr long double kHalfPi3 = {literal(c3)};",
        "// pi/2 = kHalfPiHigh + kHalfPiLow to 128 bits; kHalfPiHigh = kHalfPiHead + kHalfPiTail,",
        "// 32 significant bits each, for exact products.",
        f"inline constexpr long double kHalfPiHigh = {literal(hi)};",
        f"inline constexpr long double kHalfPiLow = {literal(lo)};",
        f"inline constexpr long double kHalfPiHead = {literal(hi_head)};",
        f"inline constexpr long double kHalfPiTail = {literal(hi_tail)};",
        "",
        "// The bits of 2/pi: word j holds those of weights 2^-(64j+1) to 2^-(64j+64).",
        f"inline constexpr std::uint64_t kTwoOverPiBits[{len(words)}] = {{",
    ]
    for j in range(0, len(words), 4):
        lines.append("    " + " ".join(f"0x{w:016X}u," for w in words[j:j + 4]))
    lines += ["};", "", "}  // namespace kq::trig", ""]
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
