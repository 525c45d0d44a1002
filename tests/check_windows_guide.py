#!/usr/bin/python3
"""scripts/windows-guide.py keeps only the text of a link, so every link of
README.txt must point to a section README.txt holds: the real guide's do,
and each guide below whose link does not must stop the script, named.

Usage: check_windows_guide.py SOURCE_DIR
"""
import os
import subprocess
import sys
import tempfile

OTHER = "# Other\n\n## Kept\n\nSee [Inside](#inside) and [Left](#left).\n\n### Inside\n\nx\n\n## Left\n\ny\n"
TAKE = "<!-- README.txt: takes other.md#kept -->\n[link](other.md#kept)\n"
# A guide, and the link the script must name as dangling (None: it resolves).
CASES = [
    ("# G\n\n" + TAKE, "other.md: [Left](#left)"),
    ("# G\n\nSee [nowhere](#nowhere) and [web](https://example.com/).\n", "guide.md: [nowhere](#nowhere)"),
    ("# G\n\nRun [the script](run.sh).\n", "guide.md: [the script](run.sh)"),
    ("# G\n\n" + TAKE + "\n## Left\n\n<!-- README.txt: takes other.md#left -->\nz\n", None),
    ("# G\n\nAll of [Other](other.md).\n\n<!-- README.txt: takes other.md#other -->\nz\n", None),
]


def generate(source, guide):
    return subprocess.run([sys.executable, os.path.join(source, "scripts", "windows-guide.py"), guide, "1", "64"],
                          capture_output=True, text=True, check=False)


def main():
    source = os.path.abspath(sys.argv[1])
    failures = []
    real = generate(source, os.path.join(source, "docs", "windows.md"))
    if real.returncode != 0:
        failures.append(f"docs/windows.md: {real.stderr}")
    with tempfile.TemporaryDirectory() as folder:
        os.chdir(folder)
        with open("other.md", "w", encoding="utf-8") as f:
            f.write(OTHER)
        for guide, dangling in CASES:
            with open("guide.md", "w", encoding="utf-8") as f:
                f.write(guide)
            run = generate(source, "guide.md")
            if (run.returncode != 0, dangling is not None and dangling in run.stderr) != (dangling is not None,) * 2:
                failures.append(f"{guide!r}: exit {run.returncode}, {run.stderr!r}, expected {dangling!r}")
    print("\n".join(failures) or "every link resolved or was named")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
