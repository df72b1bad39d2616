#!/usr/bin/env python3
"""Counts the file calls of one run in a Wine relay trace (WINEDEBUG=+relay).

Reads the trace on its input; counts every "Call MODULE.Function" between the bench's
two marks ("velmorandi-bench: run begins" and "... run ends"), on every thread, and
prints them per renamed file: the Win32 calls (kernel32, kernelbase) and, below them,
the NT calls Wine makes of them (ntdll). Usage: count_calls.py FILES < trace
"""
import collections
import re
import sys

CALL = re.compile(r"^[0-9a-f]+:Call ([A-Za-z0-9_]+)\.([A-Za-z0-9_]+)\(")


def count(lines):
    calls = collections.Counter()
    inside = False
    for line in lines:
        if "velmorandi-bench: run begins" in line:
            inside = True
            continue
        if "velmorandi-bench: run ends" in line:
            return calls
        match = CALL.match(line)
        if inside and match:
            calls[(match.group(1).lower(), match.group(2))] += 1
    raise SystemExit("the trace holds no whole run")


def main(files):
    calls = count(sys.stdin)
    for level, modules in (("win32", ("kernel32", "kernelbase")), ("nt", ("ntdll",))):
        made = {(module, name): n for (module, name), n in calls.items() if module in modules}
        total = sum(made.values())
        print("BENCH wine-%s-calls n=%d per-file=%.3f" % (level, files, total / files))
        for (module, name), n in sorted(made.items(), key=lambda item: -item[1]):
            print("BENCH wine-%s-calls n=%d %s.%s=%.3f" % (level, files, module, name, n / files))


if __name__ == "__main__":
    main(int(sys.argv[1]))
