"""The Windows programs under wine: what only the native build can get wrong.

Usage: test_wine.py WIN_BUILD POSIX_TESSEL [unittest arguments]
  WIN_BUILD     folder holding tessel.exe, png2bmp.exe, tessel-batch.exe,
                tessel.dll and the test hosts (scripts/win-arch.sh)
  POSIX_TESSEL  the POSIX build's tessel, the reference for the images

WINEPREFIX must name a prefix of its own; scripts/test-wine.sh sets it up.
Every program is started through run_child.exe, so that its command line is
exactly the bytes or text a test gives and its exit code arrives whole.
"""

import ctypes
import os
import pty
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import termios
import time
import unittest
import xml.etree.ElementTree as ElementTree

import png  # Debian's python3-png

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import STAMP, cross_misses, failfast_flag, read_bytes, zbar  # noqa: E402  (the end-to-end suite's own helpers)

WIN_BUILD = None
POSIX_TESSEL = None


def windows_path(path):
    """The Windows name of a Linux path, through the Z: drive wine maps to /."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_env():
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["WINEDEBUG"] = "-all"
    # Wine takes the ANSI code page from the locale: pinned, so that the bytes
    # of a command line mean the same as they do to the POSIX build.
    env["LC_ALL"] = "C.UTF-8"
    return env


def wine(*args, cwd=None, stdin_data=None):
    # Output goes through files, not pipes: a wine process that starts the
    # prefix's services hands them its output handles, and a pipe would then
    # not reach its end until those services stop.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, \
            tempfile.TemporaryFile() as into:
        into.write(stdin_data or b"")
        into.seek(0)
        proc = subprocess.run(["wine", *args], cwd=cwd, env=wine_env(),
                              stdin=subprocess.DEVNULL if stdin_data is None else into,
                              stdout=out, stderr=err, timeout=120)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(proc.args, proc.returncode, out.read(), err.read())


def helper(*args):
    proc = wine(os.path.join(WIN_BUILD, "run_child.exe"), *args)
    if proc.returncode != 0:
        raise RuntimeError(f"run_child.exe {args} failed: {proc.stderr!r}")
    return proc.stdout


def pixels(path):
    """(width, height, bit depth, greyscale), and the rows as bytes."""
    with open(path, "rb") as f:
        width, height, rows, info = png.Reader(file=f).read()
        return (width, height, info["bitdepth"], info["greyscale"]), [bytes(r) for r in rows]


class TempWatch:
    """Records the files created, written and deleted in one folder (inotify)."""

    IN_CLOSE_WRITE, IN_CREATE, IN_DELETE = 0x8, 0x100, 0x200

    def __init__(self, folder):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0:
            raise OSError(ctypes.get_errno(), "inotify_init1")
        mask = self.IN_CLOSE_WRITE | self.IN_CREATE | self.IN_DELETE
        if self.libc.inotify_add_watch(self.fd, os.fsencode(folder), mask) < 0:
            raise OSError(ctypes.get_errno(), "inotify_add_watch")

    def events(self):
        """(kind, name) pairs in the order they happened, kind one of
        "create", "write", "delete"."""
        data = b""
        while True:
            try:
                chunk = os.read(self.fd, 65536)
            except BlockingIOError:
                break
            if not chunk:
                break
            data += chunk
        out, pos = [], 0
        while pos < len(data):
            _, mask, _, length = struct.unpack_from("iIII", data, pos)
            name = data[pos + 16:pos + 16 + length].rstrip(b"\0").decode()
            pos += 16 + length
            for bit, kind in ((self.IN_CREATE, "create"), (self.IN_CLOSE_WRITE, "write"),
                              (self.IN_DELETE, "delete")):
                if mask & bit:
                    out.append((kind, name))
        return out

    def close(self):
        os.close(self.fd)


def pe_resources(path):
    """{(type id, name id): bytes} of a PE file's resources (numeric ids
    only, the first language of each)."""
    data = read_bytes(path)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", path
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], \
        struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
    rsrc_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]

    def offset(rva):
        for i in range(sections):
            size, start, _, raw = struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"{path}: no section holds RVA {rva:#x}")

    base = offset(rsrc_rva)

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, base + at + 16 + 8 * i)

    found = {}
    for type_id, names in entries(0):
        for name_id, languages in entries(names & 0x7FFFFFFF):
            _, leaf = next(entries(languages & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + leaf)
            found[(type_id, name_id)] = data[offset(rva):offset(rva) + size]
    return found


def version_info(block):
    """The file and product versions of a VS_VERSIONINFO resource as tuples
    of four numbers, and its StringFileInfo values."""
    def node(pos):
        length, value_length, is_text = struct.unpack_from("<HHH", block, pos)
        key_end = pos + 6
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[pos + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value = block[value_at:value_at + (value_length * 2 if is_text else value_length)]
        children, child = [], (value_at + len(value) + 3) & ~3
        while child < pos + length:
            children.append(node(child))
            child = (child + children[-1][3] + 3) & ~3
        return key, value, children, length

    key, fixed, children, _ = node(0)
    assert key == "VS_VERSION_INFO" and struct.unpack_from("<I", fixed)[0] == 0xFEEF04BD
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
    strings = {}
    for child_key, _, tables, _ in children:
        if child_key == "StringFileInfo":
            for _, _, values, _ in tables:
                for name, text, _, _ in values:
                    strings[name] = text.decode("utf-16-le").rstrip("\0")

    def parts(ms, ls):
        return ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF

    return parts(file_ms, file_ls), parts(product_ms, product_ls), strings


class WineCase(unittest.TestCase):
    temp_folder = None  # the prefix's own temporary folder, as a Linux path

    @classmethod
    def setUpClass(cls):
        if WineCase.temp_folder is None:
            win_temp = helper("--temp-path").decode().strip()
            # C:\users\<user>\Temp\ lies in the prefix's drive_c.
            m = re.fullmatch(r"C:\\users\\[^\\]+\\Temp\\", win_temp, re.IGNORECASE)
            assert m, f"unexpected temporary folder {win_temp}"
            rel = win_temp[3:].rstrip("\\").replace("\\", "/")
            WineCase.temp_folder = os.path.join(os.environ["WINEPREFIX"], "drive_c", rel)

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tessel-wine-")
        self.folder = os.path.join(self.root, "work")
        os.mkdir(self.folder)
        self.posix_folder = os.path.join(self.root, "posix")
        os.mkdir(self.posix_folder)

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def run_windows(self, program, command_line, program_path=None, stdin_data=None, gap=b" ",
                    quote=b'"'):
        """Starts program (tessel.exe, png2bmp.exe or tessel-batch.exe) in the
        work folder with the command line '"<program path>"' + gap + command_line
        (bytes, or str for a wide one) and stdin_data as its standard input;
        returns the exit code and standard error, and keeps its standard
        output in self.stdout. No temporary file may survive it."""
        exe = program_path or os.path.join(WIN_BUILD, program)
        wide = isinstance(command_line, str)
        line = quote + windows_path(exe).encode() + quote + gap + (command_line.encode() if wide else command_line)
        cmd_file = os.path.join(self.root, "command-line.txt")
        with open(cmd_file, "wb") as f:
            f.write(line)
        temp_before = sorted(os.listdir(self.temp_folder))
        proc = wine(os.path.join(WIN_BUILD, "run_child.exe"), *(["--wide"] if wide else []),
                    windows_path(cmd_file), cwd=self.folder, stdin_data=stdin_data)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.stdout = proc.stdout.splitlines()[:-1]
        self.assertEqual(sorted(os.listdir(self.temp_folder)), temp_before,
                         "the Windows temporary folder changed")
        self.assertEqual([n for n in os.listdir(self.folder) if n.endswith(".tmp")], [],
                         "a fallback temporary file was left behind")
        return int(proc.stdout.splitlines()[-1]), proc.stderr

    def run_posix(self, *args):
        env = dict(os.environ, TMPDIR=self.root)
        return subprocess.run([POSIX_TESSEL, *args], cwd=self.posix_folder, env=env,
                              capture_output=True, timeout=120).returncode

    def win_file(self, name):
        return os.path.join(self.folder, name)

    def assertSameImage(self, name):
        win, posix = self.win_file(name), os.path.join(self.posix_folder, name)
        self.assertTrue(os.path.isfile(win), f"tessel.exe made no {name}")
        self.assertTrue(os.path.isfile(posix), f"the POSIX build made no {name}")
        if name.lower().endswith(".bmp"):
            # Uncompressed, so the same image is the same bytes.
            self.assertTrue(read_bytes(win) == read_bytes(posix), f"{name} differs")
        else:
            (win_form, win_rows), (posix_form, posix_rows) = pixels(win), pixels(posix)
            self.assertEqual(win_form, posix_form, name)
            # Named by the first differing row: a diff of whole images is
            # unreadable and takes minutes.
            bad = next((y for y, (a, b) in enumerate(zip(win_rows, posix_rows)) if a != b), None)
            self.assertIsNone(bad, f"{name}: pixels differ from row {bad} on")


class ExitCodes(WineCase):
    def test_failures_reach_the_parent_with_all_their_bits(self):
        long_data = b"x" * 200
        cases = [
            (b"", 1105),                                 # no output name
            (b"-o a.png", 1105),                         # no data (nor program name)
            (b"-q -o a.png data", 1105),                 # unknown switch
            (b"-o missing\\a.png data", 1101),           # file cannot be created
            (b"-s -v 1 -l h -o s.png " + long_data, 1104),  # too much for 16 symbols
            (b"-t bmp -o missing\\a.bmp data", 1106),    # BMP cannot be written
            (b"-h", 0),
            (b"-o a.png data", 0),
        ]
        for line, code in cases:
            with self.subTest(line=line):
                self.assertEqual(self.run_windows("tessel.exe", line)[0], code)


class CommandLine(WineCase):
    """WinMain gets the raw text; the program's own tokenizer, not the C
    runtime's argv rules, must split it, as it does in the POSIX build."""

    def test_raw_command_line_splits_like_the_posix_build(self):
        cases = [
            # raw Windows command line, POSIX argv, output file
            (b'-o "my file.png" "a\\sb"', ["-o", "my file.png", "a\\sb"], "my file.png"),
            (b"-o 'its name.png' 'say \"hi\"\\x21'",
             ["-o", "its name.png", 'say "hi"\\x21'], "its name.png"),
            # Only a quote's own kind closes it: the apostrophe is data.
            (b'-o mix.png "it\'s a"', ["-o", "mix.png", "it's a"], "mix.png"),
            # A backslash does not hide a quote from the tokenizer.
            (b'-o esc.png "x\\" y"', ["-o", "esc.png", 'y"'], "esc.png"),
            (b"   -l   h  -o spaced.png   caf\xe9\\t\\\\  ",
             ["-l", "h", "-o", "spaced.png", b"caf\xe9\\t\\\\"], "spaced.png"),
            # Wide command lines: text in the code page arrives as its bytes.
            ('-o cp.png "A\u00f1o Ni\u00f1o \u20ac"', ["-o", "cp.png", b"A\xf1o Ni\xf1o \x80"], "cp.png"),
            # The start-up code dropped a letter beyond ASCII that began the text.
            ("\u00d1and\u00fa -o lead.png", [b"\xd1and\xfa", "-o", "lead.png"], "lead.png"),
        ]
        for line, argv, output in cases:
            with self.subTest(line=line):
                self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
                self.assertEqual(self.run_posix(*argv), 0)
                self.assertSameImage(output)

    def test_text_data_comes_from_the_wide_command_line_in_utf8(self):
        cases = [
            ('-u -o u1.png "\u03a9mega Pe\u00f1a"', ["-u", "-o", "u1.png", "\u03a9mega Pe\u00f1a"], "u1.png"),
            ('-o "a\u00f1o.png" Pe\u00f1a\\sZ\u00fcrich\\s\u20ac\\s5\\xC3\\xB1 -u',
             ["-u", "-o", "a\u00f1o.png", "Pe\u00f1a\\sZ\u00fcrich\\s\u20ac\\s5\\xC3\\xB1"],
             "a\u00f1o.png"),
        ]
        for line, argv, output in cases:
            with self.subTest(line=line):
                self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
                self.assertEqual(self.run_posix(*argv), 0)
                self.assertSameImage(output)
        # The output name keeps the code page's rule.
        self.assertEqual(self.run_windows("tessel.exe", "-u -o \u03a9.png x")[0], 1105)
        self.assertRegex(read_bytes(self.win_file("Tessel.log")),
                         b"^" + STAMP + b"Car\xe1cter no representable en la l\xednea de comandos\r\n$")

    def test_characters_outside_the_code_page_are_refused(self):
        # With Windows' best fit these would arrive as "Omega", and as '"'
        # marks that end the quoting and make "-o evil.png" a switch.
        for line in ("-o a.png \u03a9mega", "\u03a9", '-o safe.png "x\uff02 -o evil.png \uff02y"'):
            with self.subTest(line=line):
                watch = TempWatch(self.temp_folder)
                self.assertEqual(self.run_windows("tessel.exe", line)[0], 1105)
                self.assertEqual(watch.events(), [], "a temporary file was made")
                watch.close()
                self.assertEqual(os.listdir(self.folder), ["Tessel.log"])
                self.assertRegex(read_bytes(self.win_file("Tessel.log")),
                                 b"^" + STAMP + b"Car\xe1cter no representable en la l\xednea de comandos\r\n$")
                os.remove(self.win_file("Tessel.log"))
        self.assertEqual(self.run_windows("tessel.exe", "x")[0], 1105)  # one character it holds
        self.assertRegex(read_bytes(self.win_file("Tessel.log")), b"^" + STAMP + b"Archivo de salida no ha sido")

    def test_console_programs_refuse_such_file_names(self):
        # Best fit would have opened or written these ASCII look-alikes.
        self.assertEqual(self.run_windows("tessel.exe", b"-o Ogood.png x")[0], 0)
        with open(self.win_file("Olines.txt"), "wb") as f:
            f.write(b"-o b.png x\n")
        for program, line, code in (("png2bmp.exe", "Ogood.png \u03a9out.bmp", 1),
                                    ("tessel-batch.exe", "\u03a9lines.txt", 1105)):
            with self.subTest(program=program):
                self.assertEqual(self.run_windows(program, line),
                                 (code, program[:-4].encode() + b": an argument holds a character that the "
                                  b"Windows code page (ANSI) cannot represent; use a name without it\r\n"))
                self.assertEqual(sorted(os.listdir(self.folder)), ["Ogood.png", "Olines.txt", "Tessel.log"])
        # Only what follows a quoted program name counts, however it ends (Windows adds the .exe).
        os.mkdir(os.path.join(self.root, "Tessel app"))
        shutil.copy(os.path.join(WIN_BUILD, "tessel-batch.exe"), os.path.join(self.root, "Tessel app", "b\u03a9.exe"))
        name = os.path.join(self.root, "Tessel app", "b\u03a9")
        self.assertEqual(self.run_windows(None, "Olines.txt", program_path=name)[0], 0)
        self.assertEqual(self.run_windows(None, "\u03a9lines.txt", program_path=name, gap=b"")[0], 1105)
        shutil.copy(os.path.join(WIN_BUILD, "tessel-batch.exe"), os.path.join(self.root, "b\u03a9.exe"))
        self.assertEqual(self.run_windows(None, "Olines.txt", program_path=os.path.join(self.root, "b\u03a9"),
                                          quote=b"")[0], 0)  # a name without quotes ends at the space

    def test_program_name_with_spaces_is_skipped(self):
        folder = os.path.join(self.root, "Tessel app")
        os.mkdir(folder)
        self.assertEqual(self.run_posix("-o", "a b.png", "data"), 0)
        # A name of characters no code page holds, and one followed by a tab.
        for name, gap in (("tessel copy.exe", b"    "), ("t\u03a9ssel \u00e9.exe", b"\t")):
            exe = os.path.join(folder, name)
            shutil.copy(os.path.join(WIN_BUILD, "tessel.exe"), exe)
            code, _ = self.run_windows(None, '-o "a b.png" data', program_path=exe, gap=gap)
            self.assertEqual(code, 0)
            self.assertSameImage("a b.png")
            os.remove(self.win_file("a b.png"))


class RunLog(WineCase):
    def test_lines_end_in_crlf_and_system_error_text_is_indented(self):
        self.assertEqual(self.run_windows("tessel.exe", b"-h")[0], 0)
        code, _ = self.run_windows("tessel.exe", b"-o missing\\a.png data")
        self.assertEqual(code, 1101)
        log = read_bytes(self.win_file("Tessel.log"))
        self.assertTrue(log.endswith(b"\r\n"))
        self.assertNotRegex(log, rb"[^\r]\n", "a line feed without a carriage return")
        lines = log.split(b"\r\n")[:-1]
        self.assertRegex(lines[0], rb"^Tessel v1\.0\.0\.1$")
        # ERROR_PATH_NOT_FOUND, in the wording the system gives it.
        reason = helper("--message", "3")
        self.assertTrue(reason)
        self.assertRegex(lines[-2], STAMP + rb"Error al crear archivo \[missing\\a\.png\]$")
        self.assertEqual(lines[-1], b" " * 16 + reason)
        # A BMP that cannot be created gives the same reason.
        self.assertEqual(self.run_windows("tessel.exe", b"-t bmp -o missing\\a.bmp data")[0], 1106)
        lines = read_bytes(self.win_file("Tessel.log")).split(b"\r\n")[-3:]
        self.assertRegex(lines[0], STAMP + rb"No se pudo grabar BMP definitivo$")
        self.assertEqual(lines[1:], [b" " * 16 + reason, b""])

    def test_a_line_waits_while_another_process_holds_the_log(self):
        cmd_file = os.path.join(self.root, "command-line.txt")
        with open(cmd_file, "wb") as f:
            f.write(b'"' + windows_path(os.path.join(WIN_BUILD, "tessel.exe")).encode() + b'" -h')
        proc = wine(os.path.join(WIN_BUILD, "run_child.exe"), "--locked", "Tessel.log",
                    windows_path(cmd_file), cwd=self.folder)
        self.assertEqual(proc.stdout.split(), [b"0", b"waited"], proc.stderr)

    def test_four_batches_at_once_keep_every_line_whole(self):
        # Lengths from 0 to past the runtime's 512- and 1024-byte buffers.
        batches = [[b"P%dL%03d" % (p, i) + b"x" * ((i * 37 + p * 11) % 1500) for i in range(300)]
                   for p in range(4)]
        procs = []
        for p, values in enumerate(batches):
            with open(self.win_file("lines-%d.txt" % p), "wb") as f:
                f.write(b"".join(b"-o a.png -l " + v + b" x\r\n" for v in values))
        for p in range(4):
            procs.append(subprocess.Popen(["wine", os.path.join(WIN_BUILD, "tessel-batch.exe"),
                                           "lines-%d.txt" % p], cwd=self.folder, env=wine_env(),
                                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL))
        self.assertEqual([proc.wait(timeout=120) for proc in procs], [1105 % 256] * 4)
        lines = read_bytes(self.win_file("Tessel.log")).split(b"\r\n")
        self.assertEqual(lines.pop(), b"")
        pattern = re.compile(STAMP + rb"Nivel Inv\xe1lido: (P\d+L\d+x*)\. Valores posibles: L, M, Q, H$")
        torn = [line for line in lines if not pattern.match(line)]
        self.assertEqual(torn, [], "torn lines")
        self.assertEqual(sorted(pattern.match(line).group(1) for line in lines),
                         sorted(v for values in batches for v in values))


class TemporaryFile(WineCase):
    """The temporary file is made by GetTempFileNameA in the Windows
    temporary folder and deleted by the end of the run."""

    def temp_events(self, command_line):
        watch = TempWatch(self.temp_folder)
        try:
            code, stderr = self.run_windows("tessel.exe", command_line)
            return code, stderr, watch.events()
        finally:
            watch.close()

    def test_it_lives_in_the_windows_temporary_folder_for_one_run(self):
        for line in (b"-o a.png data", b"-t bmp -o a.bmp data"):
            with self.subTest(line=line):
                code, stderr, events = self.temp_events(line)
                self.assertEqual(code, 0)
                made = [name for kind, name in events if kind == "create"]
                gone = [name for kind, name in events if kind == "delete"]
                self.assertEqual(len(made), 1, events)
                self.assertEqual(gone, made, events)
                self.assertEqual(events[-1][0], "delete")
                # Three letters of "tessl-", a hexadecimal number, .tmp.
                self.assertRegex(made[0], r"(?i)^tes[0-9a-f]{1,4}\.tmp$")
                if b"bmp" in line:
                    # The converter names the file it reads in its status line.
                    self.assertIn(made[0].encode(), stderr)


class Images(WineCase):
    def test_png_and_bmp_output_match_the_posix_build(self):
        settings = [b"-l", b"h", b"-z", b"2", b"-m", b"1", b"-v", b"5"]
        data = b"Tessel\\x21\\s0123456789"
        cases = [
            ([], "a.png"),
            (settings, "b.png"),
            ([b"-k", b"-8", b"-i"], "c.png"),
            ([b"-t", b"bmp"], "d.bmp"),
            (settings + [b"-t", b"BMP"], "e.bmp"),
        ]
        for switches, output in cases:
            with self.subTest(switches=switches):
                line = b" ".join(switches + [b"-o", output.encode(), data])
                self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
                self.assertEqual(self.run_posix(*switches, "-o", output, data), 0)
                self.assertSameImage(output)

    def test_a_full_version_40_symbol_from_a_12000_character_line(self):
        # 2,953 bytes, the 8-bit capacity of version 40-L, as \xHH escapes.
        data = b"".join(b"\\x%02x" % (1 + i % 255) for i in range(2953))
        line = b"-8 -l l -z 1 -o full.png " + data
        self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
        self.assertEqual(self.run_posix("-8", "-l", "l", "-z", "1", "-o", "full.png", data), 0)
        self.assertSameImage("full.png")
        self.assertEqual(pixels(self.win_file("full.png"))[0][0], 177 + 8)

    def test_structured_series_matches_the_posix_build(self):
        data = b"0123456789" * 8
        line = b"-s -v 1 -l m -o series.png " + data
        self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
        self.assertEqual(self.run_posix("-s", "-v", "1", "-l", "m", "-o", "series.png", data), 0)
        names = sorted(n for n in os.listdir(self.folder) if n.startswith("series-"))
        self.assertGreater(len(names), 1)
        self.assertEqual(names, sorted(n for n in os.listdir(self.posix_folder)
                                       if n.startswith("series-")))
        for name in names:
            self.assertSameImage(name)

    def test_metafiles_played_by_gdi_state_their_size_and_draw_the_pngs_modules(self):
        data = b"https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&fecha=01-09-2024"
        # The EMF's switches, a PNG's with the same modules (-w needs -d
        # there), and the frame in 0.01 mm from the PNG's side and the
        # modules across the image and the symbol.
        cases = [(b"-l M -w 35", b"-l M -d 300 -w 35", lambda side, n, w: 3500 * n / w),
                 (b"-l M -d 300 -w 35,5", None, lambda side, n, w: 3550 * n / w),
                 (b"-d 203 -z 6", None, lambda side, n, w: side * 2540 / 203),
                 (b"-m 1", None, lambda side, n, w: side * 2540 / 96)]
        lines = b"".join(emf + b" -t emf -o %d.emf " % i + data + b"\n" for i, (emf, _, _) in enumerate(cases))
        self.assertEqual(self.run_windows("tessel-batch.exe", b"-", stdin_data=lines)[0], 0)
        pngs, plays = [], []
        for i, (emf, png_switches, _) in enumerate(cases):
            self.assertEqual(self.run_posix(*(png_switches or emf).split(), "-o", f"{i}.png", data), 0)
            (side, _, _, _), rows = pixels(os.path.join(self.posix_folder, f"{i}.png"))
            # The first dark run is the top of a finder pattern, 7 modules long.
            top = next(row for row in rows if 0 in row)
            dot = (top.index(1, top.index(0)) - top.index(0)) // 7
            pngs.append((side, side // dot, side // dot - 2 * top.index(0) // dot,
                         bytes(255 * v for r in rows for v in r)))
            # At the PNG's side every edge falls between pixels; at another
            # the module centres are compared.
            plays += [a for p in (side, side + 7) for a in (windows_path(self.win_file(f"{i}.emf")), str(p),
                                                          windows_path(self.win_file(f"{i}-{p}.pgm")))]
        proc = wine(os.path.join(WIN_BUILD, "emf_player.exe"), *plays)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        frames = proc.stdout.decode().split("\n")[::2]

        def centres(grey, side, n):
            at = [int((k + 0.5) * side / n) for k in range(n)]
            return [[grey[y * side + x] for x in at] for y in at]

        for i, ((emf, _, frame), (side, n, width, png_grey)) in enumerate(zip(cases, pngs)):
            with self.subTest(emf=emf):
                left, top, right, bottom = map(int, frames[i].split())
                self.assertEqual((left, top, bottom), (0, 0, right))
                self.assertAlmostEqual(right, frame(side, n, width), delta=0.5)
                for p in (side, side + 7):
                    grey = read_bytes(self.win_file(f"{i}-{p}.pgm")).split(b"\n", 1)[1]
                    self.assertTrue(p != side or grey == png_grey, "not the PNG's pixels")
                    self.assertEqual(centres(grey, p, n), centres(png_grey, side, n), p)
                    self.assertEqual(zbar(self.win_file(f"{i}-{p}.pgm")), data, p)

    def test_metafile_colours_reach_gdi_and_a_transparent_background_leaves_the_page_showing(self):
        data = b"Colours:0123456789"
        cases = [(b"003366", b"FFFFFF00"), (b"7A0000", b"FFF5CC")]
        lines = b"".join(b"-f %s -b %s -t emf -o c%d.emf %s\n" % (f, b, i, data) for i, (f, b) in enumerate(cases))
        self.assertEqual(self.run_windows("tessel-batch.exe", b"-", stdin_data=lines)[0], 0)
        # 33 modules at 4 pixels each: every edge falls between pixels.
        plays = [a for i in range(len(cases)) for a in (windows_path(self.win_file(f"c{i}.emf")), "132",
                                                        windows_path(self.win_file(f"c{i}.ppm")))]
        proc = wine(os.path.join(WIN_BUILD, "emf_player.exe"), *plays)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        for i, (dark, light) in enumerate(cases):
            with self.subTest(dark=dark, light=light):
                rgb = read_bytes(self.win_file(f"c{i}.ppm")).split(b"\n", 1)[1]
                shown = [rgb[k:k + 3] for k in range(0, len(rgb), 3)]
                # The player's mid-grey shows where nothing was drawn.
                page = b"\x80" * 3 if light.endswith(b"00") else bytes.fromhex(light.decode())
                self.assertEqual(set(shown), {bytes.fromhex(dark.decode()), page})
                with open(self.win_file(f"c{i}.pgm"), "wb") as f:
                    f.write(b"P5 132 132 255\n" + bytes(255 * (p == page) for p in shown))
                self.assertEqual(zbar(self.win_file(f"c{i}.pgm")), data)
    def test_gdi_plays_the_swiss_cross_of_a_metafile_over_a_symbol_that_still_reads(self):
        fields = (b"iban=CH9300762011623852957\\ncreditor_name=Thomas\\sLeClaire\\ncreditor_postcode=1000\\n"
                  b"creditor_town=Lausanne\\ncreditor_country=CH\\ncurrency=CHF")
        self.assertEqual(self.run_windows("tessel.exe", b"-p swiss -v 15 -t emf -o bill.emf " + fields)[0], 0)
        stem, side = self.win_file("bill"), 85 * 5  # version 15, 77 modules, and the quiet zone
        proc = wine(os.path.join(WIN_BUILD, "emf_player.exe"), windows_path(stem + ".emf"), str(side),
                    windows_path(stem + ".pgm"))
        self.assertEqual(proc.returncode, 0, proc.stderr)
        grey = read_bytes(stem + ".pgm").split(b"\n", 1)[1]
        self.assertEqual(cross_misses([grey[y * side:(y + 1) * side] for y in range(side)], 20, 77 * 5, 1), [])
        self.assertTrue(zbar(stem + ".pgm").startswith(b"SPC\n0200\n1\nCH9300762011623852957\nS\nThomas LeClaire\n"))


class Png2Bmp(WineCase):
    def setUp(self):
        super().setUp()
        code, _ = self.run_windows("tessel.exe", b"-z 4 -o good.png damaged\\sinput\\s0123456789")
        self.assertEqual(code, 0)
        self.good = read_bytes(self.win_file("good.png"))

    def test_converts_like_the_generator(self):
        self.assertEqual(self.run_windows("tessel.exe", b"-z 4 -t bmp -o gen.bmp "
                                          b"damaged\\sinput\\s0123456789")[0], 0)
        code, _ = self.run_windows("png2bmp.exe", b"good.png conv.bmp")
        self.assertEqual(code, 0)
        self.assertEqual(read_bytes(self.win_file("conv.bmp")), read_bytes(self.win_file("gen.bmp")))

    def test_libpng_error_is_reported_not_crashed_on(self):
        # libpng leaves by longjmp, which 64-bit Windows performs by unwinding
        # through every frame in between: a frame without unwind data would
        # crash the process instead of reaching the recovery point.
        at = self.good.index(b"IDAT")
        length = struct.unpack(">I", self.good[at - 4:at])[0]
        truncated = self.good[:at + 4 + length // 2]
        bad_crc = bytearray(self.good)
        bad_crc[at + 4 + length] ^= 0xFF
        for name, content in (("truncated.png", truncated), ("bad crc.png", bytes(bad_crc))):
            with self.subTest(name=name):
                with open(self.win_file(name), "wb") as f:
                    f.write(content)
                code, stderr = self.run_windows("png2bmp.exe", b'"' + name.encode() + b'" out.bmp')
                self.assertEqual(code, 1, stderr)
                # The error line follows the status line's carriage return.
                last = stderr.rstrip(b"\r\n").split(b"\r")[-1]
                self.assertRegex(last, rb"^ERROR\(libpng\): .+ - " + re.escape(name.encode()) + rb"$")
                self.assertFalse(os.path.exists(self.win_file("out.bmp")))


class ReleaseMetadata(WineCase):
    RT_VERSION, RT_MANIFEST = 16, 24
    TEST_PROGRAMS = ("run_child.exe", "dll_host.exe", "linked_host.exe", "msvc_host.exe", "dll_bench.exe",
                     "emf_player.exe", "memory_example.exe")
    # Windows Vista, 7, 8, 8.1, and 10 and 11.
    SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}

    def test_programs_carry_the_banners_version_and_a_manifest(self):
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "LICENSE"),
                  encoding="ascii") as f:
            copyright_line = next(line.strip() for line in f if line.startswith("Copyright"))
        self.assertEqual(self.run_windows("tessel.exe", b"-h")[0], 0)
        banner = read_bytes(self.win_file("Tessel.log")).split(b"\r\n")[0].decode()
        m = re.fullmatch(r"Tessel v((\d+)\.(\d+)\.(\d+)\.(\d+))", banner)
        self.assertTrue(m, banner)
        version = m.group(1)
        parts = tuple(int(p) for p in m.groups()[1:])
        descriptions = set()
        programs = sorted(n for n in os.listdir(WIN_BUILD)
                          if n.endswith((".exe", ".dll")) and n not in self.TEST_PROGRAMS)
        self.assertIn("png2bmp.exe", programs)
        self.assertIn("tessel.dll", programs)
        for program in programs:
            with self.subTest(program=program):
                resources = pe_resources(os.path.join(WIN_BUILD, program))
                self.assertIn((self.RT_VERSION, 1), resources, "no version resource")
                file_version, product_version, strings = version_info(resources[(self.RT_VERSION, 1)])
                self.assertEqual((file_version, product_version), (parts, parts))
                self.assertEqual((strings["ProductName"], strings["FileVersion"], strings["ProductVersion"],
                                  strings["OriginalFilename"], strings["CompanyName"]),
                                 ("Tessel", version, version, program, "The Tessel authors"))
                self.assertIn(copyright_line, strings["LegalCopyright"])
                descriptions.add(strings["FileDescription"])
                if program.endswith(".dll"):
                    # A process takes its manifest from its program, not a DLL.
                    self.assertNotIn((self.RT_MANIFEST, 1), resources)
                    continue
                self.assertIn((self.RT_MANIFEST, 1), resources, "no manifest")
                # A manifest Windows cannot parse stops the program from starting.
                manifest = ElementTree.fromstring(resources[(self.RT_MANIFEST, 1)])
                levels = [e.get("level") for e in manifest.iter("{urn:schemas-microsoft-com:asm.v3}"
                                                                "requestedExecutionLevel")]
                self.assertEqual(levels, ["asInvoker"])
                systems = {e.get("Id") for e in manifest.iter("{urn:schemas-microsoft-com:"
                                                              "compatibility.v1}supportedOS")}
                self.assertEqual(systems, self.SUPPORTED_OS)
        self.assertEqual(len(descriptions), len(programs), "each program needs its own description")


class Batch(WineCase):
    def test_a_batch_from_standard_input_runs_each_line_as_tessel_exe_would(self):
        series = b"0123456789" * 8
        # Standard input is read as bytes: no CR LF translation, and a Ctrl-Z
        # is data, not the end of the input.
        lines = (b"-o a.png data\x1aafter\n-t bmp -o b.bmp BMP\\x21\r\n\r\n"
                 b"-o missing\\c.png X\n-s -v 1 -o s.png " + series + b"\n-o d.png last")
        code, _ = self.run_windows("tessel-batch.exe", b"-", stdin_data=lines)
        self.assertEqual(self.stdout, [b"1\t0", b"2\t0", b"4\t1101", b"5\t0", b"6\t0"])
        self.assertEqual(code, 1101)
        for argv in (["-o", "a.png", b"data\x1aafter"], ["-t", "bmp", "-o", "b.bmp", "BMP\\x21"],
                     ["-s", "-v", "1", "-o", "s.png", series], ["-o", "d.png", "last"]):
            self.assertEqual(self.run_posix(*argv), 0)
        for name in ("a.png", "b.bmp", "s-01.png", "s-02.png", "d.png"):
            self.assertSameImage(name)
        log = read_bytes(self.win_file("Tessel.log")).split(b"\r\n")
        self.assertRegex(log[0], STAMP + rb"Error al crear archivo \[missing\\c\.png\]$")
        self.assertEqual(log[1], b" " * 16 + helper("--message", "3"))
        self.assertEqual(log[2:], [b""])


    def test_batch_files_in_utf8_and_ansi_keep_names_and_data_as_written(self):
        cases = [
            # file, (name, data) written, results
            (b"\xef\xbb\xbf-o \"u1-a\xc3\xb1o \xc3\xb1.png\" caf\xc3\xa9\n",
             [("u1-a\u00f1o \u00f1.png", b"caf\xc3\xa9")], [b"1\t0"]),
            (b"-o u2.png plain\r\n-o \"u2-a\xc3\xb1o.png\" caf\xc3\xa9\r\n-o \"\xce\xa9.png\" x\r\n-o \"b\xe9.png\" y\n",
             [("u2.png", b"plain"), ("u2-a\u00f1o.png", b"caf\xc3\xa9")], [b"1\t0", b"2\t0", b"3\t1105", b"4\t1105"]),
            (b"-o \"a-a\xf1o.png\" caf\xe9\n-o \"a-\xc3\xb1.png\" x\n",
             [("a-a\u00f1o.png", b"caf\xe9"), ("a-\u00c3\u00b1.png", b"x")], [b"1\t0", b"2\t0"]),
        ]
        for n, (text, written, results) in enumerate(cases):
            with self.subTest(n=n):
                with open(self.win_file("lines.txt"), "wb") as f:
                    f.write(text)
                self.run_windows("tessel-batch.exe", b"lines.txt")
                self.assertEqual(self.stdout, results)
                for name, data in written:
                    self.assertEqual(self.run_posix("-o", name, data), 0)
                    self.assertSameImage(name)
        # A name outside the code page is refused, not written as another name.
        self.assertEqual(sorted(n for n in os.listdir(self.folder) if n.endswith(".png")),
                         sorted(name for _, written, _ in cases for name, _ in written))
        self.assertRegex(read_bytes(self.win_file("Tessel.log")),
                         b"^(" + STAMP + b"Car\xe1cter no representable en el nombre de archivo\r\n){2}$")
        # With -u, ANSI lines become UTF-8 and UTF-8 lines stay as they are.
        for text, results in ((b"-u -o t1.png caf\xe9\\s\x80\n-u -o t4.png \xe9\n-u -o t5.png \"\"\n",
                               [b"1\t0", b"2\t0", b"3\t1104"]),
                              (b"-u -o t2.png \xce\xa9\n-u -o t3.png caf\xe9\n", [b"1\t0", b"2\t1105"])):
            with open(self.win_file("text.txt"), "wb") as f:
                f.write(text)
            self.run_windows("tessel-batch.exe", b"text.txt")
            self.assertEqual(self.stdout, results)
        for name, data in (("t1.png", "caf\u00e9\\s\u20ac"), ("t2.png", "\u03a9"), ("t4.png", "\u00e9")):
            self.assertEqual(self.run_posix("-u", "-o", name, data), 0)
            self.assertSameImage(name)


    def test_lines_typed_at_the_console_arrive_as_the_command_line_would(self):
        # Wine gives a program started on a terminal a console that reads it.
        master, slave = pty.openpty()
        proc = subprocess.Popen(["wine", os.path.join(WIN_BUILD, "tessel-batch.exe")], cwd=self.folder,
                                env=wine_env(), stdin=slave, stdout=slave, stderr=slave)
        os.close(slave)
        # Wine's console drops what was typed before it put the terminal in raw mode.
        deadline = time.monotonic() + 20
        while termios.tcgetattr(master)[3] & termios.ICANON and time.monotonic() < deadline:
            time.sleep(0.05)
        os.write(master, '-o t2.png "caf\u00e9 a\u00f1o"\r-u -o t4.png \u03a9mega\r-o t3.png \u03a9mega\r'.encode())
        refusal = b"Car\xe1cter no representable en la l\xednea de comandos\r\n"
        while not read_bytes(self.win_file("Tessel.log")).endswith(refusal) and time.monotonic() < deadline:
            if select.select([master], [], [], 0.1)[0]:
                os.read(master, 4096)
        os.close(master)  # the end of the input
        self.assertEqual(proc.wait(timeout=60), 1105 % 256)
        self.assertEqual(self.run_posix("-o", "t2.png", b"caf\xe9 a\xf1o"), 0)
        self.assertEqual(self.run_posix("-u", "-o", "t4.png", "\u03a9mega"), 0)
        self.assertSameImage("t2.png")
        self.assertSameImage("t4.png")
        self.assertEqual(sorted(os.listdir(self.folder)), ["Tessel.log", "t2.png", "t4.png"])


def hex_or_null(data):
    """A dll_host.exe argument: the bytes in hexadecimal, "-" for None."""
    return "-" if data is None else (data.hex() or "=")


def escaped(data):
    """The bytes as tessel's \\xHH escapes, which carry any byte but NUL."""
    return b"".join(b"\\x%02x" % byte for byte in data)


class Library(WineCase):
    """tessel.dll called by a program of its own, as a host embeds it: loaded
    with LoadLibrary, the names found by GetProcAddress, called through
    pointers of tessel.h's convention; every result the same as tessel.exe's."""

    def setUp(self):
        super().setUp()
        self.dll = os.path.join(WIN_BUILD, "tessel.dll")
        self.host_folder = os.path.join(self.root, "host")
        os.mkdir(self.host_folder)

    def host(self, *args):
        temp_before = sorted(os.listdir(self.temp_folder))
        proc = wine(os.path.join(WIN_BUILD, "dll_host.exe"), windows_path(self.dll), *args,
                    cwd=self.host_folder)
        self.assertEqual(sorted(os.listdir(self.temp_folder)), temp_before,
                         "the Windows temporary folder changed")
        return proc.returncode, proc.stdout.decode().splitlines()

    def host_calls(self, calls):
        """Makes the calls (dll_host.exe's words) in one host process; its
        output lines."""
        code, out = self.host(*" ".join(calls).split())
        self.assertEqual(code, 0, out)
        return out

    def assertSameRuns(self):
        """The same files, byte for byte, and the same log lines but their
        time, in the folders of tessel.exe and of the host."""
        names = sorted(os.listdir(self.folder))
        self.assertEqual(sorted(os.listdir(self.host_folder)), names)
        for name in names:
            exe, dll = read_bytes(self.win_file(name)), read_bytes(os.path.join(self.host_folder, name))
            if name == "Tessel.log":
                exe, dll = (re.sub(STAMP, b"", log) for log in (exe, dll))
            self.assertTrue(exe == dll, f"{name} differs")

    def test_calls_match_tessel_exe_and_survive_a_reload(self):
        series = b"0123456789" * 8
        lines = [
            b"-o a.png Tessel\\x21",
            b"-l h -z 2 -t bmp -o b.bmp BMP\\sdata",
            b"-s -v 1 -l m -o s.png " + series,
            b"-o missing\\c.png X",                     # 1101, with the system's reason
            b"-q -o d.png data",                         # 1105
            b"-h",
        ]
        codes = [self.run_windows("tessel.exe", line)[0] for line in lines]
        codes.append(self.run_windows("tessel.exe", b"")[0])
        self.assertEqual(codes, [0, 0, 0, 1101, 1105, 0, 1105])
        calls = ["version"] + [f"run {hex_or_null(line)}" for line in lines[:3]] + ["reload"] + \
            [f"run {hex_or_null(line)}" for line in lines[3:]] + ["run -", "reload", "version"]
        out = self.host_calls(calls)
        version = read_bytes(self.win_file("Tessel.log")).split(b"\r\n")
        version = next(v for v in version if v.startswith(b"Tessel v"))[len(b"Tessel v"):].decode()
        self.assertEqual(out, [version] + [str(c) for c in codes[:3]] + ["reloaded"] +
                         [str(c) for c in codes[3:]] + ["reloaded", version])
        self.assertSameRuns()

    def test_encode_matches_tessel_exe_on_the_same_bytes_as_escapes(self):
        cases = [
            (b"-l M -z 2", b"enc one.png", b'-"quoted" \'single\' back\\slash\r\n\xc3\xa9\xe2\x82\xac'),
            (b"-t bmp -8", b"enc.bmp", bytes(range(1, 256))),
            (None, b"empty.png", b""),                   # refused by libqrencode: 1104
        ]
        codes = []
        for switches, name, data in cases:
            line = (switches or b"") + b' -o "' + name + b'" "' + escaped(data) + b'"'
            codes.append(self.run_windows("tessel.exe", line)[0])
        self.assertEqual(codes, [0, 0, 1104])
        out = self.host_calls(f"encode {hex_or_null(s)} {hex_or_null(n)} {hex_or_null(d)}"
                              for s, n, d in cases)
        self.assertEqual(out, [str(c) for c in codes])
        self.assertSameRuns()

    def test_threads_take_turns(self):
        # Every call fails and so writes a log line: a lock taken late or let
        # go before the log is closed loses or breaks lines, or results.
        self.assertEqual(self.host_calls(["threads 250 " + b"-o t.png".hex() + " 1105"]), ["0 0"])
        log = re.sub(STAMP, b"", read_bytes(os.path.join(self.host_folder, "Tessel.log")))
        self.assertTrue(log == b"Dato a codificar no ha sido especificado\r\n" * 2000, "lines lost or broken")

    def test_images_and_modules_in_memory_are_what_tessel_exe_writes(self):
        cases = [(b"-l M -z 2", b"mem.png", "Memoria €".encode()), (b"-t bmp -8", b"mem.bmp", bytes(range(1, 256))),
                 (b"-t svg -w 46", b"mem.svg", b"SVG"), (b"-t emf -l M -d 300 -w 35", b"mem.emf", b"EMF")]
        for switches, name, data in cases:
            line = switches + b" -o " + name + b' "' + escaped(data) + b'"'
            self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
        out = self.host_calls([f"image {s.hex()} {d.hex()} {n.decode()}" for s, n, d in cases] +
                              [f"modules {cases[0][0].hex()} {cases[0][2].hex()}"])
        self.assertEqual(out[:-1], [f"0 {os.path.getsize(self.win_file(n.decode()))}" for _, n, _ in cases])
        code, side, modules = out[-1].split()
        rows = pixels(self.win_file("mem.png"))[1][8::2]  # -z 2, quiet zone 4
        self.assertEqual((code, [modules[j * int(side):][:int(side)] for j in range(int(side))]),
                         ("0", ["".join("01"[1 - p] for p in r[8::2][:int(side)]) for r in rows[:int(side)]]))
        self.assertSameRuns()

    def test_a_program_linked_with_the_import_library(self):
        line = b"-l q -o linked.png Linked\\x21"
        self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
        proc = wine(os.path.join(WIN_BUILD, "linked_host.exe"), line.decode(), cwd=self.host_folder)
        self.assertEqual(proc.stdout.decode().splitlines()[1:], ["0"], proc.stderr)
        self.assertSameRuns()
        # library.md's memory.c, its output in a file: text mode puts a CR before every LF byte.
        self.assertEqual(self.run_windows("tessel.exe", b"-l M -o i.png https://example.com/invoice/4711")[0], 0)
        proc = wine(os.path.join(WIN_BUILD, "memory_example.exe"), cwd=self.host_folder)
        self.assertTrue(proc.stdout == read_bytes(self.win_file("i.png")), f"{len(proc.stdout)} bytes")

    def test_a_program_built_by_microsofts_tools_links_tessel_lib(self):
        # msvc_host.exe's own calls, made here by tessel.exe.
        for line in (b"-l q -o run.png Run\\x21",
                     b'-z 2 -o encode.png "' + escaped(b'Encode "this"') + b'"'):
            self.assertEqual(self.run_windows("tessel.exe", line)[0], 0)
        proc = wine(os.path.join(WIN_BUILD, "msvc_host.exe"), cwd=self.host_folder)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.assertSameRuns()

    def test_a_thousand_unloads_leave_memory_and_handles_as_they_were(self):
        # Each cycle frees the DLL, loads it again and writes one symbol.
        memory, handles = map(int, self.host_calls(["cycles 1000"])[0].split())
        self.assertLessEqual(memory, 256 * 1024)
        self.assertEqual(handles, 0)

    def test_a_pointer_of_the_wrong_convention_is_caught(self):
        # The host's own check of its stack: a pointer of the other
        # convention leaves the stack moved by the argument's 4 bytes on
        # 32-bit Windows, which has two conventions; 64-bit has one.
        data = read_bytes(self.dll)
        machine = struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 4)[0]
        code, out = self.host("wrong-convention")
        if machine == 0x14C:
            self.assertEqual((code, out), (2, ["stack moved by 4 in tessel_run through a __cdecl pointer"]))
        else:
            self.assertEqual((code, out), (0, ["stack unmoved"]))


def main():
    global WIN_BUILD, POSIX_TESSEL
    if len(sys.argv) < 3 or "WINEPREFIX" not in os.environ:
        sys.exit(__doc__)
    WIN_BUILD, POSIX_TESSEL = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], *failfast_flag(), *sys.argv[3:]])


if __name__ == "__main__":
    main()
