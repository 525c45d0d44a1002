#!/usr/bin/env python3
"""Mutation run: applies the mutants of scripts/mutants.txt one at a time to a
private copy of the tree, rebuilds it incrementally and runs the tests that
cover the mutated folder, quickest and likeliest first, stopping at the first
failure. Prints killed / survived / failed-to-build per folder, the score
(killed / (killed + survived)), each survivor and each row of the list that no
longer matches the sources.

Usage: scripts/mutate.py [--min-score PERCENT] [--only SUBSTRING] [--keep] [--jobs N]
       scripts/mutate.py --generate [N] [--seed S] [--min-score PERCENT] [--only SUBSTRING]
--generate runs N mutants (default 150) made by scripts/mutant_generator.py
instead of the list, skipping those judged equivalent in
scripts/equivalents.txt; it prints each survivor as an entry of that file.
--jobs N (default 2) runs N mutants side by side, each in a copy of its own.
Exit status: 0, or 1 when the score is below --min-score, the unmutated tree
fails its tests, or a row of the list is wrong (missing file, original text
not found or found more than once)."""

import argparse
import itertools
import json
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

import mutant_generator

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "scripts", "mutants.txt")
EQUIVALENTS = os.path.join(ROOT, "scripts", "equivalents.txt")
BUILD_TIMEOUT = 300
TEST_TIMEOUT = 60  # per ctest test; a mutant may loop for ever
COPY_IGNORE = shutil.ignore_patterns(".git", ".cache", "build", "build-*", "Tessel.log")


class Mutant:
    def __init__(self, path, what, equivalent, line):
        self.path = path
        self.what = what
        self.equivalent = equivalent
        self.line = line
        self.original = None
        self.replacement = None
        self.outcome = None
        self.detail = ""
        self.folder = None


def join(text, line):
    return line if text is None else text + "\n" + line


def parse_list(path):
    """Reads the order lines and the mutant entries of the list."""
    orders = {}
    mutants = []
    current = None
    with open(path, encoding="latin-1") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("order "):
                folder, _, tests = line[len("order "):].partition(":")
                orders[folder.strip()] = tests.split()
            elif current is None and line.startswith("  "):
                sys.exit("%s:%d: a text line before any head line" % (path, number))
            elif line.startswith("  - ") or line == "  -":
                # Lines in a row make one text of several source lines.
                current.original = join(current.original, line[4:])
            elif line.startswith("  + ") or line == "  +":
                current.replacement = join(current.replacement, line[4:])
            elif line.startswith("= ") or not line.startswith(" "):
                equivalent = line.startswith("= ")
                body = line[2:] if equivalent else line
                file_part, _, what = body.partition(": ")
                current = Mutant(file_part.strip(), what.strip(), equivalent, number)
                mutants.append(current)
            else:
                sys.exit("%s:%d: cannot read this line" % (path, number))
    for m in mutants:
        # The folder is the longest one with an order line that holds the file.
        holders = [f for f in orders if m.path.startswith(f)]
        m.folder = max(holders, key=len) if holders else m.path.split("/")[0] + "/"
        if m.original is None or m.replacement is None or not m.original:
            sys.exit("%s:%d: entry needs a '  - original' and a '  + replacement' line"
                     % (path, m.line))
    return orders, mutants


def run(command, cwd, timeout, env=None):
    """(exit status, output), or (None, ...) when the command outlives timeout
    seconds; its whole process group (a test's own children too) is killed."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, env=env,
                               stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = process.communicate(timeout=timeout)
        return process.returncode, out.decode("latin-1")
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, "timed out"


class Tree:
    """The private copy, its build folder and what each test needs built."""

    def __init__(self, work):
        self.src = os.path.join(work, "src")
        self.build = os.path.join(work, "build")
        # Each copy's tests get a temporary folder of their own, so that two
        # copies running side by side never see each other's files.
        self.tmp = os.path.join(work, "tmp")
        os.makedirs(self.tmp)
        # As open as the system's own: a test may run a program as another user.
        os.chmod(self.tmp, 0o1777)
        self.env = dict(os.environ, TMPDIR=self.tmp)
        shutil.copytree(ROOT, self.src, ignore=COPY_IGNORE, symlinks=True)
        # The prebuilt dependencies are only read; the copy shares them.
        cache = os.path.join(ROOT, ".cache")
        if os.path.isdir(cache):
            os.symlink(cache, os.path.join(self.src, ".cache"))
        self.targets = {}

    def configure(self):
        options = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DTESSEL_STATIC_DEPS=ON",
                   # No debug information: quicker compiles and links.
                   "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"]
        # The dependencies' prefix that the main build found is what the copy
        # uses: a path relative to the copy would lead elsewhere.
        cache = os.path.join(ROOT, "build", "CMakeCache.txt")
        if os.path.exists(cache):
            with open(cache, encoding="latin-1") as f:
                for line in f:
                    if line.split(":", 1)[0] == "TESSEL_POSIX_DEPS":
                        options.append("-DTESSEL_POSIX_DEPS=" + line.split("=", 1)[1].strip())
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        status, out = run(["cmake", "-S", self.src, "-B", self.build] + generator + options,
                          ROOT, BUILD_TIMEOUT)
        if status != 0:
            sys.exit("mutate: cannot configure the copy:\n" + out)

    def build_all(self):
        return run(["cmake", "--build", self.build, "-j2"], ROOT, BUILD_TIMEOUT)

    def read_tests(self):
        """Maps each ctest test to the programs of the build it runs."""
        status, out = run(["ctest", "--show-only=json-v1"], self.build, 60)
        if status != 0:
            sys.exit("mutate: ctest cannot list the tests:\n" + out)
        for test in json.loads(out)["tests"]:
            programs = set()
            for arg in test.get("command", []):
                if os.path.dirname(arg) == self.build and os.access(arg, os.X_OK):
                    programs.add(os.path.basename(arg))
            self.targets[test["name"]] = sorted(programs)

    def tests_matching(self, pattern):
        return [name for name in self.targets if re.search(pattern, name)]

    def run_tests(self, pattern, built):
        """Builds what the tests need, then runs them. Returns None when they
        pass, 'build' when the build fails, else the name of the failing test."""
        names = self.tests_matching(pattern)
        if not names:
            return None
        needed = set()
        for name in names:
            # A test that names no program of the build (a script) needs all.
            needed.update(self.targets[name] or ["all"])
        needed -= built
        if needed:
            status, _ = run(["cmake", "--build", self.build, "-j2", "--target"] + sorted(needed),
                            ROOT, BUILD_TIMEOUT)
            if status != 0:
                return "build"
            built.update(needed)
            if "all" in needed:
                built.update(p for t in self.targets.values() for p in t)
        # ctest has a regular expression syntax of its own (no \w, no \d), so it
        # is given the names matched here.
        exact = "^(" + "|".join(re.escape(name) for name in names) + ")$"
        status, out = run(["ctest", "-R", exact, "--no-tests=error", "--stop-on-failure",
                           "--timeout", str(TEST_TIMEOUT)], self.build,
                          TEST_TIMEOUT * len(names) + 120, self.env)
        if status == 0:
            return None
        if status is None:
            return "timeout"
        # "The following tests FAILED:" and then "<number> - <name> (<reason>)".
        failed = re.findall(r"\d+ - (\S+) \(", out.split("tests FAILED:")[-1])
        return failed[0] if failed else pattern


def check_row(src, m):
    """The row's source text, or an error string."""
    path = os.path.join(src, m.path)
    if not os.path.isfile(path):
        return None, "file does not exist"
    with open(path, encoding="latin-1") as f:
        text = f.read()
    count = text.count(m.original)
    if count == 0:
        return None, "original text not found"
    if count > 1:
        return None, "original text found %d times" % count
    return text, None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--min-score", type=float, default=0.0)
    parser.add_argument("--only", default="", help="run the mutants whose file contains this")
    parser.add_argument("--keep", action="store_true", help="keep the private copy")
    parser.add_argument("--jobs", type=int, default=2,
                        help="mutants run side by side, each in a copy of its own (default 2)")
    parser.add_argument("--check", action="store_true",
                        help="only check the rows of the list against the sources")
    parser.add_argument("--generate", type=int, nargs="?", const=150, metavar="N",
                        help="run N generated mutants instead of the list (default 150)")
    parser.add_argument("--seed", default="1", help="the draw of --generate")
    parser.add_argument("--survivors-of", metavar="OUTPUT",
                        help="with --generate: run only the survivors listed in OUTPUT, "
                             "the output of an earlier run with the same N and seed")
    args = parser.parse_args()
    started = time.monotonic()
    orders, mutants = parse_list(LIST)
    equivalents = mutant_generator.read_equivalents(EQUIVALENTS)
    if args.check:
        errors = 0
        for m in mutants:
            error = check_row(ROOT, m)[1] or (None if m.folder in orders else "no order line")
            if error:
                errors += 1
                print("line %d: %s: %s" % (m.line, m.path, error))
        print("%d mutants, %d equivalent, %d errors"
              % (len(mutants), sum(m.equivalent for m in mutants), errors))
        return 1 if errors else 0

    work = tempfile.mkdtemp(prefix="tessel-mutate.")
    os.chmod(work, 0o755)
    generated = args.generate is not None
    try:
        tree = Tree(work)
        tree.configure()
        status, out = tree.build_all()
        if status != 0:
            sys.exit("mutate: the unmutated copy does not build:\n" + out)
        tree.read_tests()
        print("mutate: copy built in %.0f s" % (time.monotonic() - started), flush=True)

        list_errors = []
        if generated:
            mutants, unbuilt = generated_mutants(tree, orders, args.generate, args.seed,
                                                 equivalents)
            if unbuilt:
                print("mutate: not compiled by this build, not sampled: " + " ".join(unbuilt))
        for m in mutants:
            if generated:
                continue
            _, error = check_row(tree.src, m)
            if error:
                m.outcome = "list error"
                m.detail = error
                list_errors.append(m)
            elif m.folder not in orders:
                m.outcome = "list error"
                m.detail = "no order line for " + m.folder
                list_errors.append(m)

        todo = [m for m in mutants if m.outcome is None and not m.equivalent]
        if generated and args.survivors_of:
            with open(args.survivors_of, encoding="latin-1") as f:
                heads = {line.strip() for line in f}
            todo = [m for m in todo if m.candidate.head() in heads]
        if args.only:
            todo = [m for m in todo if args.only in m.path]
        # The unmutated tree must pass every test the mutants are run against.
        patterns = sorted({p for m in todo for p in orders.get(m.folder, [])})
        for pattern in patterns:
            if not tree.tests_matching(pattern):
                if generated:
                    continue  # a folder whose tests are not built here
                sys.exit("mutate: no test matches %s in scripts/mutants.txt" % pattern)
            failure = tree.run_tests(pattern, set(["all"]))
            if failure:
                sys.exit("mutate: the unmutated tree fails %s; fix that first" % failure)

        # Each worker has a copy of its own and takes the mutants of one file
        # after the other, so that each object is rebuilt once per mutant.
        todo.sort(key=lambda m: (m.path, m.line))
        groups = queue.Queue()
        for _, group in itertools.groupby(todo, key=lambda m: m.path):
            groups.put(list(group))
        trees = [tree]
        for worker in range(1, args.jobs):
            other = Tree(os.path.join(work, "copy%d" % worker))
            other.configure()
            if other.build_all()[0] != 0:
                break  # the first copy built; the run goes on with what there is
            other.read_tests()
            trees.append(other)
        done = itertools.count(1)
        printing = threading.Lock()

        def work_on(own):
            while True:
                try:
                    group = groups.get_nowait()
                except queue.Empty:
                    return
                for m in group:
                    t0 = time.monotonic()
                    run_mutant(own, m, orders, generated)
                    with printing:
                        print("[%3d/%d] %-15s %5.1f s  %s:%d %s%s" % (
                            next(done), len(todo), m.outcome, time.monotonic() - t0, m.path,
                            m.line, m.what, " (" + m.detail + ")" if m.detail else ""),
                            flush=True)

        workers = [threading.Thread(target=work_on, args=(t,)) for t in trees]
        for w in workers:
            w.start()
        for w in workers:
            w.join()
    finally:
        if args.keep:
            print("mutate: the copy stays in " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)

    if generated:
        return report_generated(mutants, todo, args, time.monotonic() - started, equivalents)
    return report(mutants, todo, list_errors, args, time.monotonic() - started)


def run_mutant(tree, m, orders, generated):
    """Applies m to tree's copy, runs the tests of its folder in order until
    one fails, and puts the copy back; sets m.outcome and m.detail."""
    path = os.path.join(tree.src, m.path)
    with open(path, encoding="latin-1") as f:
        text = f.read()
    if generated:
        lines = text.split("\n")
        lines[m.line - 1] = m.replacement
        mutated = "\n".join(lines)
    else:
        mutated = text.replace(m.original, m.replacement)
    with open(path, "w", encoding="latin-1") as f:
        f.write(mutated)
    try:
        built = set()
        m.outcome = "survived"
        if not any(tree.tests_matching(p) for p in orders.get(m.folder, [])):
            m.detail = "no test runs this folder"
        for pattern in orders.get(m.folder, []):
            failure = tree.run_tests(pattern, built)
            if failure == "build":
                m.outcome = "failed to build"
                break
            if failure:
                m.outcome = "killed"
                m.detail = failure
                break
    finally:
        with open(path, "w", encoding="latin-1") as f:
            f.write(text)


def compiled_files(tree):
    """The sources and headers under the copy that its build compiles, from
    ninja's record of each object's inputs; None when that is not known."""
    status, out = run(["ninja", "-C", tree.build, "-t", "deps"], ROOT, 120)
    if status != 0 or not shutil.which("ninja"):
        return None
    files = set()
    for line in out.splitlines():
        if line.startswith(" "):
            path = os.path.normpath(line.strip())
            if path.startswith(tree.src + os.sep):
                files.add(os.path.relpath(path, tree.src).replace(os.sep, "/"))
    return files


def generated_mutants(tree, orders, n, seed, equivalents):
    sample, unbuilt = mutant_generator.generate(tree.src, n, seed, compiled_files(tree))
    mutants = []
    for c in sample:
        m = Mutant(c.path, "%s, match %d, copy %d" % (c.op, c.match, c.copy),
                   c.key in equivalents, c.number)
        m.original, m.replacement, m.candidate = c.original, c.mutated, c
        holders = [f for f in orders if m.path.startswith(f)]
        m.folder = max(holders, key=len) if holders else m.path.split("/")[0] + "/"
        mutants.append(m)
    return mutants, unbuilt


def print_folder_table(mutants, run_ones):
    """Prints killed, survived, failed to build and equivalent per folder;
    returns the four totals."""
    folders = sorted({m.folder for m in mutants})
    print("\n%-16s %7s %9s %16s %11s" % ("folder", "killed", "survived", "failed to build",
                                          "equivalent"))
    totals = [0, 0, 0, 0]
    for folder in folders:
        row = [sum(1 for m in run_ones if m.folder == folder and m.outcome == o)
               for o in ("killed", "survived", "failed to build")]
        row.append(sum(1 for m in mutants if m.folder == folder and m.equivalent))
        totals = [a + b for a, b in zip(totals, row)]
        print("%-16s %7d %9d %16d %11d" % tuple([folder] + row))
    return totals


def report_generated(mutants, run_ones, args, seconds, equivalents):
    totals = print_folder_table(mutants, run_ones)
    survivors = [m for m in run_ones if m.outcome == "survived"]
    if survivors:
        print("\nsurvivors, as entries of scripts/equivalents.txt (an entry needs a why):")
        for m in survivors:
            print("\n" + m.candidate.head())
            print("  - " + m.original.strip())
            print("    (mutant: " + m.replacement.strip() + ")" +
                  ("  [" + m.detail + "]" if m.detail else ""))
    matched = {m.candidate.key for m in mutants if m.equivalent}
    print("\njudged equivalent, not run: %d of this draw; %d entries in scripts/equivalents.txt"
          % (len(matched), len(equivalents)))
    counted = totals[0] + totals[1]
    score = 100.0 * totals[0] / counted if counted else 0.0
    print("\ngenerated, seed %s: %d mutants: %d killed, %d survived, %d failed to build, "
          "%d equivalent; score %.1f %% in %.0f s"
          % (args.seed, len(mutants), totals[0], totals[1], totals[2], totals[3], score, seconds))
    if score < args.min_score:
        print("\nmutate: score %.1f %% is below %.0f %%" % (score, args.min_score))
        return 1
    return 0


def report(mutants, run_ones, list_errors, args, seconds):
    totals = print_folder_table(mutants, run_ones)
    print("%-16s %7d %9d %16d %11d" % tuple(["total"] + totals))
    counted = totals[0] + totals[1]
    score = 100.0 * totals[0] / counted if counted else 0.0
    print("\nscore: %.1f %% (%d killed of %d; %d mutants in %.0f s)"
          % (score, totals[0], counted, len(run_ones), seconds))
    print("\nequivalent, not run:")
    for m in mutants:
        if m.equivalent:
            print("  %s:%d %s" % (m.path, m.line, m.what))
    survivors = [m for m in run_ones if m.outcome == "survived"]
    if survivors:
        print("\nsurvivors:")
        for m in survivors:
            print("  %s:%d %s" % (m.path, m.line, m.what))
            for mark, text in (("-", m.original), ("+", m.replacement)):
                for line in text.split("\n"):
                    print("    %s %s" % (mark, line.strip()))
    if list_errors:
        print("\nerrors in scripts/mutants.txt (fix the rows):")
        for m in list_errors:
            print("  line %d: %s: %s" % (m.line, m.path, m.detail))
    failed = bool(list_errors) or score < args.min_score
    if score < args.min_score:
        print("\nmutate: score %.1f %% is below %.0f %%" % (score, args.min_score))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
