"""Writes README.txt, the guide in the Windows release, from
docs/windows-guide.txt and the parts of README.md it shares with it.

Usage: windows-guide.py README.md TEMPLATE VERSION BITS > README.txt

The parts are marked in README.md by a line "<!-- README.txt: NAME -->"
before them and "<!-- README.txt: end -->" after them; a marker may add
'; leave out "COLUMN"' to drop a table column that means nothing on Windows.
A template line "@NAME@" takes part NAME: a table as aligned columns, a list
as wrapped items, paragraphs and fenced code blocks as wrapped paragraphs and
code indented by four. @VERSION@ and @BITS@ (32 or 64) are filled in anywhere.
The guide is plain ASCII with CRLF line ends, for Notepad on any Windows.
"""

import re
import sys
import textwrap

WIDTH = 78
MARKER = re.compile(r'<!-- README\.txt: ([\w-]+)(?:; leave out "([^"]+)")? -->')
END = "<!-- README.txt: end -->"
# Markdown typography in plain ASCII.
ASCII = {"\u2014": "-", "\u2013": "-", "\u2026": "...", "\u2192": "->", "\u00d7": "x",
         "\u201c": '"', "\u201d": '"', "\u2018": "'", "\u2019": "'"}


def plain(text):
    """Inline Markdown as plain text."""
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = text.replace("**", "").replace("`", "").replace("\\|", "|")
    return "".join(ASCII.get(c, c) for c in text)


def parts(markdown):
    """{name: (lines, column to leave out or None)} of the marked parts."""
    found, lines = {}, markdown.splitlines()
    for i, line in enumerate(lines):
        m = MARKER.fullmatch(line.strip())
        if m and line.strip() != END:
            end = lines.index(END, i)
            if m.group(1) in found:
                sys.exit(f"README.md marks {m.group(1)} twice")
            found[m.group(1)] = (lines[i + 1:end], m.group(2))
    return found


def table(lines, leave_out):
    rows = [[plain(c.strip()) for c in re.split(r"(?<!\\)\|", line.strip())[1:-1]]
            for line in lines if line.strip() and not re.fullmatch(r"\|[-|: ]+\|", line.strip())]
    if leave_out:
        if leave_out not in rows[0]:
            sys.exit(f'no column "{leave_out}" to leave out')
        drop = rows[0].index(leave_out)
        rows = [r[:drop] + r[drop + 1:] for r in rows]
    rows.insert(1, ["-" * len(c) for c in rows[0]])
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]) - 1)]
    indent = "  " + "".join(" " * (w + 2) for w in widths)
    last = WIDTH - len(indent)
    out = []
    for r in rows:
        lead = "  " + "".join(c.ljust(w + 2) for c, w in zip(r, widths))
        wrapped = textwrap.wrap(r[-1], last, break_on_hyphens=False) or [""]
        out.append((lead + wrapped[0]).rstrip())
        out.extend(indent + w for w in wrapped[1:])
    return out


def items(lines):
    text, out = "\n".join(lines), []
    for item in re.split(r"^- ", text, flags=re.M)[1:]:
        out.extend(textwrap.wrap(plain(" ".join(item.split())), WIDTH, break_on_hyphens=False,
                                 initial_indent="  - ", subsequent_indent="    "))
    return out


def blocks(lines):
    out, paragraph, code = [], [], False

    def end_paragraph():
        if paragraph:
            out.extend(textwrap.wrap(plain(" ".join(paragraph)), WIDTH, break_on_hyphens=False))
            paragraph.clear()

    for line in lines:
        if line.startswith("```"):
            end_paragraph()
            code = not code
        elif code:
            out.append(("    " + line).rstrip())
        elif line.strip():
            paragraph.append(line.strip())
        else:
            end_paragraph()
            out.append("")
    end_paragraph()
    return out


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    readme, template, version, bits = sys.argv[1:]
    with open(readme, encoding="utf-8") as f:
        shared = parts(f.read())
    with open(template, encoding="utf-8") as f:
        lines = f.read().splitlines()
    out = []
    for line in lines:
        m = re.fullmatch(r"@([\w-]+)@", line.strip())
        if m and m.group(1) not in ("VERSION", "BITS"):
            if m.group(1) not in shared:
                sys.exit(f"README.md marks no part {m.group(1)}")
            body, leave_out = shared[m.group(1)]
            if body[0].startswith("|"):
                out.extend(table(body, leave_out))
            elif any(line.startswith("```") for line in body):
                out.extend(blocks(body))
            else:
                out.extend(items(body))
        else:
            out.append(line.replace("@VERSION@", version).replace("@BITS@", bits))
    text = "\r\n".join(out) + "\r\n"
    bad = sorted({c for c in text if ord(c) > 126 or (ord(c) < 32 and c not in "\r\n")})
    if bad:
        sys.exit(f"README.txt would hold characters other than printable ASCII: {bad}")
    sys.stdout.buffer.write(text.encode("ascii"))


if __name__ == "__main__":
    main()
