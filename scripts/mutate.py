#!/usr/bin/env python3
"""Mutation run: applies the mutants of scripts/mutants.txt one at a time to a
private copy of the tree, rebuilds it incrementally and runs the tests that
cover the mutated folder, quickest and likeliest first, stopping at the first
failure. Prints killed / survived / failed-to-build per folder, the score
(killed / (killed + survived)), each survivor and each row of the list that no
longer matches the sources.

Usage: scripts/mutate.py [--min-score PERCENT] [--only SUBSTRING] [--keep] [--jobs N]
       scripts/mutate.py --generate [N] [--seed S] [--min-score PERCENT] [--only SUBSTRING]
       scripts/mutate.py --generate --changed BASE [--min-score PERCENT] [--only SUBSTRING]
       scripts/mutate.py --list --generate N --seed S --changed BASE [...]
       scripts/mutate.py --generate --changed BASE --changed-draw N --changed-seed S [...]
       [--results FILE] with any of them: a stopped run goes on where it stopped
--generate runs N mutants (default 150) made by scripts/mutant_generator.py
instead of the list, skipping those judged equivalent in
scripts/equivalents.txt; it prints each survivor as an entry of that file.
With --changed BASE it runs every generated mutant of the product lines that
differ between the commit BASE and the work tree (added or changed lines, and
every line of a product file git does not track yet) instead of a draw.
--generate N --changed BASE runs both sets, each scored on its own; --list
adds the mutants of the list, so that one run, one set of copies, does all.
--jobs N (default 2) runs N mutants side by side, each in a copy of its own.
--changed-draw N runs N of the changed lines' mutants (drawn among those not
judged equivalent, with --changed-seed) instead of all of them. --results
FILE adds each mutant's outcome to FILE as it is known, and takes the
mutants already there as done.

A kill counts only when the failing test passes again once the source is put
back (a unit test of the gtest suite excepted: it depends on nothing but the
code); a test that also fails then leaves the mutant a survivor, with a note.

A file that only the Windows builds compile (platform/win32/) is mutated
like any other: the copy's own Windows build (build-win for win64, beside its
POSIX build; build-win32 for win32) is rebuilt and the tests that the file's
order line names "wine:CLASS[.TEST]" (64-bit) or "wine32:CLASS[.TEST]"
(32-bit) run from tests/wine/test_wine.py under wine, in a prefix of the
copy's own (build-win*/wine-prefix), made once per copy.
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
# With ccache, the object a mutant replaced is fetched back, not compiled,
# when the source is put back; paths relative to the run's folder let the
# copies of one run and of later runs share what each compiled.
LAUNCHER = ["-DCMAKE_C_COMPILER_LAUNCHER=ccache", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] \
    if shutil.which("ccache") else []
COPY_IGNORE = shutil.ignore_patterns(".git", ".cache", "build", "build-*", "Tessel.log")
# The commands running now, so that a run cut short can end them.
RUNNING = set()
RUNNING_LOCK = threading.Lock()
STOPPING = threading.Event()
# An order line's names of Wine tests, not of ctest tests: "wine:" runs the
# test against the 64-bit Windows build, "wine32:" against the 32-bit one.
WINE_PREFIXES = {"wine:": "win64", "wine32:": "win32"}
WIN_TOOLS = ["x86_64-w64-mingw32-g++", "wine", "wineserver"]
# Debian's 32-bit wine loader, which only wine32:i386 installs (and which a
# kernel without 32-bit support cannot start).
WINE32_LOADER = "/usr/lib/wine/wine"
WINE_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


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
        self.candidate = None  # the generator's, for a generated mutant
        self.windows = False  # a file only the Windows build compiles
        self.sets = []  # a generated mutant's: its draw, the changed lines, or both


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
    with RUNNING_LOCK:
        if STOPPING.is_set():
            return None, "stopped"
        process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, env=env,
                                   stderr=subprocess.STDOUT, start_new_session=True)
        RUNNING.add(process)
    try:
        out, _ = process.communicate(timeout=timeout)
        return process.returncode, out.decode("latin-1")
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, "timed out"
    finally:
        with RUNNING_LOCK:
            RUNNING.discard(process)


def stop_all():
    """Ends every command still running (a run cut short): its whole group."""
    with RUNNING_LOCK:
        STOPPING.set()
        for process in RUNNING:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


class Tree:
    """The private copy, its build folder and what each test needs built."""

    def __init__(self, work):
        self.work = work
        self.src = os.path.join(work, "src")
        self.build = os.path.join(work, "build")
        self.wins = {}  # the Windows builds by target, made when a mutant needs one
        # Each copy's tests get a temporary folder of their own, so that two
        # copies running side by side never see each other's files.
        self.tmp = os.path.join(work, "tmp")
        os.makedirs(self.tmp)
        # As open as the system's own: a test may run a program as another user.
        os.chmod(self.tmp, 0o1777)
        # One failing test is enough to kill a mutant: the Python suites stop there.
        self.env = dict(os.environ, TMPDIR=self.tmp, TESSEL_TEST_FAILFAST="1")
        shutil.copytree(ROOT, self.src, ignore=COPY_IGNORE, symlinks=True)
        # The prebuilt dependencies are only read; the copy shares them.
        cache = os.path.join(ROOT, ".cache")
        if os.path.isdir(cache):
            os.symlink(cache, os.path.join(self.src, ".cache"))
        self.targets = {}
        self.commands = {}  # each ctest test's command line and working folder

    def win(self, arch):
        """The copy's Windows build of arch, made the first time; None when
        it cannot be made."""
        if arch not in self.wins:
            if arch == "win32" and not (wine32_runs() and shutil.which("i686-w64-mingw32-g++")):
                self.wins[arch] = None
                return None
            build = WinBuild(self, arch)
            self.wins[arch] = None if build.make() else build
        return self.wins[arch]

    def configure(self):
        options = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DTESSEL_STATIC_DEPS=ON",
                   # No debug information: quicker compiles and links.
                   "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"] + LAUNCHER
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
            folder = next((p["value"] for p in test.get("properties", [])
                           if p.get("name") == "WORKING_DIRECTORY"), self.build)
            self.commands[test["name"]] = (test.get("command", []), folder)
            programs = set()
            for arg in test.get("command", []):
                if os.path.dirname(arg) == self.build and os.access(arg, os.X_OK):
                    programs.add(os.path.basename(arg))
            self.targets[test["name"]] = sorted(programs)

    def is_unit_test(self, name):
        """Whether a ctest test is one case of the gtest suite."""
        return any(arg.startswith("--gtest_filter") for arg in self.commands.get(name, ([], None))[0])

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
                           "--output-on-failure", "--timeout", str(TEST_TIMEOUT)], self.build,
                          TEST_TIMEOUT * len(names) + 120, self.env)
        if status == 0:
            return None
        if status is None:
            return "timeout"
        # "The following tests FAILED:" and then "<number> - <name> (<reason>)".
        failed = re.findall(r"\d+ - (\S+) \(", out.split("tests FAILED:")[-1])
        if not failed:
            return pattern
        # A Python suite names its failing case; the check on the unmutated
        # tree reruns that case alone.
        case = re.search(r"^(?:FAIL|ERROR): (\w+) \((?:__main__\.)?(\w+)", out, re.M)
        return failed[0] + ("/" + case.group(2) + "." + case.group(1) if case else "")

    def passes_alone(self, failure):
        """Whether the failing test (a run_tests result) passes on the tree as
        it is now: the test's own programs rebuilt, a Python suite's failing
        case run alone, else the whole ctest test."""
        name, _, case = failure.partition("/")
        if name not in self.targets:
            return False
        status, _ = run(["cmake", "--build", self.build, "-j2", "--target"] +
                        (self.targets[name] or ["all"]), ROOT, BUILD_TIMEOUT)
        if status != 0:
            return False
        command, folder = self.commands.get(name, ([], self.build))
        if case and command:
            status, _ = run(command + [case], folder, TEST_TIMEOUT * 2, self.env)
        else:
            status, _ = run(["ctest", "-R", "^" + re.escape(name) + "$", "--timeout",
                             str(TEST_TIMEOUT)], self.build, TEST_TIMEOUT * 2, self.env)
        return status == 0


class WinBuild:
    """A copy's Windows build of one target (win64 or win32) and its wine
    prefix. The 64-bit build judges most mutants: it is the quicker to make
    and to run, and most of the Windows-only code is the same on both; code
    that only the 32-bit build compiles is named with "wine32:" tests in its
    order line."""

    def __init__(self, tree, arch="win64"):
        self.tree = tree
        self.arch = arch
        self.build = os.path.join(tree.work, "build-win" if arch == "win64" else "build-win32")
        self.prefix = os.path.join(self.build, "wine-prefix")
        env = {k: v for k, v in tree.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        # As scripts/win-arch.sh's win_wine_start: code page 1252, no Mono or Gecko.
        env.update(WINEPREFIX=self.prefix, WINEARCH=arch, WINEDEBUG="-all", LC_ALL="C.UTF-8",
                   WINEDLLOVERRIDES="mscoree,mshtml=", TESSEL_WIN_BUILD=self.build)
        self.env = env
        self.server = False

    def make(self):
        """Configures and builds everything and the test programs; None, or
        what went wrong."""
        src = self.tree.src
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        status, out = run(["cmake", "-S", src, "-B", self.build] + generator +
                          ["-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(
                              src, "cmake", "mingw-w64-%s.cmake"
                              % ("x86_64" if self.arch == "win64" else "i686")),
                           "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DTESSEL_TESTS=OFF",
                           "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"] + LAUNCHER,
                          ROOT, BUILD_TIMEOUT, self.env)
        if status == 0:
            status, out = self.rebuild()
        if status == 0:
            status, out = run(["bash", "-c", 'source scripts/win-arch.sh && '
                               'win_arch_setup "$PWD" %s && win_test_helpers "$PWD"' % self.arch],
                              src, BUILD_TIMEOUT, self.env)
        return None if status == 0 else out

    def rebuild(self):
        return run(["cmake", "--build", self.build, "-j2"], ROOT, BUILD_TIMEOUT, self.env)

    def wine_tool(self, *command):
        # The server stays behind as a daemon: a pipe it inherited would never
        # reach its end, so nothing is read from these.
        try:
            subprocess.run(command, cwd=ROOT, env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=BUILD_TIMEOUT)
        except (OSError, subprocess.TimeoutExpired) as error:
            # Wine gone or hung: the tests that need it fail on their own.
            print("mutate: %s: %s" % (command[0], error), flush=True)

    def start(self):
        """Starts the prefix's server, making the prefix the first time."""
        if not self.server:
            os.makedirs(self.prefix, exist_ok=True)
            self.wine_tool("wineserver", "-p")
            self.server = True
            self.wine_tool("wineboot", "--init")

    def stop(self):
        if self.server:
            self.wine_tool("wineserver", "-k")
            self.wine_tool("wineserver", "-w")
            self.server = False

    def run_tests(self, names):
        """Runs the Wine tests (unittest names) in this order, stopping at the
        first failure: None when they pass, else "wine:" and the failing test."""
        self.start()
        src = self.tree.src
        # Debian's python, which has the suite's python3-png (as scripts/test-wine.sh).
        status, out = run([WINE_PYTHON, os.path.join(src, "tests", "wine", "test_wine.py"),
                           self.build, os.path.join(self.tree.build, "tessel"), "-f"] + names,
                          src, TEST_TIMEOUT * len(names) + 120, self.env)
        if status == 0:
            return None
        if status is None:
            return "timeout"
        failed = re.search(r"^(?:FAIL|ERROR): (\w+) \((?:__main__\.)?(\w+)", out, re.M)
        prefix = next(p for p, a in WINE_PREFIXES.items() if a == self.arch)
        return prefix + (failed.group(2) + "." + failed.group(1) if failed else " ".join(names))


def wine_test(pattern):
    """(Windows target, unittest name) of an order line's Wine test, or None."""
    for prefix, arch in WINE_PREFIXES.items():
        if pattern.startswith(prefix):
            return arch, pattern[len(prefix):]
    return None


def kernel_runs_32bit():
    """Whether this kernel runs 32-bit x86 programs at all (scripts/runs-32bit.sh)."""
    return subprocess.run([os.path.join(ROOT, "scripts", "runs-32bit.sh")],
                          stdin=subprocess.DEVNULL, capture_output=True).returncode == 0


def wine32_runs():
    """Whether the 32-bit wine is installed and this kernel can start it."""
    try:
        return subprocess.run([WINE32_LOADER, "--version"], stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def windows_tools():
    return all(shutil.which(t) for t in WIN_TOOLS)


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
    parser.add_argument("--generate", type=int, nargs="?", const=-1, metavar="N",
                        help="run N generated mutants instead of the list (default 150)")
    parser.add_argument("--seed", default="1", help="the draw of --generate")
    parser.add_argument("--changed", metavar="BASE",
                        help="with --generate: every mutant of the lines changed since BASE")
    parser.add_argument("--changed-draw", type=int, metavar="N",
                        help="with --changed: run N of the changed lines' mutants, drawn with "
                             "--changed-seed (all of them when there are not more)")
    parser.add_argument("--changed-seed", default="1", metavar="S",
                        help="the draw of --changed-draw")
    parser.add_argument("--results", metavar="FILE",
                        help="each mutant's outcome is added to FILE as it is known; a run "
                             "with the same FILE takes the mutants found there as done")
    parser.add_argument("--list", action="store_true",
                        help="with --generate: the mutants of the list too, in the same run")
    parser.add_argument("--survivors-of", metavar="OUTPUT",
                        help="with --generate: run only the survivors listed in OUTPUT, "
                             "the output of an earlier run with the same N and seed, or its "
                             "results file")
    args = parser.parse_args()
    if (args.changed is not None or args.list) and args.generate is None:
        parser.error("--changed BASE and --list go with --generate")
    if args.changed_draw is not None and args.changed is None:
        parser.error("--changed-draw goes with --changed BASE")
    if args.generate == -1:
        # --generate --changed BASE alone runs the changed lines only.
        args.generate = 0 if args.changed is not None else 150
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
    # Read before anything is built: a base the clone lacks ends the run at once.
    changed_lines = changed_since(args.changed) if args.changed is not None else None
    if changed_lines is not None and not args.generate and not args.list and not any(
            path.endswith((".cpp", ".h")) for path in changed_lines):
        print("changed since %s: no line of product code; nothing to run" % args.changed)
        return 0

    # A run stopped by kill still stops its wine servers and removes its copies.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("mutate: stopped"))
    work = tempfile.mkdtemp(prefix="tessel-mutate.")
    os.chmod(work, 0o755)
    os.environ.update(CCACHE_BASEDIR=work, CCACHE_NOHASHDIR="1")
    generated = args.generate is not None
    trees = []
    workers = []
    try:
        tree = Tree(work)
        trees.append(tree)
        tree.configure()
        status, out = tree.build_all()
        if status != 0:
            sys.exit("mutate: the unmutated copy does not build:\n" + out)
        tree.read_tests()
        print("mutate: copy built in %.0f s" % (time.monotonic() - started), flush=True)
        posix_files = compiled_files(tree.src, tree.build)
        windows_only = set()
        wanted = generated or any(
            any(wine_test(p) for p in orders.get(m.folder, []))
            for m in mutants if not m.equivalent and args.only in m.path)
        if wanted and windows_tools():
            win = WinBuild(tree)
            error = win.make()
            if error:
                sys.exit("mutate: the unmutated copy's Windows build fails:\n" + error)
            tree.wins["win64"] = win
            windows_only = (compiled_files(tree.src, win.build) or set()) - (posix_files or set())
            print("mutate: its Windows build made in %.0f s" % (time.monotonic() - started),
                  flush=True)
        elif wanted:
            print("mutate: no Windows cross build here (%s): its files are left out"
                  % ", ".join(WIN_TOOLS))

        list_errors = []
        if generated:
            built = None if posix_files is None else posix_files | windows_only
            drawn, unbuilt = generated_mutants(tree, orders, args, built, changed_lines,
                                               equivalents)
            if unbuilt:
                print("mutate: not compiled by any build here, not mutated: " + " ".join(unbuilt))
            mutants = (mutants if args.list else []) + drawn
        for m in mutants:
            if m.candidate is not None:
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
            heads = set()
            with open(args.survivors_of, encoding="latin-1") as f:
                for line in f:
                    # An earlier run's output, or a results file.
                    entry = json.loads(line) if line.startswith("{") else None
                    if entry is None:
                        heads.add(line.strip())
                    elif entry["outcome"] == "survived":
                        heads.add(entry["head"])
            todo = [m for m in todo if (m.candidate.head() if m.candidate else
                                        "%s:%d %s" % (m.path, m.line, m.what)) in heads]
        if args.only:
            todo = [m for m in todo if args.only in m.path]
        for m in todo:
            m.windows = m.path in windows_only
            if m.candidate is None and not tree.wins and any(
                    wine_test(p) for p in orders.get(m.folder, [])):
                sys.exit("mutate: %s needs the Windows cross build (%s)"
                         % (m.path, ", ".join(WIN_TOOLS)))
        results = Results(args.results) if args.results else None
        pending = todo
        if results:
            for m in todo:
                m.outcome, m.detail = results.known.get(identity(m), (None, ""))
                if args.survivors_of and m.outcome == "survived":
                    m.outcome, m.detail = None, ""  # judged again, against the tests as they are
            pending = [m for m in todo if m.outcome is None]
            print("mutate: %d of %d mutants judged already (%s), %d to run"
                  % (len(todo) - len(pending), len(todo), args.results, len(pending)),
                  flush=True)
        # The unmutated tree must pass every unit test the mutants are run
        # against: a kill by a unit test is taken as it is. A kill by any
        # other test is checked on the unmutated copy when it is claimed
        # (kill_holds), so those minutes are not spent here first.
        patterns = sorted({p for m in pending for p in order_of(m, orders)
                           if not wine_test(p)})
        for pattern in patterns:
            if not tree.tests_matching(pattern):
                if not any(m.candidate is None and pattern in orders.get(m.folder, [])
                           for m in pending):
                    continue  # a folder whose tests are not built here
                sys.exit("mutate: no test matches %s in scripts/mutants.txt" % pattern)
            if not all(tree.is_unit_test(name) for name in tree.tests_matching(pattern)):
                continue
            # A suite that runs close to its time limit under load gets a
            # second try, as the Wine tests do below.
            failure = tree.run_tests(pattern, set(["all"])) and tree.run_tests(pattern, set(["all"]))
            if failure:
                sys.exit("mutate: the unmutated tree fails %s; fix that first" % failure)
        wine_names = {}
        for m in pending:
            for arch, name in filter(None, map(wine_test, order_of(m, orders))):
                if name not in wine_names.setdefault(arch, []):
                    wine_names[arch].append(name)
        for arch, names in sorted(wine_names.items()):
            if not tree.wins:
                break  # no Windows cross build here
            if tree.win(arch) is None and arch == "win32":
                # Needed only by a mutant that the 64-bit tests leave alive.
                print("mutate: no 32-bit Windows build or wine here (i686-w64-mingw32-g++, "
                      "wine32:i386): a mutant that only its tests can judge fails the run",
                      flush=True)
                continue
            if tree.win(arch) is None:
                sys.exit("mutate: the unmutated copy's %s build fails" % arch)
            # A new prefix's first programs now and then fail to start under
            # load: the unmutated tree gets a second try.
            failure = tree.win(arch).run_tests(names) and tree.win(arch).run_tests(names)
            if failure and arch == "win32":
                print("mutate: the unmutated 32-bit build fails %s: a mutant that only its tests "
                      "can judge fails the run" % failure, flush=True)
                tree.win(arch).stop()
                tree.wins[arch] = None
                continue
            if failure:
                sys.exit("mutate: the unmutated tree fails %s; fix that first" % failure)
            print("mutate: the unmutated %s build passes its Wine tests (%.0f s in all)"
                  % (arch, time.monotonic() - started), flush=True)

        # Each worker has a copy of its own and takes the mutants of one file
        # after the other, so that each object is rebuilt once per mutant.
        pending.sort(key=lambda m: (m.path, m.line))
        groups = queue.Queue()
        for _, group in itertools.groupby(pending, key=lambda m: m.path):
            groups.put(list(group))
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
            while not STOPPING.is_set():
                try:
                    group = groups.get_nowait()
                except queue.Empty:
                    return
                for m in group:
                    t0 = time.monotonic()
                    run_mutant(own, m, orders)
                    if STOPPING.is_set():
                        m.outcome = None  # cut short: judged by the next run
                        return
                    if results and m.outcome != "unjudged":
                        results.add(m)
                    with printing:
                        print("[%3d/%d] %-15s %5.1f s  %s:%d %s%s" % (
                            next(done), len(pending), m.outcome, time.monotonic() - t0, m.path,
                            m.line, m.what, " (" + m.detail + ")" if m.detail else ""),
                            flush=True)

        workers = [threading.Thread(target=work_on, args=(t,)) for t in trees]
        for w in workers:
            w.start()
        for w in workers:
            w.join()
    finally:
        if workers and any(w.is_alive() for w in workers):
            stop_all()
            for w in workers:
                w.join()
        for t in trees:
            for win in t.wins.values():
                if win:
                    win.stop()
        if args.keep:
            print("mutate: the copy stays in " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)

    seconds = time.monotonic() - started
    listed = [m for m in mutants if m.candidate is None]
    status = 0
    if listed:
        status = report(listed, [m for m in todo if m.candidate is None], list_errors, args,
                        seconds)
    if generated:
        status |= report_generated([m for m in mutants if m.candidate is not None],
                                   [m for m in todo if m.candidate is not None], args, seconds,
                                   equivalents)
    unjudged = [m for m in todo if m.outcome == "unjudged"]
    if unjudged:
        # A kernel that runs no 32-bit program cannot judge them at all: they
        # are named and left out of the score. Anywhere else a missing wine32
        # is a set-up fault, and the run fails.
        can_run = kernel_runs_32bit()
        print("\nmutate: %d mutants need the 32-bit Windows build under wine (wine32:i386), "
              "which %s:" % (len(unjudged), "this machine lacks" if can_run else
                             "this kernel cannot run (left out of the score)"))
        for m in unjudged:
            print("  %s:%d %s" % (m.path, m.line, m.what))
        if can_run:
            status = 1
    return status


def identity(m):
    """What a mutant is known by in a results file: a generated one's key, a
    listed one's file, description and original text."""
    if m.candidate is not None:
        return m.candidate.key
    return "\t".join([m.path, m.what, m.original])


class Results:
    """The outcomes known so far, one JSON line a mutant, added as each one
    is judged, so that a stopped run goes on where it stopped. A result holds
    as long as the mutant's key does: its file, operator and line text."""

    def __init__(self, path):
        self.path = path
        self.known = {}
        self.lock = threading.Lock()
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                for line in f:
                    try:
                        entry = json.loads(line)
                    except ValueError:
                        continue  # a line cut short when the run was stopped
                    self.known[entry["mutant"]] = (entry["outcome"], entry["detail"])

    def add(self, m):
        line = json.dumps({"mutant": identity(m), "outcome": m.outcome, "detail": m.detail,
                           "head": m.candidate.head() if m.candidate else m.what})
        with self.lock, open(self.path, "a", encoding="utf-8") as f:
            f.write(line + "\n")


def order_of(m, orders):
    """The tests m runs, in order. The POSIX build does not compile a file
    only Windows compiles, so such a file runs only the Wine tests of its
    order line, or platform/win32/'s when its line names none."""
    patterns = orders.get(m.folder, [])
    if m.windows:
        patterns = [p for p in patterns if wine_test(p)] or \
            [p for p in orders.get("platform/win32/", []) if wine_test(p)]
    return patterns


def steps(patterns):
    """The order line's names as steps: ("ctest", pattern), or (target,
    [names]) for a run of Wine tests of one target in a row, which one
    process runs."""
    out = []
    for p in patterns:
        wine = wine_test(p)
        if not wine:
            out.append(("ctest", p))
        elif out and out[-1][0] == wine[0]:
            out[-1][1].append(wine[1])
        else:
            out.append((wine[0], [wine[1]]))
    return out


def run_mutant(tree, m, orders):
    """Applies m to tree's copy, runs the tests of its folder in order until
    one fails, and puts the copy back; sets m.outcome and m.detail."""
    path = os.path.join(tree.src, m.path)
    with open(path, encoding="latin-1") as f:
        text = f.read()
    if m.candidate is not None:
        lines = text.split("\n")
        lines[m.line - 1] = m.replacement
        mutated = "\n".join(lines)
    else:
        mutated = text.replace(m.original, m.replacement)
    with open(path, "w", encoding="latin-1") as f:
        f.write(mutated)
    try:
        built = set()
        win_built = set()
        m.outcome = "survived"
        patterns = order_of(m, orders)
        if not any(wine_test(p) or tree.tests_matching(p) for p in patterns):
            m.detail = "no test runs this folder"
        for kind, what in steps(patterns):
            if kind != "ctest":
                win = tree.win(kind) if windows_tools() else None
                if win is None and not m.windows:
                    continue  # a file both builds compile: its POSIX tests judged it
                if win is None and kind == "win32" and tree.wins.get("win64"):
                    m.outcome, m.detail = "unjudged", "needs 32-bit wine"
                    break
                if win is None:
                    m.outcome, m.detail = "failed to build", "the copy's %s build" % kind
                    break
                if kind not in win_built:
                    if win.rebuild()[0] != 0:
                        m.outcome = "failed to build"
                        break
                    win_built.add(kind)
                failure = win.run_tests(what)
            else:
                failure = tree.run_tests(what, built)
            if failure == "build":
                m.outcome = "failed to build"
                break
            if failure:
                m.outcome = "killed"
                m.detail = failure
                break
        if m.outcome == "killed":
            # A kill counts only when the failing test passes on the unmutated
            # tree in the same copy: a test that fails now and then under
            # load (one that sleeps and counts what it saw) earns nothing.
            with open(path, "w", encoding="latin-1") as f:
                f.write(text)
            if not kill_holds(tree, m.detail):
                m.outcome = "survived"
                m.detail = "killed only by %s, which fails unmutated too" % m.detail
    finally:
        with open(path, "w", encoding="latin-1") as f:
            f.write(text)


def kill_holds(tree, failure):
    """Whether the test that killed a mutant passes on the unmutated copy
    (the source put back). A unit test of the gtest suite is a pure function
    of the code and is not rerun; a timed-out run has no test to rerun."""
    if failure == "timeout":
        return True
    wine = wine_test(failure)
    if wine:
        win = tree.wins.get(wine[0])
        names = wine[1].split()
        return win is None or (win.rebuild()[0] == 0 and win.run_tests(names) is None)
    if tree.is_unit_test(failure.partition("/")[0]):
        return True
    return tree.passes_alone(failure)


def compiled_files(src, build):
    """The sources and headers under the copy src that the build folder
    compiles, from ninja's record of each object's inputs; None when that is
    not known."""
    status, out = run(["ninja", "-C", build, "-t", "deps"], ROOT, 120)
    if status != 0 or not shutil.which("ninja"):
        return None
    files = set()
    for line in out.splitlines():
        if line.startswith(" "):
            # Relative to the build folder when ccache's base folder is set.
            path = os.path.normpath(os.path.join(build, line.strip()))
            if path.startswith(src + os.sep):
                files.add(os.path.relpath(path, src).replace(os.sep, "/"))
    return files


def changed_since(base):
    """{file: set of line numbers} of the product lines of the work tree that
    differ from the commit base; ends the run when base is not in this clone
    or not an ancestor of HEAD."""
    def git(*command):
        return subprocess.run(["git", *command], cwd=ROOT, capture_output=True, text=True,
                              encoding="latin-1")

    found = git("rev-parse", "--verify", "--quiet", base + "^{commit}")
    if found.returncode != 0:
        shallow = git("rev-parse", "--is-shallow-repository").stdout.strip() == "true"
        sys.exit("mutate: --changed %s: no such commit in this clone%s" % (
            base, "; the clone is shallow (git fetch --unshallow, or clone with more history)"
            if shallow else ""))
    if git("merge-base", "--is-ancestor", found.stdout.strip(), "HEAD").returncode != 0:
        sys.exit("mutate: --changed %s: not an ancestor of HEAD, so its diff is not this "
                 "branch's change" % base)
    folders = mutant_generator.PRODUCT_FOLDERS
    diff = git("diff", "-U0", "--no-color", "--no-ext-diff", found.stdout.strip(), "--", *folders)
    if diff.returncode != 0:
        sys.exit("mutate: git diff failed:\n" + diff.stderr)
    lines, path = {}, None
    for line in diff.stdout.splitlines():
        if line.startswith("+++ "):
            path = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@ ") and path:
            # "@@ -a,b +c,d @@": d lines from line c (d left out is 1).
            m = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", line)
            start, count = int(m.group(1)), int(m.group(2) or 1)
            lines.setdefault(path, set()).update(range(start, start + count))
    untracked = git("ls-files", "--others", "--exclude-standard", "--", *folders)
    for path in untracked.stdout.splitlines():
        with open(os.path.join(ROOT, path), encoding="latin-1") as f:
            lines[path] = set(range(1, f.read().count("\n") + 2))
    return lines


def set_names(args):
    """The names of the generated sets the run reports."""
    names = ["generated, seed %s" % args.seed] if args.generate else []
    if args.changed is None:
        return names
    if args.changed_draw is None:
        return names + ["changed since %s" % args.changed]
    return names + ["changed since %s, draw of %d, seed %s"
                    % (args.changed, args.changed_draw, args.changed_seed)]


def generated_mutants(tree, orders, args, built, changed_lines, equivalents):
    """The draw of N, and with --changed every mutant of the changed lines:
    one run for both, each mutant marked with the sets that hold it."""
    sets = []
    unbuilt = []
    if args.generate:
        sample, unbuilt = mutant_generator.generate(tree.src, args.generate, args.seed, built)
        sets.append((set_names(args)[0], sample))
    if changed_lines is not None:
        sample, unbuilt_changed = mutant_generator.changed(tree.src, changed_lines, built)
        if args.changed_draw is not None:
            # Drawn among the mutants that run: an equivalent takes no place.
            sample = [c for c in sample if c.key not in equivalents]
            found = len(sample)
            sample = sorted(sample, key=lambda c: mutant_generator.rank(args.changed_seed, c))
            sample = sample[:args.changed_draw]
            print("mutate: changed since %s: %d mutants run of %d, drawn with seed %s"
                  % (args.changed, len(sample), found, args.changed_seed), flush=True)
        sets.append((set_names(args)[-1], sample))
        unbuilt = sorted(set(unbuilt) | set(unbuilt_changed))
    mutants = {}
    for name, sample in sets:
        for c in sample:
            if c.key not in mutants:
                m = Mutant(c.path, "%s, match %d, copy %d" % (c.op, c.match, c.copy),
                           c.key in equivalents, c.number)
                m.original, m.replacement, m.candidate = c.original, c.mutated, c
                holders = [f for f in orders if m.path.startswith(f)]
                m.folder = max(holders, key=len) if holders else m.path.split("/")[0] + "/"
                mutants[c.key] = m
            mutants[c.key].sets.append(name)
    return list(mutants.values()), unbuilt


def print_folder_table(mutants, run_ones):
    """Prints killed, survived, failed to build and equivalent per folder;
    returns the four totals."""
    folders = sorted({m.folder for m in mutants})
    # An order line may name a file: the column is as wide as the longest.
    width = max([16] + [len(f) for f in folders])
    print("\n%-*s %7s %9s %16s %11s" % (width, "folder", "killed", "survived",
                                         "failed to build", "equivalent"))
    totals = [0, 0, 0, 0]
    for folder in folders:
        row = [sum(1 for m in run_ones if m.folder == folder and m.outcome == o)
               for o in ("killed", "survived", "failed to build")]
        row.append(sum(1 for m in mutants if m.folder == folder and m.equivalent))
        totals = [a + b for a, b in zip(totals, row)]
        print("%-*s %7d %9d %16d %11d" % tuple([width, folder] + row))
    return totals


def report_generated(mutants, run_ones, args, seconds, equivalents):
    print_folder_table(mutants, run_ones)
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
    low = False
    for name in set_names(args):
        ones = [m for m in mutants if name in m.sets]
        counts = [sum(1 for m in ones if m.outcome == o and m in run_ones)
                  for o in ("killed", "survived", "failed to build")]
        counts.append(sum(1 for m in ones if m.equivalent))
        counted = counts[0] + counts[1]
        score = 100.0 * counts[0] / counted if counted else 100.0
        print("\n%s: %d mutants: %d killed, %d survived, %d failed to build, "
              "%d equivalent; score %.1f %% in %.0f s"
              % tuple([name, len(ones)] + counts + [score, seconds]))
        if score < args.min_score:
            print("mutate: score %.1f %% is below %.0f %%" % (score, args.min_score))
            low = True
    return 1 if low else 0


def report(mutants, run_ones, list_errors, args, seconds):
    totals = print_folder_table(mutants, run_ones)
    print("%-*s %7d %9d %16d %11d"
          % tuple([max([16] + [len(m.folder) for m in mutants]), "total"] + totals))
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
