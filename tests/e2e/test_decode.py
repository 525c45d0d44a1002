"""Every version and level, read back by an independent decoder (zbarimg);
text in UTF-8 and its ECI designator, read back by three common readers."""

import glob
import os
import sys

from harness import TesselCase, main, read_bytes, read_png, zbar, zbar_series
from readers import READERS, decode_all

LEVELS = "LMQH"
# A data token must not start with '-' (it would be a switch): '-' is never first.
ALNUM = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"
# A few Shift-JIS Kanji (two bytes each, first byte 0x81-0x9F or 0xE0-0xEF).
KANJI = [bytes([0x93, 0xFA]), bytes([0x96, 0x7B]), bytes([0x8C, 0xEA]), bytes([0x8A, 0xBF]),
         bytes([0x8E, 0x9A]), bytes([0xE9, 0x40])]


def sample(mode, version):
    """(switches, command-line bytes, expected decoded bytes) for one symbol.
    Lengths grow with the version but stay within a 259-character token."""
    if mode == "numeric":
        text = "".join(str((version * 7 + i) % 10) for i in range(min(10 * version, 250))).encode()
        return [], text, text
    if mode == "alnum":
        text = "".join(ALNUM[(version + i * 5) % len(ALNUM)]
                       for i in range(min(6 * version, 250))).encode()
        text = b"Z" + text[1:]
        return [], text, text
    if mode == "8bit":
        # Printable bytes as they are, one high byte and a line break through escapes.
        body = bytes(0x61 + (version + i) % 26 for i in range(min(7 * version, 200)))
        return ["-8"], body + b"\\xe9\\n", body + b"\xe9\n"
    text = b"".join(KANJI[(version + i) % len(KANJI)] for i in range(min(4 * version, 120)))
    return ["-k"], text, text


def full(mode, n):
    """(switches, command-line bytes, expected decoded bytes) of n characters
    (bytes, Kanji) of one mode; 8-bit data is written as \\xHH escapes."""
    if mode == "numeric":
        text = "".join(str(i % 10) for i in range(n)).encode()
        return [], text, text
    if mode == "alnum":
        text = ("Z" + "".join(ALNUM[i % len(ALNUM)] for i in range(1, n))).encode()
        return [], text, text
    if mode == "8bit":
        # Every byte but 0, which would end the data.
        data = bytes(1 + i % 255 for i in range(n))
        return ["-8"], b"".join(b"\\x%02x" % b for b in data), data
    text = b"".join(KANJI[i % len(KANJI)] for i in range(n))
    return ["-k"], text, text


OK = None  # the reader shows the text as it was typed
# What zbar, zxing-cpp and ZXing for Java show of each text in each form, as
# measured: the Windows-1252 bytes that tessel.exe makes without -u (None:
# the text has no such bytes), -u, -u -e 26, and -u -e none.
FORMS = ([], ["-u"], ["-u", "-e", "26"], ["-u", "-e", "none"])
TEXTS = [
    ("Pe\u00f1a", ("Pe\u9399", OK, OK), (OK,) * 3, (OK,) * 3, ("Pe\u7c3da", OK, OK)),
    ("Z\u00fcrich", (OK,) * 3, (OK,) * 3, (OK,) * 3, ("Z\u7fb9rich", OK, OK)),
    ("\u20ac 12,50", ("\x80 12,50", "\x80 12,50", "\ufffd 12,50"), (OK,) * 3, (OK,) * 3,
     ("\u7ac4\uff6c 12,50", OK, OK)),
    ("\u2018comillas\u2019", ("\x91comillas\x92", "\x91comillas\x92", "\ufffdcomillas\ufffd"),
     (OK,) * 3, (OK,) * 3, (OK,) * 3),
    ("\u03a9mega", None, (OK,) * 3, (OK,) * 3, ("\u5ccfmega", OK, OK)),
    ("\u738b\u5c0f\u660e", None, (OK,) * 3, (OK,) * 3, (OK,) * 3),
    ("VeriFactu 12.50", (OK,) * 3, (OK,) * 3, (OK,) * 3, (OK,) * 3),
]


class Text(TesselCase):
    def test_three_readers_show_each_form_of_the_texts_as_measured(self):
        names, expected = [], []
        for i, (text, *shown) in enumerate(TEXTS):
            for f, (switches, wanted) in enumerate(zip(FORMS, shown)):
                if wanted is None:
                    continue
                name = f"t{i}-{f}.png"
                data = text.encode("cp1252" if f == 0 else "utf-8")
                self.assertEqual(self.run_tessel(*switches, "-o", name, data).status, 0)
                names.append(self.folder + "/" + name)
                expected.append(tuple(text if w is OK else w for w in wanted))
        read = decode_all(names)
        for j, name in enumerate(names):
            self.assertEqual(tuple(read[r][j] for r in READERS), expected[j], name)

    def test_ascii_keeps_its_symbol_and_escapes_their_bytes(self):
        for args in (["-u"], ["-u", "-e", "none"]):
            self.assertEqual(self.run_tessel(*args, "-o", "u.png", "VeriFactu 12.50").status, 0)
            self.assertEqual(self.run_tessel("-o", "a.png", "VeriFactu 12.50").status, 0)
            self.assertEqual(read_bytes(self.folder + "/u.png"), read_bytes(self.folder + "/a.png"))
        run = self.run_tessel("-u", "-o", "e.png", "Pe\\xC3\\xB1a\\x1d\u00f1")
        self.assertEqual((run.status, zbar(run.path("e.png"))), (0, "Pe\u00f1a\x1d\u00f1".encode()))
        # Version 40-L holds 2953 bytes, 2952 after designator 26 (12 bits),
        # and UTF-8 takes two bytes for a letter that the code page has in one.
        for extra, status in (("", 0), ("a", 1104 % 256)):
            run = self.run_tessel("-u", "-l", "L", "-o", "f.png", "\u00f1" * 1476 + extra)
            self.assertEqual(run.status, status, run.log)
        self.assertEqual(read_png(run.path("f.png"))[0], (177 + 8) * 3, "version 40")

    def test_a_series_of_text_goes_without_a_designator(self):
        text = "Pe\u00f1a Z\u00fcrich \u20ac 5 " * 4
        run = self.run_tessel("-u", "-e", "none", "-s", "-v", "2", "-o", "s.png", text)
        self.assertEqual(run.status, 0, run.log)
        parts = sorted(glob.glob(os.path.join(self.folder, "s-*.png")))
        self.assertEqual(zbar_series(parts, self.root), text.encode())


class RoundTrip(TesselCase):
    def test_every_version_and_level_decodes_to_its_data(self):
        modes = ["numeric", "alnum", "8bit", "kanji"]
        for version in range(1, 41):
            for index, level in enumerate(LEVELS):
                mode = modes[(version + index) % 4]
                switches, argument, expected = sample(mode, version)
                with self.subTest(version=version, level=level, mode=mode):
                    name = f"v{version}{level}.png"
                    run = self.run_tessel(*switches, "-v", str(version), "-l", level,
                                          "-o", name, argument)
                    self.assertEqual(run.status, 0, run.log)
                    self.assertEqual(os.path.getsize(run.path(name)) > 0, True)
                    self.assertEqual(zbar(run.path(name)), expected)
                    os.remove(run.path(name))

    def test_version_40_level_l_holds_its_capacity_and_not_one_more(self):
        # The capacities of the QR Code standard's table for version 40-L.
        for mode, capacity in [("numeric", 7089), ("alnum", 4296), ("8bit", 2953),
                               ("kanji", 1817)]:
            with self.subTest(mode=mode):
                switches, argument, expected = full(mode, capacity)
                run = self.run_tessel(*switches, "-l", "L", "-o", "full.png", argument)
                self.assertEqual(run.status, 0, run.log)
                self.assertEqual(read_png(run.path("full.png"))[0], (177 + 8) * 3, "version 40")
                self.assertEqual(zbar(run.path("full.png")), expected)
                os.remove(run.path("full.png"))
                switches, argument, _ = full(mode, capacity + 1)
                run = self.run_tessel(*switches, "-l", "L", "-o", "more.png", argument)
                self.assertEqual((run.status, run.messages()),
                                 (1104 % 256, [b"Error al codificar dato de entrada"]))
                self.assertFalse(os.path.exists(run.path("more.png")))

    def test_series_decode_to_the_joined_data(self):
        for version, switches, data in [
                (1, [], b"0123456789" * 25),
                (2, ["-k"], b"".join(KANJI) * 20),
                (3, ["-8", "-l", "H"], bytes(0x41 + i % 58 for i in range(250)).replace(b"\\", b"/")),
        ]:
            with self.subTest(version=version):
                run = self.run_tessel("-s", *switches, "-v", str(version), "-o", "s.png", data)
                self.assertEqual(run.status, 0, run.log)
                parts = sorted(glob.glob(os.path.join(self.folder, "s-*.png")))
                self.assertGreater(len(parts), 1)
                self.assertEqual(zbar_series(parts, self.root), data)
                for p in parts:
                    os.remove(p)


if __name__ == "__main__":
    main(sys.argv)
