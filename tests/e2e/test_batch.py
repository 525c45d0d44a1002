"""tessel-batch against tessel: the same command lines run in one process and
one process a line must leave the same files, log messages, status lines and
exit codes.

Usage: test_batch.py TESSEL TESSEL_BATCH PNG2BMP [unittest arguments]"""

import os
import pty
import re
import shutil
import socket
import subprocess
import sys
import threading
import time
import tty
import unittest

from harness import Run, TesselCase, failfast_flag, read_bytes

SERIES = "0123456789" * 8
LIMIT = 32767

# Each line runs after the ones before it, so a setting, data or converter
# state that outlived its line would change a later line's file or message.
LINES = [
    "-o p01.png https://example.com/item/1",
    "-l h -z 5 -m 0 -8 -o p02.png Settings\\sthat\\smust\\snot\\sstay",
    "-o p03.png plain",
    "-k -i -o p04.png abc",
    "-o p05.png abc",
    "-v 10 -o p06.png v10",
    "-o p07.png small",
    f"-s -v 1 -l m -o series.png {SERIES}",
    "-o p09.png after-series",
    f"-s -v 1 -t bmp -o bseries.bmp {SERIES}",
    "-t bmp -o b11.bmp bmp\\x21",
    "-o p12.png not-bmp-any-more",
    '-t BMP -z 2 -m 1 -o b13.bmp "quoted bmp"',
    '-o p14.png "two words"',
    "-o 'p15 name.png' 'say \"hi\"'",
    "-o p16.png tab\\there\\nnew\\\\back\\x41\\x00cut",
    "-O P17.PNG upper",
    "-h",
    "-o p19.png after-help",
    "",
    "   \t ",
    "-q -o p22.png x",
    "-o p23.png",
    "-o p24.png data-that-must-not-reach-the-next-line",
    "-o p25.png",
    "only-data",
    "-o",
    "-l",
    "-l x -o p29.png d",
    "-v -3 -o p30.png d",
    "-z 0 -o p31.png d",
    "-m",
    "-t -o p33.png d",
    "-s -o p34.png no-version",
    "-v 41 -o p35.png X",
    "-s -v 1 -l h -o p36.png " + "x" * 200,
    "-o missing/p37.png X",
    "-t bmp -o missing/b38.bmp X",
    "-t bmp -o b39.bmp after-bmp-failure",
    "-z 2000000000 -o p40.png X",
    "-o p41.png after-failures",
    '-o p42.png "unterminated quote',
    "-o p43.png " + "t" * 300,
    " \t-o p44.png leading-blanks",
    "-o p45.png percent%s%d%n",
    "-o dup.png first",
    "-o dup.png second",
    "-8 -o p48.png \\xe9t\\xe9",
    "-o p49.png " + "y" * (LIMIT - len("-o p49.png ")),
    "TOO LONG",
    "NUL",
    "\x1a",  # from a file, a line holding only Ctrl-Z is data
    "-o p53.png last-line-without-line-end",
]
# Line numbers whose line ends in CR LF (the last has none), blank and longest ones too.
CRLF = {3, 14, 20, 21, 41, 49, 52}
REFUSED = {
    # One character over the limit.
    "TOO LONG": (b"-o p50.png " + b"z" * (LIMIT - 10), b"L\xednea demasiado larga: m\xe1ximo 32767 caracteres"),
    "NUL": (b"-o p51.png before\0after", b"L\xednea con un car\xe1cter nulo"),
}


def input_bytes():
    out = b"\xef\xbb\xbf"  # Notepad's UTF-8 byte-order mark: not part of line 1
    for number, line in enumerate(LINES, 1):
        data = REFUSED[line][0] if line in REFUSED else os.fsencode(line)
        end = b"" if number == len(LINES) else b"\r\n" if number in CRLF else b"\n"
        out += data + end
    return out


def argv_of(line):
    """tessel's arguments whose joined command line tokenizes like line."""
    return [os.fsencode(part) for part in line.lstrip(" \t").split(" ") if part]


class Batch(TesselCase):
    batch = png2bmp = None  # set below

    def normalised_stderr(self, data):
        """Standard error with the temporary file names, random by design, made equal."""
        data = data.replace(os.fsencode(self.tmpdir), b"TMPDIR")
        return re.sub(rb"tes\w{6}\.tmp", b"TEMP", data)

    def test_a_batch_does_what_one_tessel_process_a_line_does(self):
        reference = os.path.join(self.root, "reference")
        os.mkdir(reference)
        with open(os.path.join(self.root, "lines.txt"), "wb") as f:
            f.write(input_bytes())

        expected_out, expected_log, expected_err, first_failure = [], [], b"", 0
        for number, line in enumerate(LINES, 1):
            if not line.strip(" \t"):
                continue
            if line in REFUSED:
                code, messages = 1105 % 256, [REFUSED[line][1]]
            else:
                run = self.run_tessel(*argv_of(line), folder=reference)
                code, messages = run.status, run.messages()
                expected_err += run.stderr
            expected_out.append(f"{number}\t{code}")
            expected_log += messages
            first_failure = first_failure or code

        proc = subprocess.run([self.batch, os.path.join(self.root, "lines.txt")], cwd=self.folder,
                              env={**os.environ, "TMPDIR": self.tmpdir}, capture_output=True,
                              timeout=300)
        self.assertEqual(os.listdir(self.tmpdir), [], "a temporary file was left behind")

        # The whole code in the results; tessel's parent saw it modulo 256.
        got_out = proc.stdout.decode().splitlines()
        self.assertEqual([f"{n}\t{int(c) % 256}" for n, c in (x.split("\t") for x in got_out)],
                         expected_out)
        codes = {int(x.split("\t")[1]) for x in got_out}
        self.assertLessEqual({0, 1101, 1103, 1104, 1105, 1106}, codes)
        self.assertEqual(proc.returncode, first_failure)
        self.assertEqual(self.normalised_stderr(proc.stderr), self.normalised_stderr(expected_err))

        log = self.run_log_messages(self.folder)
        self.assertEqual(log, expected_log)
        files = sorted(n for n in os.listdir(self.folder) if n not in ("Tessel.log",))
        self.assertEqual(files, sorted(n for n in os.listdir(reference) if n != "Tessel.log"))
        self.assertGreater(len(files), 30)
        for name in files:
            self.assertTrue(read_bytes(os.path.join(self.folder, name)) ==
                            read_bytes(os.path.join(reference, name)), f"{name} differs")

    def run_log_messages(self, folder):
        return Run(0, read_bytes(os.path.join(folder, "Tessel.log")), folder, None, b"").messages()

    def test_standard_input_and_unreadable_input(self):
        # A caller that feeds one line and waits for its result gets it at once.
        lines = b"-o a.png one\n\n-v 41 -o b.png two\n\x1a\r\n-o"  # piped, Ctrl-Z is data
        proc = subprocess.Popen([self.batch], cwd=self.folder, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env={**os.environ, "TMPDIR": self.tmpdir})
        proc.stdin.write(lines[:13])
        proc.stdin.flush()
        timer = threading.Timer(10, proc.kill)
        timer.start()
        first = proc.stdout.readline()
        timer.cancel()
        out, err = proc.communicate(lines[13:], timeout=60)
        self.assertEqual((proc.returncode, first + out, err),
                         (1104 % 256, b"1\t0\n3\t1104\n4\t1105\n5\t1105\n", b""))
        with open("/dev/full", "wb") as full:
            proc = subprocess.run([self.batch], input=lines[:13], cwd=self.folder, stdout=full)
        self.assertEqual(proc.returncode, 1101 % 256, "results lost to a full disk")
        # A read error after the lines already read: the first failure's code stays.
        feeder, stdin = socket.socketpair()
        stdin.send(b"x")  # unread when the feeder closes: the reader gets a reset
        feeder.sendall(lines[:lines.index(b"\x1a")])  # lines 1 to 3, all answered below
        proc = subprocess.Popen([self.batch], cwd=self.folder, stdin=stdin, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        stdin.close()
        first = proc.stdout.readline() + proc.stdout.readline()
        feeder.close()
        out, err = proc.communicate(timeout=60)
        self.assertEqual((proc.returncode, first + out), (1104 % 256, b"1\t0\n3\t1104\n"))
        self.assertEqual(err, b"tessel-batch: cannot read standard input: Connection reset by peer\n")
        # A file that may only be read: a user who is not root opens it too.
        shared = os.path.join(self.root, "shared")
        os.mkdir(shared)
        for path, mode in ((self.root, 0o755), (shared, 0o777)):
            os.chmod(path, mode)
        shutil.copy(self.batch, shared)
        with open(os.path.join(shared, "lines.txt"), "wb") as f:
            f.write(b"\xff\xff -h\n")  # not a byte-order mark either
        os.chmod(os.path.join(shared, "lines.txt"), 0o444)
        proc = subprocess.run([os.path.join(shared, os.path.basename(self.batch)), "lines.txt"],
                              cwd=shared, capture_output=True, env={**os.environ, "TMPDIR": shared},
                              user=65534 if os.getuid() == 0 else None)
        self.assertEqual((proc.returncode, proc.stdout, proc.stderr), (0, b"1\t0\n", b""))
        # UTF-16 ("Unicode") files are refused whole. A first line of ASCII
        # shows a NUL byte; one of other characters (\u20ac is AC 20) may not,
        # and then only the byte-order mark tells.
        wide = [[os.path.join(self.root, name)] for name in ("le", "be", "no-mark", "empty-first")]
        for [path], data in zip(wide, (b"\xff\xfe" + "\u20ac\n-o u.png x\n".encode("utf-16-le"),
                                       b"\xfe\xff" + "\u20ac\u20ac".encode("utf-16-be"),
                                       "-o u.png x\r\n-o v.png y".encode("utf-16-le"),
                                       b"\xff\xfe" + "\n-o u.png x".encode("utf-16-le"))):
            with open(path, "wb") as f:
                f.write(data)
        for args in (["no-such-file"], [self.tmpdir], ["a", "b"], *wide):
            with self.subTest(args=args):
                before = sorted(os.listdir(self.folder))
                proc = subprocess.run([self.batch, *args], cwd=self.folder, capture_output=True)
                self.assertEqual((proc.returncode, proc.stdout), (1105 % 256, b""))
                self.assertEqual(proc.stderr.count(b"\n"), 1, proc.stderr)
                self.assertEqual(args in wide, b"save the file as ANSI or UTF-8" in proc.stderr)
                self.assertIn(os.fsencode(args[0]) if len(args) == 1 else b"usage", proc.stderr)
                self.assertEqual(sorted(os.listdir(self.folder)), before, "something ran")

    def test_typed_input_ends_at_a_line_holding_only_ctrl_z(self):
        # As at a Windows console: Ctrl-Z and Enter end the input, and the
        # program stops there instead of waiting for more. Before it: a line
        # that is nearly a byte-order mark, one that starts with Ctrl-Z, an
        # empty one.
        terminal, typed = pty.openpty()
        tty.setraw(typed)  # bytes as typed: no suspend signal, no CR made LF
        os.write(terminal, b"\xef\xbb\xbe\r\n-o a.png one\r\n\x1a\x1a\r\n\n-o c.png x\r\n\x1a\r\n-o b.png two\r\n")
        proc = subprocess.run([self.batch], cwd=self.folder, stdin=typed, capture_output=True,
                              env={**os.environ, "TMPDIR": self.tmpdir}, timeout=10)
        os.close(typed)
        os.close(terminal)
        self.assertEqual((proc.returncode, proc.stdout, proc.stderr), (81, b"1\t1105\n2\t0\n3\t1105\n5\t0\n", b""))
        self.assertEqual(sorted(n for n in os.listdir(self.folder) if n.endswith(".png")), ["a.png", "c.png"])
        # Lines read from a file are no typed input, whatever standard input is.
        with open(os.path.join(self.folder, "lines.txt"), "wb") as f:
            f.write(b"\x1a\n-o d.png d\n")
        terminal, typed = pty.openpty()
        proc = subprocess.run([self.batch, "lines.txt"], cwd=self.folder, stdin=typed, capture_output=True,
                              env={**os.environ, "TMPDIR": self.tmpdir}, timeout=10)
        os.close(typed)
        os.close(terminal)
        self.assertEqual(proc.stdout, b"1\t1105\n2\t0\n")

    def test_slash_question_mark_h_and_help_print_the_usage_on_standard_output(self):
        for program in (self.batch, self.png2bmp):
            for arg in ("/?", "-h", "--help"):
                with self.subTest(program=program, arg=arg):
                    proc = subprocess.run([program, arg], cwd=self.folder, capture_output=True)
                    self.assertEqual((proc.returncode, proc.stderr), (0, b""))
                    self.assertTrue(proc.stdout.startswith(
                        b"Usage: " + os.fsencode(os.path.basename(program))), proc.stdout)
                    self.assertEqual(os.listdir(self.folder), [])
            # With more arguments it is no request for help.
            self.assertEqual(subprocess.run([program, "-h", "x"], cwd=self.folder, capture_output=True).stdout, b"")

    def test_a_long_batch_leaves_no_descriptor_open(self):
        # A descriptor left open by a line is one more for each line of a batch.
        kinds = [b"-o a.png one\n", b"-t bmp -o b.bmp two\n", b"-o missing/c.png x\n",
                 b"-s -v 1 -t bmp -o s.bmp %s\n" % SERIES.encode(), b"-t bmp -o missing/d.bmp x\n"]
        proc = subprocess.Popen([self.batch], cwd=self.folder, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                env={**os.environ, "TMPDIR": self.tmpdir})
        descriptors = f"/proc/{proc.pid}/fd"
        proc.stdin.write(b"\xfe\xfe -h\n")  # a first line that starts as no byte-order mark does
        proc.stdin.flush()
        proc.stdout.readline()
        before = os.listdir(descriptors)
        # A line's log lines are all written by the time its result is.
        usage = self.run_tessel("-h", folder=self.tmpdir, check_temp=False).log.count(b"\n")
        self.assertEqual(read_bytes(os.path.join(self.folder, "Tessel.log")).count(b"\n"), usage)
        proc.stdin.write(b"".join(kinds[i % len(kinds)] for i in range(999)))
        proc.stdin.flush()
        self.assertEqual([proc.stdout.readline() for _ in range(999)][-1], b"1000\t0\n")
        self.assertEqual(sorted(os.listdir(descriptors)), sorted(before))
        proc.communicate(timeout=60)

    def test_the_progress_line_is_drawn_on_a_terminal_and_blanked_at_the_end(self):
        terminal, stderr = pty.openpty()
        proc = subprocess.Popen([self.batch], stdin=subprocess.PIPE, cwd=self.folder,
                                stdout=subprocess.PIPE, stderr=stderr,
                                env={**os.environ, "TMPDIR": self.tmpdir})
        # Quick lines (one too long); the rate falls under 1,000 lines/s, a shorter
        # line drawn over a longer one; a BMP run's lines, and one more drawing.
        first = b"-o a.png one\n-o\n" * 1499 + b"-o a.png one\n" + b"z" * (LIMIT + 1) + b"\n"
        for lines, pause in ((first, 3.1),
                             (b"-o a.png one\n-o b two -t BMP\n", 0.2)):
            proc.stdin.write(lines)
            proc.stdin.flush()
            for _ in range(lines.count(b"\n")):
                proc.stdout.readline()
            time.sleep(pause)
        proc.communicate(b"-o\n", timeout=60)
        os.close(stderr)
        shown = b""
        try:
            while chunk := os.read(terminal, 4096):
                shown += chunk
        except OSError:  # the other end is closed and all is read
            pass
        os.close(terminal)
        self.assertEqual(proc.returncode, 1105 % 256)
        drawn = list(re.finditer(rb"\r((\d+) lines, (\d+) failed, \d+ lines/s) *", shown))
        self.assertTrue(drawn, shown)
        self.assertNotIn(b", 0 lines/s", shown)
        self.assertTrue(all(abs(int(m[2]) - 2 * int(m[3])) <= 1 for m in drawn), shown)
        last = shown.rsplit(b"\r", 3)[-3].rstrip(b" ")
        self.assertTrue(shown.endswith(b"\r" + b" " * len(last) + b"\r"), shown[-100:])
        # A drawing over the last one, still on the screen, blanks what is left of it.
        for last, m in zip(drawn, drawn[1:]):
            width = len(last[1]) if m.start() == last.end() else 0
            self.assertEqual(len(m[0]), 1 + max(len(m[1]), width), shown)
        # The converter's lines start on a line of their own.
        before = shown[:shown.index(b"\rReading")]
        self.assertTrue(before.endswith((b"\r", b"\n")), before[-80:])
        # With the results on the same terminal, each starts on a clean line too.
        terminal, slave = pty.openpty()
        subprocess.run([self.batch], input=b"-o a.png one\n" * 3, cwd=self.folder, stdout=slave,
                       stderr=slave, env={**os.environ, "TMPDIR": self.tmpdir})
        os.close(slave)
        shown = os.read(terminal, 4096)
        os.close(terminal)
        self.assertEqual(re.findall(rb"(?<=[\r\n])\d\t0", b"\n" + shown),
                         [b"1\t0", b"2\t0", b"3\t0"], shown)


if __name__ == "__main__":
    TesselCase.tessel = os.path.abspath(sys.argv[1])
    Batch.batch = os.path.abspath(sys.argv[2])
    Batch.png2bmp = os.path.abspath(sys.argv[3])
    unittest.main(argv=[sys.argv[0]] + failfast_flag() + sys.argv[4:], verbosity=1)
