#!/usr/bin/env python3
"""Whether two SVG files draw the same lines in the same colours, each line laid on a pixel
grid of the picture's size, allowing one pixel of displacement.

    svg_strokes.py WIDTH HEIGHT REFERENCE.svg READ_BACK.svg

READ_BACK may place the picture anywhere inside its own page (as a metafile reader does): its
first rectangle is taken for the picture's area. Exit status 0 when the strokes agree.
"""
import math
import re
import sys
import xml.etree.ElementTree as ET

NAMED = {"black": "#000000", "silver": "#c0c0c0", "gray": "#808080", "grey": "#808080", "white": "#ffffff",
         "red": "#ff0000", "lime": "#00ff00", "blue": "#0000ff", "maroon": "#800000", "green": "#008000",
         "navy": "#000080", "olive": "#808000", "purple": "#800080", "teal": "#008080", "fuchsia": "#ff00ff",
         "aqua": "#00ffff", "yellow": "#ffff00", "darkgray": "#a9a9a9", "darkgrey": "#a9a9a9",
         "dimgray": "#696969", "dimgrey": "#696969", "lightgray": "#d3d3d3", "lightgrey": "#d3d3d3",
         "gainsboro": "#dcdcdc", "whitesmoke": "#f5f5f5", "slategray": "#708090", "lightslategray": "#778899",
         "darkslategray": "#2f4f4f"}
# A reader may give a colour by the nearest name it knows.
TOLERANCE = 24


def colour(value):
    value = value.strip().lower()
    value = NAMED.get(value, value)
    if not re.fullmatch(r"#[0-9a-f]{6}", value):
        raise SystemExit(f"unknown colour {value!r}")
    return tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))


def closest(name, names):
    best = min(names, key=lambda n: max(abs(a - b) for a, b in zip(n, name)), default=None)
    return best if best is not None and max(abs(a - b) for a, b in zip(best, name)) <= TOLERANCE else name


def local(tag):
    return tag.rsplit("}", 1)[-1]


def style_of(element):
    style = dict(element.attrib)
    for part in element.attrib.get("style", "").split(";"):
        if ":" in part:
            key, value = part.split(":", 1)
            style[key.strip()] = value.strip()
    return style


def matrix(text):
    m = re.search(r"matrix\(([^)]*)\)", text or "")
    if not m:
        return (1, 0, 0, 1, 0, 0)
    return tuple(float(v) for v in re.split(r"[ ,]+", m.group(1).strip()))


def compose(outer, inner):
    a, b, c, d, e, f = outer
    A, B, C, D, E, F = inner
    return (a * A + c * B, b * A + d * B, a * C + c * D, b * C + d * D, a * E + c * F + e, b * E + d * F + f)


def lines(root):
    """(colour, [(x, y), ...]) for every polyline, and the first rectangle (x, y, w, h)."""
    found, rects = [], []

    def walk(element, stroke, transform):
        style = style_of(element)
        stroke = style.get("stroke", stroke)
        transform = compose(transform, matrix(element.attrib.get("transform")))
        tag = local(element.tag)
        if tag == "rect":
            rects.append(tuple(float(element.attrib.get(k, 0)) for k in ("x", "y", "width", "height")))
        if tag == "polyline" and stroke and stroke != "none":
            numbers = [float(v) for v in re.split(r"[ ,\n\t]+", element.attrib["points"].strip()) if v]
            a, b, c, d, e, f = transform
            points = [(a * x + c * y + e, b * x + d * y + f) for x, y in zip(numbers[::2], numbers[1::2])]
            found.append((colour(stroke), points))
        for child in element:
            walk(child, stroke, transform)

    walk(root, None, (1, 0, 0, 1, 0, 0))
    return found, rects


def pixels(found, place):
    """The pixels each colour's lines pass through, after `place` maps points to pixels."""
    seen = {}
    for name, points in found:
        cells = seen.setdefault(name, set())
        mapped = [place(p) for p in points]
        for (x0, y0), (x1, y1) in zip(mapped, mapped[1:] or mapped):
            steps = max(1, int(math.ceil(4 * max(abs(x1 - x0), abs(y1 - y0)))))
            for k in range(steps + 1):
                t = k / steps
                cells.add((int(math.floor(x0 + t * (x1 - x0))), int(math.floor(y0 + t * (y1 - y0)))))
    return seen


def share_found(a, b):
    if not a:
        return 1.0
    near = sum(1 for (x, y) in a if any((x + dx, y + dy) in b for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return near / len(a)


def main():
    width, height = int(sys.argv[1]), int(sys.argv[2])
    reference, _ = lines(ET.parse(sys.argv[3]).getroot())
    back, rects = lines(ET.parse(sys.argv[4]).getroot())
    if not rects:
        print("no picture area in", sys.argv[4])
        return 1
    rx, ry, rw, rh = rects[0]
    ours = pixels(reference, lambda p: p)
    back = [(closest(name, ours.keys()), points) for name, points in back]
    theirs = pixels(back, lambda p: ((p[0] - rx) * width / rw, (p[1] - ry) * height / rh))
    ok = bool(ours)
    for name in sorted(set(ours) | set(theirs)):
        a, b = ours.get(name, set()), theirs.get(name, set())
        there, back_again = share_found(a, b), share_found(b, a)
        good = there >= 0.97 and back_again >= 0.97
        ok = ok and good
        print(f"#{bytes(name).hex()}: {len(a)} and {len(b)} pixels, {there:.3f} and {back_again:.3f} found {'ok' if good else 'DIFFER'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
