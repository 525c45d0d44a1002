"""Writes README.txt, the guide in the Windows release, from docs/windows.md.

Usage: windows-guide.py GUIDE VERSION BITS > README.txt

GUIDE is Markdown read as plain text: "# " and "## " headings become
underlined titles, paragraphs and list items are wrapped, tables become
aligned columns and fenced code is indented. @VERSION@ and @BITS@ (32 or 64)
are filled in anywhere.

A fact the guide shares with another document stays in that document: a line
'<!-- README.txt: takes FILE#ANCHOR -->' (FILE relative to GUIDE) puts the
section under that heading of FILE in place of the paragraph after the line,
which is the link a reader of the Markdown follows instead. A section that
begins with a table or a list gives that table or list alone; the line may
add '; leave out "COLUMN"' to drop a table column that means nothing on
Windows. Other HTML comments are left out.
The guide is plain ASCII with CRLF line ends, for Notepad on any Windows.

README.txt keeps only the text of a link, so every link whose text it keeps
must point to a section that README.txt holds: a heading of GUIDE, a taken
section or a heading inside one (a link to a whole document, to its first
heading). A link to anything else, or to a section left out, stops the
script; links to web addresses are not checked.
"""

import os
import re
import sys
import textwrap

WIDTH = 78
LINK = re.compile(r"\[([^\]]*)\]\(([^)]*)\)")
TAKES = re.compile(r'<!-- README\.txt: takes ([^#\s]+)#([\w-]+)(?:; leave out "([^"]+)")? -->')
COMMENT = re.compile(r"<!--(?! README\.txt: takes ).*?-->\n?", re.S)
# Markdown typography in plain ASCII.
ASCII = {"\u2014": "-", "\u2013": "-", "\u2026": "...", "\u2192": "->", "\u00d7": "x",
         "\u201c": '"', "\u201d": '"', "\u2018": "'", "\u2019": "'"}
# The Spanish log messages are quoted without their accents.
ASCII.update(zip("\u00e1\u00e9\u00ed\u00f3\u00fa\u00f1", "aeioun"))
ASCII["\u20ac"] = "EUR"
# Letters of the payment codes' examples, by their base letter.
ASCII.update(zip("\u00e4\u00f6\u00fc\u0218\u0219\u021a\u021b", "aouSsTt"))


# (document, link text, target) of every link whose text README.txt keeps,
# and (document, anchor) of every section whose text it holds.
references = []
held = set()


def plain(text, doc):
    """Inline Markdown of the document DOC as plain text."""
    references.extend((doc, m.group(1), m.group(2)) for m in LINK.finditer(text))
    text = LINK.sub(r"\1", text)
    text = text.replace("**", "").replace("`", "").replace("\\|", "|")
    return "".join(ASCII.get(c, c) for c in text)


def slug(heading):
    """The anchor a Markdown renderer gives a heading."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def first_heading(path):
    """The anchor of the first heading of PATH, "" when it has none."""
    with open(path, encoding="utf-8") as f:
        return next((slug(line[line.index(" "):]) for line in f if re.match(r"#+ ", line)), "")


def section(path, anchor):
    """The lines under the heading of PATH whose anchor is ANCHOR, up to the
    next heading of the same or a higher level (code blocks skipped)."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    start, level, code = None, 0, False
    for i, line in enumerate(lines):
        if line.startswith("```"):
            code = not code
        m = None if code else re.match(r"(#+) (.*)", line)
        if not m:
            continue
        if start is not None and len(m.group(1)) <= level:
            return lines[start:i]
        if start is None and slug(m.group(2)) == anchor:
            start, level = i + 1, len(m.group(1))
    if start is None:
        sys.exit(f"{path} has no section #{anchor}")
    return lines[start:]


def table(lines, doc, leave_out=None):
    rows = [[plain(c.strip(), doc) for c in re.split(r"(?<!\\)\|", line.strip())[1:-1]]
            for line in lines if line.strip() and not re.fullmatch(r"\|[-|: ]+\|", line.strip())]
    if leave_out:
        if leave_out not in rows[0]:
            sys.exit(f'no column "{leave_out}" to leave out')
        drop = rows[0].index(leave_out)
        rows = [r[:drop] + r[drop + 1:] for r in rows]
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]) - 1)]
    indent = "  " + "".join(" " * (w + 2) for w in widths)
    last = WIDTH - len(indent)
    out = []
    if last < 30:
        # Too wide for columns in plain text: each row becomes an item, its
        # cells after the first named by their column's heading.
        for r in rows[1:]:
            item = r[0] + ": " + "; ".join(f"{h} {c}" for h, c in zip(rows[0][1:-1], r[1:-1]) if c)
            item = item.rstrip(": ") + (": " if len(r) > 2 else ": ") + r[-1]
            wrapped = textwrap.wrap(item, WIDTH - 4, break_on_hyphens=False)
            out.append("  - " + wrapped[0])
            out.extend("    " + w for w in wrapped[1:])
        return out
    rows.insert(1, ["-" * len(c) for c in rows[0]])
    for r in rows:
        lead = "  " + "".join(c.ljust(w + 2) for c, w in zip(r, widths))
        wrapped = textwrap.wrap(r[-1], last, break_on_hyphens=False) or [""]
        out.append((lead + wrapped[0]).rstrip())
        out.extend(indent + w for w in wrapped[1:])
    return out


def items(lines, doc):
    text, out = "\n".join(lines), []
    for item in re.split(r"^- ", text, flags=re.M)[1:]:
        out.extend(textwrap.wrap(plain(" ".join(item.split()), doc), WIDTH, break_on_hyphens=False,
                                 initial_indent="  - ", subsequent_indent="    "))
    return out


def leading(lines, starts):
    """The first run of lines of a table ("|") or list ("- " and its
    indented continuations) in LINES."""
    body = list(lines)
    while body and not body[0].strip():
        body.pop(0)
    end = 0
    while end < len(body) and (body[end].startswith(starts) or
                               (starts == "- " and body[end].startswith("  "))):
        end += 1
    return body[:end]


def text(lines, doc, code_indent):
    """LINES of Markdown of the document DOC as plain text lines."""
    out, paragraph, code, skip = [], [], False, False

    def end_paragraph():
        if paragraph:
            out.extend(textwrap.wrap(plain(" ".join(paragraph), doc), WIDTH, break_on_hyphens=False))
            paragraph.clear()

    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if code:
            code = not line.startswith("```")
            if code:
                out.append((code_indent + "".join(ASCII.get(c, c) for c in line)).rstrip())
            continue
        if skip:
            skip = bool(line.strip())
            continue
        takes = TAKES.fullmatch(line.strip())
        heading = re.match(r"(#+) (.*)", line)
        if line.startswith("```"):
            end_paragraph()
            code = True
        elif takes:
            end_paragraph()
            source = os.path.normpath(os.path.join(os.path.dirname(doc), takes.group(1)))
            body = section(source, takes.group(2))
            held.add((source, takes.group(2)))
            first = next((b for b in body if b.strip()), "")
            if first.startswith("|"):
                taken = table(leading(body, "|"), source, takes.group(3))
            elif first.startswith("- "):
                taken = items(leading(body, "- "), source)
            else:
                taken = text(body, source, "    ")
            while taken and not taken[0]:
                taken.pop(0)
            while taken and not taken[-1]:
                taken.pop()
            out.extend(taken + [""])
            skip = True
        elif heading:
            end_paragraph()
            held.add((doc, slug(heading.group(2))))
            title = plain(heading.group(2), doc)
            if len(heading.group(1)) > 1:
                while out and not out[-1]:
                    out.pop()
                out.extend(["", ""])
            out.extend([title, ("=" if len(heading.group(1)) == 1 else "-") * len(title)])
        elif line.startswith("|"):
            end_paragraph()
            rows = [line]
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(lines[i])
                i += 1
            out.extend(table(rows, doc))
        elif line.startswith("- "):
            end_paragraph()
            block = [line]
            while i < len(lines) and lines[i].startswith(("- ", "  ")):
                block.append(lines[i])
                i += 1
            out.extend(items(block, doc))
        elif line.strip():
            paragraph.append(line.strip())
        else:
            end_paragraph()
            out.append("")
    end_paragraph()
    return out


def target_of(doc, target):
    """(document, anchor) of a link in DOC; a whole document is its first heading."""
    path, _, anchor = target.partition("#")
    path = os.path.normpath(os.path.join(os.path.dirname(doc), path)) if path else doc
    if not anchor and path.endswith(".md") and os.path.isfile(path):
        anchor = first_heading(path)
    return path, anchor


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    guide, version, bits = sys.argv[1:]
    with open(guide, encoding="utf-8") as f:
        markdown = COMMENT.sub("", f.read())
    markdown = markdown.replace("@VERSION@", version).replace("@BITS@", bits)
    guide = os.path.normpath(guide)
    out = text(markdown.splitlines(), guide, "  ")
    dangling = [f"{doc}: [{words}]({target})" for doc, words, target in references
                if not re.match(r"[a-z][a-z0-9+.-]*:", target) and target_of(doc, target) not in held]
    if dangling:
        sys.exit("README.txt would point to sections it does not hold:\n  " + "\n  ".join(dangling))
    while out and not out[-1]:
        out.pop()
    result = "\r\n".join(out) + "\r\n"
    bad = sorted({c for c in result if ord(c) > 126 or (ord(c) < 32 and c not in "\r\n")})
    if bad:
        sys.exit(f"README.txt would hold characters other than printable ASCII: {bad}")
    sys.stdout.buffer.write(result.encode("ascii"))


if __name__ == "__main__":
    main()
