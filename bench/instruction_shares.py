"""Splits a callgrind profile into the project's own code and the libraries
it calls, by function.

callgrind_annotate --inclusive=no lists the instructions spent in each
function, as "file:function [object]". A function is the project's when its
source file lies in one of the project's folders (the build has debug
information) or when its name is one of the symbols that the project's own
object files define. A library linked statically lands in the program's own
object, so library functions are recognised by the symbols of the archive
they came from; a shared library by its object's name."""

import os
import re
import subprocess

PROJECT_FOLDERS = ("frontend", "runlog", "util", "pngwriter", "bmpconv", "platform", "png2bmp")

GROUPS = ("project", "zlib", "libpng", "libqrencode", "libc and loader", "C++ runtime", "other")

# Shared objects, by the start of their file name.
SHARED_OBJECTS = (
    ("libz.", "zlib"),
    ("libpng", "libpng"),
    ("libqrencode", "libqrencode"),
    ("libc.", "libc and loader"),
    ("libm.", "libc and loader"),
    ("ld-linux", "libc and loader"),
    ("libpthread", "libc and loader"),
    ("libstdc++", "C++ runtime"),
    ("libgcc_s", "C++ runtime"),
)

LINE = re.compile(r"^\s*([\d,]+)\s+\(\s*[\d.]+%\)\s+(.*)$")


def defined_symbols(paths):
    """Names of the functions that the object files or archives define,
    demangled as callgrind shows them."""
    names = set()
    for path in paths:
        out = subprocess.run(["nm", "-C", "--defined-only", path], capture_output=True,
                             text=True, check=False).stdout
        for line in out.splitlines():
            parts = line.split(" ", 2)
            # Weak symbols are template and inline code that many objects
            # share, the standard library's as much as the project's.
            if len(parts) == 3 and parts[1] in ("T", "t"):
                names.add(parts[2])
    return names


class Classifier:
    def __init__(self, root, project_objects, archives):
        """archives: group name -> list of static library paths."""
        self.root = os.path.realpath(root)
        self.project = defined_symbols(project_objects)
        self.archives = {group: defined_symbols(paths) for group, paths in archives.items()}

    def group(self, source, function, obj):
        if source.startswith(self.root + os.sep):
            top = source[len(self.root) + 1:].split(os.sep, 1)[0]
            if top in PROJECT_FOLDERS:
                return "project"
        # Also a project function whose cost callgrind puts on a header it
        # inlined.
        if function in self.project:
            return "project"
        name = os.path.basename(obj)
        for prefix, group in SHARED_OBJECTS:
            if name.startswith(prefix):
                return group
        for group, names in self.archives.items():
            if function in names:
                return group
        # glibc's debug information names its sources "./malloc/...".
        if source.startswith("./"):
            return "libc and loader"
        if source.startswith(("/usr/include/c++/", "/usr/lib/gcc/")):
            return "C++ runtime"
        return "other"


def parse_annotate(text):
    """(instructions, source file, function, object) per line."""
    rows = []
    for line in text.splitlines():
        m = LINE.match(line)
        if not m or "PROGRAM TOTALS" in line:
            continue
        rest = m.group(2)
        obj = ""
        om = re.search(r" \[([^\]]*)\]$", rest)
        if om:
            obj = om.group(1)
            rest = rest[:om.start()]
        source, _, function = rest.partition(":")
        rows.append((int(m.group(1).replace(",", "")), source, function, obj))
    return rows


def shares(callgrind_out, classifier):
    """Instructions per group, the total, and the project's functions with
    their counts, largest first."""
    text = subprocess.run(["callgrind_annotate", "--inclusive=no", "--threshold=100", "--auto=no",
                           callgrind_out], capture_output=True, text=True, check=True).stdout
    totals = dict.fromkeys(GROUPS, 0)
    own = {}
    for count, source, function, obj in parse_annotate(text):
        group = classifier.group(source, function, obj)
        totals[group] += count
        if group == "project":
            own[function] = own.get(function, 0) + count
    total = sum(totals.values())
    return totals, total, sorted(own.items(), key=lambda item: -item[1])
