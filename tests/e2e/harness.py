"""Runs the built tessel in a private folder with a private TMPDIR, and reads
back what it left: exit status, run log lines, files, temporary files."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

import png  # Debian's python3-png

STAMP = rb"\d{8}-\d{9}:"
POSIX_STATUS = {code: code % 256 for code in range(1101, 1107)}


class Run:
    def __init__(self, status, log, folder, tmpdir, stderr):
        self.status = status
        self.log = log
        self.folder = folder
        self.tmpdir = tmpdir
        self.stderr = stderr

    def messages(self):
        """The run log as a list of messages with their time stamps removed;
        continuation and usage lines are kept whole."""
        out = []
        for line in self.log.split(b"\n")[:-1]:
            m = re.match(STAMP, line)
            out.append(line[m.end():] if m else line)
        return out

    def path(self, name):
        return os.path.join(self.folder, name)


class TesselCase(unittest.TestCase):
    tessel = None  # set by main()

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tessel-e2e-")
        self.folder = os.path.join(self.root, "work")
        self.tmpdir = os.path.join(self.root, "tmp")
        os.mkdir(self.folder)
        os.mkdir(self.tmpdir)

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def run_tessel(self, *args, check_temp=True, folder=None, stdin=None, env=None):
        folder = folder or self.folder
        env = {**os.environ, "TMPDIR": self.tmpdir, **(env or {})}
        log_path = os.path.join(folder, "Tessel.log")
        before = read_bytes(log_path)
        proc = subprocess.run([self.tessel, *args], cwd=folder, env=env, capture_output=True,
                              timeout=300)
        after = read_bytes(log_path)
        self.assertTrue(after.startswith(before), "the run log is only appended to")
        if check_temp:
            self.assertEqual(os.listdir(self.tmpdir), [], "a temporary file was left behind")
            leftovers = [n for n in os.listdir(folder) if n.endswith(".tmp")]
            self.assertEqual(leftovers, [], "a fallback temporary file was left behind")
        return Run(proc.returncode, after[len(before):], folder, self.tmpdir, proc.stderr)

    def assertFailure(self, run, code, *messages):
        self.assertEqual(run.status, POSIX_STATUS[code], run.log)
        self.assertEqual(run.messages(), list(messages))
        for line in run.log.split(b"\n")[:-1]:
            if line and not line.startswith(b" "):
                self.assertRegex(line, STAMP)


def read_bytes(path):
    """The bytes of a file, or b"" when there is no such file."""
    if not os.path.isfile(path):
        return b""
    with open(path, "rb") as f:
        return f.read()


def read_png(path):
    """(width, height, rows of samples, info) of a PNG file."""
    with open(path, "rb") as f:
        width, height, rows, info = png.Reader(file=f).read()
        return width, height, [list(r) for r in rows], info


def zbar_series(paths, folder):
    """The joined data of a structured-append series: zbarimg joins the parts
    only when they stand in one image, so the symbols are set side by side."""
    images = [read_png(p) for p in paths]
    height = max(im[1] for im in images)
    rows = []
    for y in range(height):
        row = []
        for width, h, pixels, _ in images:
            row += pixels[y] if y < h else [1] * width
        rows.append(row)
    joined = os.path.join(folder, "series-joined.png")
    with open(joined, "wb") as f:
        png.Writer(len(rows[0]), height, greyscale=True, bitdepth=1).write(f, rows)
    try:
        return zbar(joined)
    finally:
        os.remove(joined)


def zbar(path):
    """The data of every symbol that zbarimg finds in path, as raw bytes."""
    proc = subprocess.run(["zbarimg", "-q", "--raw", "--nodbus", "-Sbinary", path], capture_output=True)
    if proc.returncode != 0:
        return None
    return proc.stdout


def main(argv):
    TesselCase.tessel = os.path.abspath(argv[1])
    # Mutation runs ask to stop at the first failure: one is enough there.
    unittest.main(argv=[argv[0]] + failfast_flag() + argv[2:], verbosity=1)


def failfast_flag():
    """unittest's -f when a mutation run asks to stop at the first failure."""
    return ["-f"] if os.environ.get("TESSEL_TEST_FAILFAST") == "1" else []



def cross_misses(grey, first, side, slack):
    """The pixels (x, y) of grey (rows, 0 black to 255 white) inside the Swiss cross that are not its grey there,
    but for those with an edge nearer than slack to their centre. The modules span side pixels from pixel first on."""
    k, c, s = side / 46, first + side / 2, slack - 1e-6

    def level(x, y):  # a white square of 7 mm in 46, a black one of 6 mm, white bars 7/6 by 35/9 mm
        near, far = sorted((abs(x - c), abs(y - c)))
        return None if far >= 3.5 * k else 0 if far < 3 * k and not (near < 7 / 12 * k and far < 35 / 18 * k) else 255

    span = range(int(c - 3.5 * k) - 1, int(c + 3.5 * k) + 2)
    return [(x, y) for y in span for x in span
            if len(seen := {level(x + 0.5 + a, y + 0.5 + b) for a in (-s, 0, s) for b in (-s, 0, s)}) == 1
            and None not in seen and abs(grey[y][x] - seen.pop()) > 64]
