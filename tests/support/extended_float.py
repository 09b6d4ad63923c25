"""The x87 extended format as the reference scripts write it: mpmath values rounded to a
64-bit significand and printed as exact hexadecimal literals, so that no decimal conversion
stands between a script and the test that reads its table."""
import mpmath
from mpmath import mpf


def ld(v):
    """v rounded to the x87 extended format (64-bit significand, nearest)."""
    with mpmath.workprec(64):
        return +mpf(v)


def dbl(v):
    """v rounded to a double."""
    with mpmath.workprec(53):
        return +mpf(v)


def hexfloat(v):
    """v rounded to the extended format, as a C++ long double literal."""
    v = ld(v)
    if v == 0:
        return "0.0L"
    negative, man, exp, _ = v._mpf_
    return f"{'-' if negative else ''}0x{man:X}p{exp}L"
