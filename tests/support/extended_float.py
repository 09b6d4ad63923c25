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


BITS = 64


def round64(v):
    """v rounded to the nearest long double (ties to even), at any exponent mpmath holds; v is
    not below 2^-16382."""
    if v == 0:
        return mpf(0)
    m, e = mpmath.frexp(v)  # 0.5 <= |m| < 1
    scaled = m * mpf(2) ** BITS
    n = int(mpmath.floor(scaled))
    rest = scaled - n
    if rest > 0.5 or (rest == 0.5 and n % 2 == 1):
        n += 1
    return mpmath.ldexp(n, e - BITS)


def hex80(v):
    """The 80 bits of the long double v (which must be one) as 20 hex digits."""
    if v == 0:
        return "0" * 20
    sign = 1 if v < 0 else 0
    m, e = mpmath.frexp(abs(v))
    significand = int(mpmath.ldexp(m, BITS))
    assert mpmath.ldexp(significand, e - BITS) == abs(v), v
    exponent = e - 1 + 16383
    return f"{(sign << 79) | (exponent << 64) | significand:020x}"


def true_value(v):
    """v as the long double nearest to it and the long double nearest to the rest (0 where the
    rest is below the format's range); call it at the working precision v was computed at."""
    high = round64(v)
    low = round64(v - high) if abs(v - high) > mpf(2) ** -16000 else mpf(0)
    return high, low
