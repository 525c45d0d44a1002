"""Text in UTF-8 and its ECI designator, read back by three common readers."""

import glob
import os
import sys

from harness import TesselCase, main, read_bytes, read_png, zbar, zbar_series
from readers import READERS, decode_all

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
        # A designator asked for is written, ASCII or not, 0 as any other.
        self.assertEqual(self.run_tessel("-e", "0", "-o", "z.png", "VeriFactu 12.50").status, 0)
        self.assertNotEqual(read_bytes(self.folder + "/z.png"), read_bytes(self.folder + "/a.png"))
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



if __name__ == "__main__":
    main(sys.argv)
