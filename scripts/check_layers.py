#!/usr/bin/env python3
"""Fails when a library includes a header of a library above it.

Each file under src/ belongs to the target whose add_library or add_executable lists it (a
header without its own entry goes with its .cpp, or else with its folder's library). A target
may include the headers of the targets it stands on, directly or through others, and nothing
else; the libraries without the toolkit include no Qt header, and those with the toolkit's
painting but no windows include none of its widget headers. A page's generated ui_*.h is
included by that page's .cpp alone, and never by a test.

usage: check_layers.py SOURCE_DIR [--widget-headers DIR]...
"""

import os
import re
import sys

# What each target stands on. Everything not named here is above the rule's reach.
DEPENDS = {
    "kq_engine": [],
    "kq_plot": ["kq_engine"],
    "kq_calc": ["kq_engine"],
    "kq_docs": ["kq_plot"],  # the metafile picture is one of the renderer's canvases
    "kq_app": ["kq_engine"],
    "kq_info": ["kq_engine"],
    "kq_output": ["kq_plot", "kq_docs"],
    "kq_cli_core": ["kq_calc", "kq_plot"],
    "kq_cli": ["kq_cli_core", "kq_output", "kq_plot", "kq_docs"],
    "kq_ui": ["kq_output", "kq_plot", "kq_calc", "kq_docs", "kq_app", "kq_info"],
    "quantorium": ["kq_ui", "kq_cli"],
    "quantorium_core": ["kq_cli_core"],
}
WITHOUT_TOOLKIT = {"kq_engine", "kq_plot", "kq_calc", "kq_docs", "kq_app", "kq_info", "kq_cli_core",
                   "quantorium_core"}
WITHOUT_WIDGETS = {"kq_output", "kq_cli"}

TARGET = re.compile(r"add_(?:library|executable)\(\s*(\w+)([^)]*)\)", re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def closure(target):
    seen, todo = set(), list(DEPENDS.get(target, []))
    while todo:
        t = todo.pop()
        if t not in seen:
            seen.add(t)
            todo.extend(DEPENDS.get(t, []))
    return seen


def owners(src):
    """Every file under src/ (relative to it) with the target it belongs to."""
    owner, folder_library = {}, {}
    for folder in sorted(os.listdir(src)):
        cmake = os.path.join(src, folder, "CMakeLists.txt")
        if not os.path.isfile(cmake):
            continue
        with open(cmake, encoding="utf-8") as f:
            text = re.sub(r"#.*", "", f.read())
        for name, body in TARGET.findall(text):
            folder_library.setdefault(folder, name)
            for word in body.split():
                if re.search(r"\.(cpp|h)$", word):
                    owner[folder + "/" + word] = name
    found = {}
    for folder in folder_library:
        for name in sorted(os.listdir(os.path.join(src, folder))):
            path = folder + "/" + name
            if not re.search(r"\.(cpp|h)$", name):
                continue
            sibling = re.sub(r"\.h$", ".cpp", path)
            found[path] = owner.get(path) or owner.get(sibling) or folder_library[folder]
    return found


def widget_headers(dirs):
    names = set()
    for d in dirs:
        if os.path.isdir(d):
            names.update(os.listdir(d))
    return names


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    root = argv[1]
    widget_dirs = [argv[i + 1] for i in range(2, len(argv) - 1) if argv[i] == "--widget-headers"]
    widgets = widget_headers(widget_dirs)
    src = os.path.join(root, "src")
    files = owners(src)
    problems = []
    for path, target in sorted(files.items()):
        with open(os.path.join(src, path), encoding="utf-8") as f:
            text = f.read()
        allowed = closure(target) | {target}
        for kind, name in INCLUDE.findall(text):
            where = "src/" + path
            if kind == "<":
                qt = name.startswith("Q") or name.startswith("qt") or name.startswith("Qt")
                if qt and target in WITHOUT_TOOLKIT:
                    problems.append(f"{where}: {target} is built without the toolkit, yet includes <{name}>")
                base = name.split("/")[-1]
                if target in WITHOUT_WIDGETS and (name.startswith("QtWidgets/") or base in widgets):
                    problems.append(f"{where}: {target} has no widgets, yet includes <{name}>")
                continue
            generated = re.fullmatch(r"ui_(\w+)\.h", name)
            if generated:
                if path != f"ui/{generated.group(1)}.cpp":
                    problems.append(f"{where}: only ui/{generated.group(1)}.cpp includes its generated {name}")
                continue
            other = files.get(name)
            if other is None:
                continue  # a header of the build (version.h) or of the same folder's tests
            if other not in allowed:
                problems.append(f"{where}: {target} includes \"{name}\" of {other}, which it does not stand on")
    tests = os.path.join(root, "tests")
    for folder, _, names in os.walk(tests):
        for name in names:
            if not re.search(r"\.(cpp|h)$", name):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as f:
                for _, included in INCLUDE.findall(f.read()):
                    if re.fullmatch(r"ui_\w+\.h", included):
                        problems.append(f"{os.path.relpath(path, root)}: a test includes the generated {included}; "
                                        "it reaches the page through its functions or findChild")
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    print(f"layers kept: {len(files)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
