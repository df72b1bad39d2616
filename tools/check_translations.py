#!/usr/bin/env python3
"""Checks that every translation in ui/translations is whole.

lupdate reads the sources of ui/ and app/ into a copy of each .ts file; then no text may
be new there (untranslated), none may be left over from texts the program no longer
shows, and every translation must carry the placeholders (%1, %L1, ...) of its source.

Usage: check_translations.py LUPDATE TOP. Prints every fault and exits with 1 when there is one.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

PLACEHOLDER = re.compile(r"%L?\d")


def faults_of(path, name):
    faults = []
    for context in ElementTree.parse(path).getroot().iter("context"):
        context_name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = "%s: %s: %r" % (name, context_name, source)
            kind = translation.get("type") if translation is not None else "unfinished"
            if kind in ("vanished", "obsolete"):
                faults.append(where + " is no longer in the sources")
            elif kind == "unfinished" or not (translation.text or "").strip():
                faults.append(where + " is not translated")
            elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(translation.text)):
                faults.append(where + " is translated without its placeholders")
    return faults


def main(lupdate, top):
    folder = os.path.join(top, "ui", "translations")
    names = sorted(name for name in os.listdir(folder) if name.endswith(".ts"))
    faults = []
    for name in names:
        with tempfile.TemporaryDirectory() as work:
            copy = os.path.join(work, name)
            shutil.copy(os.path.join(folder, name), copy)
            subprocess.run([lupdate, "-silent", "-locations", "none", os.path.join(top, "ui"),
                            os.path.join(top, "app"), "-ts", copy], check=True)
            faults += faults_of(copy, name)
    for fault in faults:
        print(fault)
    print("%d translations: %s" % (len(names), "%d faults" % len(faults) if faults else "whole"))
    return 1 if faults or not names else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
