"""The Swiss cross over the centre of a symbol in every image type, drawn by
tessel_cross_images (the writers with the run setting swiss_cross): the PNG's
and the BMP's pixels, the SVG drawn by rsvg-convert, each read back."""

import os
import subprocess
import sys

from harness import SWISS_BILL, TesselCase, cross_misses, main, read_bytes, read_png
from readers import decode_all
from test_bmp import bmp_pixels


class SwissCross(TesselCase):
    def test_every_image_type_shows_the_cross_and_still_reads(self):
        # Version, dot size (an odd and an even side), margin, whether zbar
        # reads it: zbar 0.23 reads no version from 7 to 13 under the cross,
        # whose centre stands on their middle alignment pattern.
        cases = [(13, 3, 4, False), (10, 2, 1, False), (25, 4, 4, True)]
        files = []
        for version, dot, margin, _ in cases:
            with self.subTest(version=version):
                stem = os.path.join(self.folder, f"v{version}")
                proc = subprocess.run([self.tessel, str(version), str(dot), str(margin), SWISS_BILL, stem],
                                      capture_output=True)
                self.assertEqual(proc.returncode, 0, proc.stderr)
                n = 17 + 4 * version
                _, _, pixels, _ = read_png(stem + ".png")
                self.assertEqual(bmp_pixels(read_bytes(stem + ".bmp")), pixels)
                self.assertEqual(cross_misses([[255 * v for v in r] for r in pixels], margin * dot, n * dot, 0.5), [])
                # Drawn at 5 pixels a module, the SVG's edges miss the pixel grid.
                side = str((n + 2 * margin) * 5)
                subprocess.run(["rsvg-convert", "-w", side, "-h", side, stem + ".svg", "-o", stem + "-svg.png"],
                               check=True)
                _, _, drawn, info = read_png(stem + "-svg.png")
                grey = [r[::info["planes"]] for r in drawn]
                self.assertEqual(cross_misses(grey, margin * 5, n * 5, 1), [])
                files += [stem + ".png", stem + "-svg.png"]
        texts = decode_all(files)
        for i, (version, _, _, zbar_reads) in enumerate(c for c in cases for _ in range(2)):
            for reader in ("zxing_cpp", "zxing_java") + (("zbar",) if zbar_reads else ()):
                self.assertEqual(texts[reader][i], SWISS_BILL, (files[i], reader))


if __name__ == "__main__":
    main(sys.argv)
