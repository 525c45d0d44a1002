"""Every version and level, read back by an independent decoder (zbarimg)."""

import glob
import os
import subprocess
import sys

import png  # Debian's python3-png
import zxingcpp  # Debian's python3-zxing-cpp

import readers
import test_bmp
from harness import TesselCase, main, read_bytes, read_png, zbar, zbar_series

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


# (-f, -b): transparent, opaque, half and nearly transparent backgrounds; light grey modules.
COLOUR_PAIRS = [("003366", "FFFFFF00"), ("#7a0000", "fff5cc"), ("000000", "FFFFFF80"), ("003366", "FFCC0040"),
                ("B4B4B4", "FFFFFF")]


class Colours(TesselCase):
    def test_colour_pairs_show_in_each_format_and_decode_over_white_unless_the_format_refuses_them(self):
        data = "Colours 0123456789"
        for dark, light in COLOUR_PAIRS:
            d, l = (bytes.fromhex(c.lstrip("#") + "FF")[:4] for c in (dark, light))
            for kind in ("png", "svg", "bmp", "emf"):
                with self.subTest(dark=dark, light=light, kind=kind):
                    run = self.run_tessel("-f", dark, "-b", light, "-t", kind, "-o", "c." + kind, data)
                    refused = l[3] != 255 and (kind == "bmp" or (kind == "emf" and l[3] != 0))
                    self.assertEqual(run.status, 1105 % 256 if refused else 0, run.log)
                    if not refused and kind != "emf":  # the Wine suite plays the metafiles
                        grey = readers.grey_pixels(self.shown_over_white(kind, run.path("c." + kind), d, l))
                        self.assertEqual(readers.decode_zbar(run.path("c.grey.png")), data)
                        # zxing-cpp's default binarizer takes 8 x 8 pixels of light grey for background.
                        found = zxingcpp.read_barcode(grey, binarizer=zxingcpp.Binarizer.GlobalHistogram
                                                      if d[0] > 0x80 else zxingcpp.Binarizer.LocalAverage)
                        self.assertEqual(found.text if found else None, data)

    def shown_over_white(self, kind, path, d, l):
        """Checks the colours the file states; a PNG of what it shows, and c.grey.png opaque."""
        if kind == "png":
            palette = read_png(path)[3]["palette"]
            self.assertEqual(palette, [tuple(d[:3 + (l[3] != 255)]), tuple(l[:3 + (l[3] != 255)])])
        elif kind == "svg":
            svg = read_bytes(path)
            fill = {b"\0\0\0": b"000", b"\xff\xff\xff": b"fff"}  # the black on white file's short forms
            self.assertIn(b'<path fill="#%s"' % fill.get(d[:3], d[:3].hex().encode()), svg)
            rect = b'<rect width="33" height="33" fill="#%s"' % fill.get(l[:3], l[:3].hex().encode())
            opacity = b"/>" if l[3] == 255 else b' fill-opacity="%g"/>' % round(l[3] / 255, 3)
            self.assertEqual(svg.count(rect + opacity), l[3] != 0)
            subprocess.run(["rsvg-convert", "-b", "white", "-o", path + ".png", path], check=True)
            path += ".png"
        else:
            bmp = read_bytes(path)
            self.assertEqual(bmp[54:62], d[2::-1] + b"\0" + l[2::-1] + b"\0", "the colour table")
            rows = test_bmp.bmp_pixels(bmp)
            with open(path + ".png", "wb") as f:
                png.Writer(len(rows), len(rows), palette=[d[:3], l[:3]], bitdepth=1).write(f, rows)
            path += ".png"
        grey = readers.grey_pixels(path)
        with open(os.path.join(os.path.dirname(path), "c.grey.png"), "wb") as f:
            png.Writer(len(grey[0]), len(grey), greyscale=True).write(f, [list(r) for r in grey])
        return path

if __name__ == "__main__":
    main(sys.argv)
