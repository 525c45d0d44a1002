"""tessel -t bmp: the BMP file, the converter's status line, the failures."""

import os
import re
import struct
import sys

from harness import TesselCase, main, read_bytes, read_png

NO_BMP = b"No se pudo grabar BMP definitivo"


def bmp_pixels(data):
    """Rows top-down of 0/1 pixels of a 1-bit BMP file."""
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width + 31) // 32 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride: offset + (y + 1) * stride]
        rows.append([(row[x // 8] >> (7 - x % 8)) & 1 for x in range(width)])
    return rows


def status(label):
    """One status label as the converter shows it: carriage return, the label
    in 22 columns, a blank."""
    return b"\r" + label.ljust(22)[:22] + b" "


class BmpOutput(TesselCase):
    def test_a_version_1_symbol_is_the_87_pixel_bmp_of_the_same_pixels(self):
        png_run = self.run_tessel("-o", "a.png", "Hello")
        run = self.run_tessel("-t", "bmp", "-o", "a.bmp", "Hello")
        self.assertEqual((run.status, run.log), (0, b""))
        data = read_bytes(run.path("a.bmp"))
        self.assertEqual(len(data), 1106)
        self.assertEqual(data[:2], b"BM")
        self.assertEqual(struct.unpack_from("<IHHI", data, 2), (1106, 0, 0, 62))
        self.assertEqual(struct.unpack_from("<IiiHHIIiiII", data, 14),
                         (40, 87, 87, 1, 1, 0, 1044, 0, 0, 0, 0))
        self.assertEqual(data[54:62], b"\x00\x00\x00\x00\xff\xff\xff\x00")
        _, _, png_rows, _ = read_png(png_run.path("a.png"))
        self.assertEqual(bmp_pixels(data), png_rows)
        # The writer fills its rows with 1s, and the bit after pixel 86 stays
        # as decoded: the last data byte of every row is 0xFF, then fill 0s.
        for y in range(87):
            self.assertEqual(data[62 + y * 12 + 10: 62 + y * 12 + 12], b"\xff\x00", y)

        # The temporary name has 13 characters, so "Reading " and it leave one
        # column of the 22 free. An 87-pixel image gets a one-column meter:
        # its dotted frame, then one 'o' after the last row.
        temp = rb"tes\w{6}\.tmp"
        self.assertRegex(run.stderr, re.compile(
            rb"^\rReading " + temp + rb"  \.\rReading " + temp + rb"  o\rRead OK " + temp +
            b"  " + re.escape(status(b"Writing a.bmp") + status(b"OK      a.bmp")) + b"\n$"))
        # The longest TMPDIR whose temporary name fits 260 places, and one past it.
        for length, name in ((245, temp), (246, rb"\d{14} ")):
            folder = os.path.join(self.root, "t" * (length - len(self.root) - 1))
            os.mkdir(folder)
            run = self.run_tessel("-t", "bmp", "-o", "b.bmp", "Hello", env={"TMPDIR": folder})
            self.assertRegex(run.stderr, rb"^\rReading " + name)

    def test_the_size_fields_hold_sizes_past_64_kib(self):
        run = self.run_tessel("-t", "bmp", "-z", "40", "-o", "big.bmp", "X")
        data = read_bytes(run.path("big.bmp"))
        self.assertEqual(len(data), 62 + 148 * 1160)  # 29 modules of 40 pixels
        self.assertEqual(struct.unpack_from("<I", data, 2)[0], len(data))
        self.assertEqual(struct.unpack_from("<I", data, 34)[0], len(data) - 62)

    def test_the_type_switch_ignores_case_and_the_name_is_kept(self):
        for value in ("BMP", "Bmp"):
            run = self.run_tessel("-t", value, "-o", "out.png", "X")
            self.assertEqual(run.status, 0, run.log)
            self.assertEqual(read_bytes(run.path("out.png"))[:2], b"BM")

    def test_a_bmp_series_is_numbered_after_the_output_name(self):
        data = "0123456789" * 12
        for name, pattern in [("out.bmp", "out-%02d.bmp"), ("OUT.BMP", "OUT-%02d.BMP"),
                              ("out", "out-%02d")]:
            run = self.run_tessel("-s", "-t", "bmp", "-v", "1", "-o", name, data)
            self.assertEqual((run.status, run.log), (0, b""))
            for n in range(1, 7):
                self.assertEqual(read_bytes(run.path(pattern % n))[:2], b"BM", pattern % n)
            self.assertFalse(os.path.exists(run.path(pattern % 7)))

    def test_failures_end_with_1106_or_the_encoder_code(self):
        run = self.run_tessel("-t", "bmp", "-o", "missing/a.bmp", "X")
        self.assertFailure(run, 1106, NO_BMP, b" " * 16 + b"No such file or directory")
        self.assertIn(b"SKIPPED: Cannot create - missing/a.bmp\n", run.stderr)

        run = self.run_tessel("-t", "bmp", "-v", "41", "-o", "a.bmp", "X")
        self.assertFailure(run, 1104, b"Error al codificar dato de entrada")
        self.assertEqual(run.stderr, b"", "nothing converted")
        run = self.run_tessel("-s", "-t", "bmp", "-z", "9999999999", "-v", "1", "-o", "a.bmp",
                              "1" * 30)
        self.assertEqual((run.status, run.stderr), (1103 % 256, b""),
                         "every member too big, none converted")
        # 195,721 pixels a side, 4.8 GB in the converter: refused before it is drawn.
        run = self.run_tessel("-t", "bmp", "-d", "3600", "-w", "1000", "-o", "big.bmp", "HELLO")
        self.assertFailure(run, 1106, b"Imagen demasiado grande para BMP: 195721 p\xedxeles de lado, "
                           b"m\xe1ximo 131071 (el conversor la tiene entera en memoria)")
        self.assertEqual((run.stderr, os.listdir(self.folder)), (b"", ["Tessel.log"]))

        if os.path.exists("/dev/full"):
            run = self.run_tessel("-t", "bmp", "-o", "/dev/full", "X")
            self.assertFailure(run, 1106, NO_BMP, b" " * 16 + b"SKIPPED: Write operation failed")
            self.assertIn(b"SKIPPED: Write operation failed - /dev/full\n", run.stderr)


if __name__ == "__main__":
    main(sys.argv)
