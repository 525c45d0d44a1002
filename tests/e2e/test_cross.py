"""The Swiss cross of -p swiss: the PNG's and BMP's pixels, the SVG through rsvg-convert, each read."""

import os
import subprocess
import sys

from harness import TesselCase, cross_misses, main, read_bytes, read_png
from readers import decode_all
from test_bmp import bmp_pixels
from test_payloads import VECTORS, data_token

# The first Swiss QR-bill of the payload table in ASCII alone (zbar misreads UTF-8 without ECI 26).
FIELDS, BILL = next((data_token(fields), text.decode()) for kind, fields, text in VECTORS
                    if kind == "swiss" and text.isascii())


class SwissCross(TesselCase):
    def test_every_image_type_shows_the_cross_and_still_reads(self):
        # Version, pixels a module (odd and even sides), margin. zbar 0.23 reads no version 7
        # to 13 under the cross, which hides their middle alignment pattern; ZXing reads all.
        files = []
        for version, dot, margin in [(13, 3, 4), (10, 2, 1), (25, 4, 4)]:
            stem, n = f"v{version}", 17 + 4 * version
            for kind in ("png", "bmp", "svg"):
                run = self.run_tessel("-p", "swiss", "-v", str(version), "-z", str(dot), "-m", str(margin),
                                      "-t", kind, "-o", f"{stem}.{kind}", FIELDS)
                self.assertEqual(run.status, 0, run.log)
            stem = os.path.join(self.folder, stem)
            pixels = read_png(stem + ".png")[2]
            self.assertEqual(bmp_pixels(read_bytes(stem + ".bmp")), pixels)
            self.assertEqual(cross_misses([[255 * v for v in r] for r in pixels], margin * dot, n * dot, 0.5), [])
            # At 5 pixels a module the SVG's edges miss the pixel grid.
            side = str((n + 2 * margin) * 5)
            subprocess.run(["rsvg-convert", "-w", side, "-h", side, stem + ".svg", "-o", stem + "s.png"], check=True)
            _, _, drawn, info = read_png(stem + "s.png")
            self.assertEqual(cross_misses([r[::info["planes"]] for r in drawn], margin * 5, n * 5, 1), [])
            files += [stem + ".png", stem + "s.png"]
        for reader, texts in decode_all(files).items():
            self.assertEqual(texts[4 if reader == "zbar" else 0:], [BILL] * (2 if reader == "zbar" else 6), reader)


if __name__ == "__main__":
    main(sys.argv)
