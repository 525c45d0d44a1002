"""Every version and level, read back by an independent decoder (zbarimg)."""

import glob
import os
import sys

from harness import TesselCase, main, zbar, zbar_series

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
