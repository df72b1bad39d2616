#!/usr/bin/env python3
"""Checks the include graph of the program's own code.

Layers, lowest first: core/platform, core (with core/transforms), core/run,
core/session, ui/words beside ui/shell, ui/main, app. A file may include headers
of its own layer or of a lower one, never of a higher one. A header and its source form one unit
(name.h with name.cpp, or name_linux.cpp / name_windows.cpp beside it, or the
platform's linux/ and windows/ sources of a platform header); no chain of
includes between units may lead back to where it started.

Prints every fault and exits with 1 when there is one.
"""
import os
import re
import sys

LAYERS = [("core/platform/", 0), ("core/run/", 2), ("core/session/", 3), ("core/", 1),
          ("ui/words/", 4), ("ui/shell/", 4), ("ui/main/", 5), ("app/", 6)]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(path):
    for prefix, layer in LAYERS:
        if path.startswith(prefix):
            return layer
    return None


def unit_of(path):
    """The unit a file belongs to: its header's path without extension."""
    stem, _ = os.path.splitext(path)
    for platform in ("linux", "windows"):
        marker = "core/platform/%s/" % platform
        if stem.startswith(marker):
            return "core/platform/" + stem[len(marker):]
    return stem


def resolve(including, name, files):
    """The repository path an include names, or None for one outside the program."""
    here = os.path.dirname(including)
    roots = [here, "core", "ui", "app", ""]
    for root in roots:
        candidate = os.path.normpath(os.path.join(root, name))
        if candidate in files:
            return candidate
    return None


def main(top):
    os.chdir(top)
    files = set()
    for folder in ("core", "ui", "app"):
        for base, _, names in os.walk(folder):
            for name in names:
                if name.endswith((".h", ".cpp")):
                    files.add(os.path.join(base, name))
    faults = []
    edges = {}
    for path in sorted(files):
        with open(path, encoding="utf-8", errors="replace") as source:
            text = source.read()
        for name in INCLUDE.findall(text):
            target = resolve(path, name, files)
            if target is None:
                continue
            if layer_of(target) > layer_of(path):
                faults.append("%s includes %s, a layer above it" % (path, target))
            a, b = unit_of(path), unit_of(target)
            if a != b:
                edges.setdefault(a, set()).add(b)
    # Depth-first search for a unit that reaches itself.
    state = {}
    stack = []

    def visit(unit):
        state[unit] = "open"
        stack.append(unit)
        for next_unit in sorted(edges.get(unit, ())):
            if state.get(next_unit) == "open":
                loop = stack[stack.index(next_unit):] + [next_unit]
                faults.append("include loop: " + " -> ".join(loop))
            elif next_unit not in state:
                visit(next_unit)
        stack.pop()
        state[unit] = "done"

    for unit in sorted(edges):
        if unit not in state:
            visit(unit)
    for fault in faults:
        print(fault)
    if not faults:
        print("%d files, %d units: no upward include and no loop" % (len(files), len(edges)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
