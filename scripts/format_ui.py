#!/usr/bin/env python3
"""Rewrites Qt Designer .ui files in the layout Designer itself writes: one element a line,
one blank of indentation per level, leaf text kept on the element's line."""
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr


def write(element, depth, out):
    pad = " " * depth
    attrs = "".join(f" {k}={quoteattr(v)}" for k, v in element.attrib.items())
    children = list(element)
    text = (element.text or "").strip() if not children else ""
    if not children and not text:
        out.append(f"{pad}<{element.tag}{attrs}/>")
    elif not children:
        out.append(f"{pad}<{element.tag}{attrs}>{escape(element.text)}</{element.tag}>")
    else:
        out.append(f"{pad}<{element.tag}{attrs}>")
        for child in children:
            write(child, depth + 1, out)
        out.append(f"{pad}</{element.tag}>")


for path in sys.argv[1:]:
    root = ET.parse(path).getroot()
    lines = ['<?xml version="1.0" encoding="UTF-8"?>']
    write(root, 0, lines)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
