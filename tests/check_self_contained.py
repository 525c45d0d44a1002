#!/usr/bin/python3
"""Fails when a file of the project names a path outside the repository: a
folder beside the checkout or an absolute path of the machine the team
works on. Such a path works on that machine and nowhere else.

Usage: check_self_contained.py SOURCE_DIR

The files checked are git's (tracked, and new ones not ignored) when the
folder is a git checkout; otherwise every file, less build folders and the
dependency cache. Files holding a NUL byte (images, corpus entries) are
skipped.
"""
import os
import re
import subprocess
import sys

# Written so that this file does not match itself.
OUTSIDE = re.compile(rb"\.\./shared\b|(?<![\w.$}/-])/wor[k](?:/|\b)")


def project_files(root):
    try:
        run = subprocess.run(["git", "-C", root, "ls-files", "-z", "--cached", "--others",
                              "--exclude-standard"], capture_output=True, check=False)
    except OSError:
        run = None
    if run is not None and run.returncode == 0:
        return [os.path.join(root, n) for n in run.stdout.decode().split("\0") if n]
    files = []
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = [d for d in subfolders
                         if d not in (".git", ".cache") and not d.startswith("build")
                         and not os.path.exists(os.path.join(folder, d, "CMakeCache.txt"))]
        files += [os.path.join(folder, n) for n in names]
    return files


def main():
    root = sys.argv[1]
    found = []
    files = project_files(root)
    for path in files:
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError:
            continue  # listed by git but deleted in the worktree
        if b"\0" in data:
            continue
        for number, line in enumerate(data.split(b"\n"), 1):
            if OUTSIDE.search(line):
                found.append("%s:%d: %s" % (os.path.relpath(path, root), number,
                                            line.decode(errors="replace").strip()))
    for line in found:
        print(line)
    print("%d files checked, %d lines name a path outside the repository" % (len(files), len(found)))
    return 1 if found or len(files) < 50 else 0


if __name__ == "__main__":
    sys.exit(main())
