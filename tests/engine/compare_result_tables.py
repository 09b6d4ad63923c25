#!/usr/bin/env python3
"""Compares two builds' result tables (engine_result_table) line by line.

    compare_result_tables.py REFERENCE.txt OTHER.txt KNOWN.txt [REPORT.txt]

Every line must agree bit for bit, except where the C libraries of the two systems differ: a
library function listed in KNOWN (name and the largest difference allowed, in units in the
last place) may differ by at most that much, and a formula whose result differs must call one
of the functions that did differ. Anything else, a difference in the engine's own arithmetic,
fails. The report (printed, and written to REPORT when given) says, for each library function,
on how many arguments it differed and by how many units in the last place at most, and how
many formula results differ because of it.
"""
import re
import sys

# The library functions a formula's result depends on, by what the formula text holds. A
# power whose exponent is not 2 or 3 (those are multiplied out) calls powl; "^e" is the
# exponential; the numbered roots and powers call powl and pow (rt2 is sqrtl, exact
# everywhere). Sine and cosine are the engine's own, and so are tg and ctg with exact
# functions: only their double tangent (or, beyond double's range, tanl) is the library's.
FUNCTIONS_OF = [
    (r"arcsin|asin", {"asin", "asinl", "atan2l"}),
    (r"arccos|acos", {"acos", "acosl", "atan2l"}),
    (r"arcctg|arccot|actg", {"atan", "atanl", "atan2l"}),
    (r"arctg|atg|arctan", {"atan", "atanl"}),
    (r"(?<![a-z])(tg|ctg|tan|cot)\(", {"tan", "tanl"}),
    (r"(?<![a-z])ln\(", {"log", "logl"}),
    (r"(?<![a-z])lg\(|log<", {"log10", "log10l"}),
    (r"exp\(|\^e", {"exp", "expl"}),
    (r"(?<![a-z])pw", {"pow", "powl"}),
    (r"(?<![a-z])rt(?!2\()|rtt<", {"powl"}),
    (r"\^(?![23](?![0-9.^]))", {"powl", "pow"}),
]


RANGES = ["|x|<2^-20", "|x|<1", "|x|<2^20", "|x|<2^63", "|x|>=2^63"]


def magnitude(bits):
    """The range of |x| an argument (80 or 64 bits) falls in."""
    v = int(bits, 16)
    e = ((v >> 64) & 0x7FFF) - 16383 if len(bits) == 20 else ((v >> 52) & 0x7FF) - 1023
    for bound, name in zip([-20, 0, 20, 63], RANGES):
        if e < bound:
            return name
    return RANGES[-1]


def read(path):
    lines = []
    with open(path, encoding="utf-8", newline="") as f:
        for line in f:
            lines.append(line.rstrip("\r\n"))
    return lines


def ordered(bits, width):
    """Consecutive floating-point values as consecutive integers (None for NaN)."""
    v = int(bits, 16)
    if width == 80:
        sign, exponent, mantissa = v >> 79, (v >> 64) & 0x7FFF, v & ((1 << 64) - 1)
        if exponent == 0x7FFF and mantissa & ((1 << 63) - 1):
            return None
        index = mantissa if exponent == 0 else (exponent << 63) + (mantissa & ((1 << 63) - 1))
    else:
        sign, rest = v >> 63, v & ((1 << 63) - 1)
        if (rest >> 52) == 0x7FF and rest & ((1 << 52) - 1):
            return None
        index = rest
    return -index if sign else index


def ulps(a, b):
    """Units in the last place between two results, each one or more values of 80 or 64 bits."""
    width = 80 if len(a) % 20 == 0 else 64
    step = 20 if width == 80 else 16
    worst = 0
    for k in range(0, len(a), step):
        x, y = ordered(a[k:k + step], width), ordered(b[k:k + step], width)
        if x is None or y is None:
            if x != y:
                return float("inf")
            continue
        worst = max(worst, abs(x - y))
    return worst


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    reference, other = read(argv[1]), read(argv[2])
    known = {}
    for line in read(argv[3]):
        line = line.split("#")[0].strip()
        if line:
            name, bound = line.split()[:2]
            known[name] = float("inf") if bound == "any" else float(bound)
    report = []
    failures = []
    if len(reference) != len(other):
        failures.append(f"the tables differ in length: {len(reference)} and {len(other)} lines")

    differing = {}  # library function: {range of |argument|: [arguments, NaN bits only, worst ulps]}
    formula_lines = []
    for a, b in zip(reference, other):
        fa, fb = a.split("\t"), b.split("\t")
        if fa[0] == "lib":
            if fa[:3] != fb[:3]:
                failures.append(f"the tables are not in step: {a!r} and {b!r}")
                break
            if fa[3] != fb[3]:
                entry = differing.setdefault(fa[1], {}).setdefault(magnitude(fa[2].split(",")[0]), [0, 0, 0])
                u = ulps(fa[3], fb[3])
                entry[0] += 1
                entry[1] += 1 if u == 0 else 0
                entry[2] = max(entry[2], u)
            continue
        if fa[:5] != fb[:5]:
            failures.append(f"the tables are not in step: {a!r} and {b!r}")
            break
        if a != b:
            formula_lines.append((fa, fb))

    for name, ranges in sorted(differing.items()):
        worst = max(r[2] for r in ranges.values())
        if name not in known:
            failures.append(f"{name} differs (up to {worst:g} ulp) and is not a known difference")
        elif worst > known[name]:
            failures.append(f"{name} differs by up to {worst:g} ulp, more than the known {known[name]:g}")

    caused = {}
    for fa, fb in formula_lines:
        needs = set()
        for pattern, names in FUNCTIONS_OF:
            if re.search(pattern, fa[1]):
                needs |= names
        causes = sorted(needs & differing.keys())
        if not causes:
            failures.append("the engine's own result differs: " + "\t".join(fa) + "  against  " + "\t".join(fb[5:]))
            continue
        key = ", ".join(causes)
        caused[key] = caused.get(key, 0) + 1

    formulas = sum(1 for line in reference if not line.startswith("lib\t"))
    report.append(f"{len(reference)} lines compared: {formulas} formula results, {len(reference) - formulas} library values")
    report.append(f"{formulas - len(formula_lines)} formula results agree bit for bit, {len(formula_lines)} differ")
    if differing:
        report.append("library functions that differ, by the size of the argument: arguments where they differ"
                      " (of which in a NaN's sign or payload only), and the largest difference in ulp")
        for name, ranges in sorted(differing.items()):
            cells = [f"{r}: {c[0]} ({c[1]}) {c[2]:.3g}" for r, c in sorted(ranges.items(), key=lambda kv: RANGES.index(kv[0]))]
            report.append(f"  {name:8} " + "; ".join(cells))
        report.append("formula results that differ, by the library functions they call that differ:")
        for key, count in sorted(caused.items(), key=lambda kv: -kv[1]):
            report.append(f"  {count:6}  {key}")
    for f in failures[:40]:
        report.append("FAIL: " + f)
    if len(failures) > 40:
        report.append(f"FAIL: ... and {len(failures) - 40} more")
    report.append("tables agree but for the known library differences" if not failures else f"{len(failures)} failures")
    text = "\n".join(report) + "\n"
    sys.stdout.write(text)
    if len(argv) > 4:
        with open(argv[4], "w", encoding="utf-8") as f:
            f.write(text)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
