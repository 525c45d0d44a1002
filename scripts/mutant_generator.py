"""Mutants made mechanically from the product code, for scripts/mutate.py
--generate.

Every code line of every .cpp/.h in the product folders is tried with each
operator; each place an operator fits is one candidate. A candidate is known
by its key: the file, the operator, the original line's text, which match of
the operator in that line and which copy of that line in the file. The line
number is only a hint, so an edit elsewhere in the file changes no key.

Sampling: each file gets a share of the N mutants in proportion to its code
lines, and takes the candidates that rank first by a hash of (seed, key). A
change in one file moves at most a mutant at the edge of another file's
share; it never reshuffles another file's draw."""

import hashlib
import os
import re

# The product folders. platform/win32/ is among them: its mutants are built
# by the Windows build and judged by the Wine suite (scripts/mutate.py).
PRODUCT_FOLDERS = ["frontend", "payload", "runlog", "pngwriter", "bmpconv", "vectorwriter", "util", "platform",
                   "png2bmp", "batch", "library", "include"]

RESULT_CODES = ["result_ok", "result_cannot_create", "result_no_memory", "result_png_failed",
                "result_encode_refused", "result_bad_command", "result_bmp_failed"]

RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"],
              "==": ["!="], "!=": ["=="]}

NOT_A_STATEMENT = re.compile(r"^(return|break|continue|goto|case|default|using|namespace|typedef|"
                             r"struct|class|enum|static_assert|template|inline|constexpr|const|"
                             r"static|extern|auto|bool|int|long|char|unsigned|double|void|std::\w+\s)\b")


class Candidate:
    def __init__(self, path, number, op, match, copy, original, mutated):
        self.path = path
        self.number = number        # 1-based line number when generated: a hint
        self.op = op
        self.match = match          # which match of op in the line, from 0
        self.copy = copy            # which copy of this line text in the file, from 0
        self.original = original    # the whole source line
        self.mutated = mutated      # the line that replaces it
        self.key = "\t".join([path, op, str(match), str(copy), original.strip()])

    def head(self):
        return "%s:%d: %s, match %d, copy %d" % (self.path, self.number, self.op, self.match,
                                                 self.copy)


def product_files(root):
    files = []
    for folder in PRODUCT_FOLDERS:
        for base, dirs, names in os.walk(os.path.join(root, folder)):
            dirs.sort()
            for name in sorted(names):
                if name.endswith((".cpp", ".h")):
                    files.append(os.path.relpath(os.path.join(base, name), root)
                                 .replace(os.sep, "/"))
    return files


def mask(lines):
    """The lines with comments and the insides of string and character
    literals blanked, column for column, so that operators are found in code
    only."""
    out = []
    in_block = False
    for line in lines:
        chars = list(line)
        i = 0
        quote = None
        while i < len(chars):
            c = chars[i]
            if in_block:
                if line.startswith("*/", i):
                    chars[i] = chars[i + 1] = " "
                    in_block = False
                    i += 2
                    continue
                chars[i] = " "
            elif quote:
                if c == "\\":
                    chars[i] = " "
                    if i + 1 < len(chars):
                        chars[i + 1] = " "
                    i += 2
                    continue
                if c == quote:
                    quote = None
                else:
                    chars[i] = " "
            elif line.startswith("//", i):
                chars[i:] = " " * (len(chars) - i)
                break
            elif line.startswith("/*", i):
                chars[i] = chars[i + 1] = " "
                in_block = True
                i += 2
                continue
            elif c in "\"'":
                quote = c
            i += 1
        out.append("".join(chars))
    return out


def closing_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return None


def changed_constant(literal, delta):
    digits = literal.rstrip("uUlL")
    suffix = literal[len(digits):]
    if digits.lower().startswith("0x"):
        value = int(digits, 16) + delta
        return None if value < 0 else "0x%X" % value + suffix
    if len(digits) > 1 and digits.startswith("0"):
        return None  # octal: none in the code
    value = int(digits) + delta
    return None if value < 0 else str(value) + suffix


def is_statement(code, previous):
    """A line that is a whole call or assignment statement of its own."""
    s = code.strip()
    if not s.endswith(";") or s.count("(") != s.count(")") or NOT_A_STATEMENT.match(s):
        return False
    if previous is not None and not re.search(r"([;{}:)]|\belse|\bdo)$", previous.rstrip()):
        return False  # the line continues a statement above it
    call = re.match(r"^[A-Za-z_][\w:]*(\s*(\.|->)\s*\w+)*\s*(<[^;]*>)?\(.*\)\s*;$", s)
    assignment = re.match(r"^[*&]?[A-Za-z_][\w.\->\[\]()*:]*\s*([-+*/%&|^]|<<|>>)?=\s*[^=].*;$", s)
    step = re.match(r"^(\+\+|--)[\w.\->\[\]*]+;$|^[\w.\->\[\]]+(\+\+|--);$", s)
    return bool(call or assignment or step)


def line_candidates(path, number, copy, line, code, previous):
    """Every mutant of one line: (op, match, mutated line)."""
    found = []

    def at(pattern, op_of, replacements_of, group=0):
        counts = {}
        for m in re.finditer(pattern, code):
            start, end = m.span(group)
            for replacement in replacements_of(m.group(group)):
                op = op_of(m.group(group), replacement)
                k = counts.get(op, 0)
                counts[op] = k + 1
                found.append((op, k, line[:start] + replacement + line[end:]))

    at(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", lambda o, r: "relational %s -> %s" % (o, r),
       lambda o: RELATIONAL[o])
    at(r"\s([+-])\s1\b(?!\.)", lambda o, r: "arithmetic %s 1 -> %s 1" % (o, r),
       lambda o: ["-" if o == "+" else "+"], group=1)
    at(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)[uUlL]*(?![\w.])",
       lambda o, r: "constant %s -> %s" % (o, r),
       lambda o: [c for c in (changed_constant(o, 1), changed_constant(o, -1)) if c])
    at(r"(?<=\s)(&&|\|\|)(?=\s)", lambda o, r: "logical %s -> %s" % (o, r),
       lambda o: ["||" if o == "&&" else "&&"])
    at(r"\b(true|false)\b", lambda o, r: "boolean %s -> %s" % (o, r),
       lambda o: ["false" if o == "true" else "true"])

    k = 0
    for m in re.finditer(r"\b(if|while) \(", code):
        open_at = m.end() - 1
        close_at = closing_paren(code, open_at)
        if close_at is None:
            continue
        condition = line[open_at + 1:close_at]
        found.append(("negated condition", k,
                      line[:open_at + 1] + "!(" + condition + ")" + line[close_at:]))
        k += 1

    stripped = code.strip()
    ret = re.match(r"^return (.+);$", stripped)
    if ret:
        value = ret.group(1).strip()
        start = code.index("return ") + len("return ")
        end = start + len(line[start:].rstrip().rstrip(";").rstrip())
        if value in RESULT_CODES:
            others = ["result_bad_command"] if value == "result_ok" else [
                "result_ok", RESULT_CODES[RESULT_CODES.index(value) % 6 + 1]]
            for other in others:
                found.append(("return %s -> %s" % (value, other), 0,
                              line[:start] + other + line[end:]))
        elif not re.match(r"^(true|false|nullptr|\{\}|-?\d+|0x[0-9a-fA-F]+)$", value):
            found.append(("return value -> {}", 0, line[:start] + "{}" + line[end:]))
    if is_statement(code, previous):
        indent = line[:len(line) - len(line.lstrip())]
        found.append(("statement deleted", 0, indent + "{}"))
    return [Candidate(path, number, op, match, copy, line, mutated)
            for op, match, mutated in found if mutated != line]


def file_candidates(root, path):
    """(code line count, candidates) of one file."""
    with open(os.path.join(root, path), encoding="latin-1") as f:
        lines = f.read().split("\n")
    codes = mask(lines)
    copies = {}
    candidates = []
    code_lines = 0
    previous = None
    for index, (line, code) in enumerate(zip(lines, codes)):
        if not code.strip():
            continue
        code_lines += 1
        if code.lstrip().startswith("#") or (previous or "").rstrip().endswith("\\"):
            previous = code  # preprocessor lines are not mutated
            continue
        text = line.strip()
        copy = copies.get(text, 0)
        copies[text] = copy + 1
        candidates += line_candidates(path, index + 1, copy, line, code, previous)
        previous = code
    return code_lines, candidates


def rank(seed, candidate):
    return hashlib.sha256(("%s\0%s" % (seed, candidate.key)).encode("latin-1")).hexdigest()


def shares(sizes, available, n):
    """Mutants per file: in proportion to sizes (largest remainders), at most
    what a file has; what a file lacks goes to the others in the same way."""
    share = {f: 0 for f in sizes}
    left = min(n, sum(available.values()))
    while left > 0:
        open_files = [f for f in sizes if share[f] < available[f]]
        total = sum(sizes[f] for f in open_files)
        if not open_files or total == 0:
            break
        exact = {f: left * sizes[f] / total for f in open_files}
        given = {f: min(int(exact[f]), available[f] - share[f]) for f in open_files}
        rest = left - sum(given.values())
        for f in sorted(open_files, key=lambda f: (given[f] - exact[f], f)):
            if rest == 0:
                break
            if share[f] + given[f] < available[f]:
                given[f] += 1
                rest -= 1
        for f in open_files:
            share[f] += given[f]
        spent = sum(given.values())
        if spent == 0:
            break
        left -= spent
    return share


def pools_of(root, built):
    """({file: code lines}, {file: candidates}, files left out because no
    build compiles them); built is None when that is not known."""
    sizes, pools, unbuilt = {}, {}, []
    for path in product_files(root):
        if built is not None and path not in built:
            unbuilt.append(path)
            continue
        sizes[path], pools[path] = file_candidates(root, path)
    return sizes, pools, unbuilt


def generate(root, n, seed, built=None):
    """(sample, files left out because no build compiles them)."""
    sizes, pools, unbuilt = pools_of(root, built)
    share = shares(sizes, {f: len(pools[f]) for f in pools}, n)
    sample = []
    for path in sorted(pools):
        sample += sorted(pools[path], key=lambda c: rank(seed, c))[:share[path]]
    return sample, unbuilt


def changed(root, lines, built=None):
    """Every candidate on the given lines ({file: set of 1-based line
    numbers}), and the changed files left out because no build compiles
    them."""
    _, pools, unbuilt = pools_of(root, built)
    found = []
    for path in sorted(pools):
        found += [c for c in pools[path] if c.number in lines.get(path, ())]
    return found, [f for f in unbuilt if lines.get(f)]


def read_equivalents(path):
    """Judged equivalents: {key: (list line, head, why)}."""
    entries = {}
    if not os.path.exists(path):
        return entries
    head = None
    with open(path, encoding="latin-1") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            m = re.match(r"^(\S+):\d+: (.+), match (\d+), copy (\d+)$", line)
            if m:
                head = [number, m.groups(), line, None, ""]
            elif head and line.startswith("  - "):
                head[3] = line[4:].strip()
            elif head and line.startswith("  why: "):
                head[4] = line[len("  why: "):]
                path_, op, match, copy = head[1]
                if head[3] is None or not head[4]:
                    raise SystemExit("%s:%d: entry needs a '  - line' and a '  why: ' line"
                                     % (path, head[0]))
                entries["\t".join([path_, op, match, copy, head[3]])] = (head[0], head[2], head[4])
                head = None
            else:
                raise SystemExit("%s:%d: cannot read this line" % (path, number))
    return entries
