"""Many tessel processes at once: appending to one run log, and sharing one
temporary folder for their BMP conversions."""

import concurrent.futures
import os
import re
import subprocess
import sys

from stress_support import main
from harness import STAMP, TesselCase, read_bytes, read_png
from test_bmp import bmp_pixels

LEVEL_MESSAGE = b"Nivel Inv\xe1lido: %s. Valores posibles: L, M, Q, H"


class Crowd(TesselCase):
    def start_all(self, argument_lists, workers):
        """Runs tessel once per argument list, `workers` processes at a time,
        in the test folder with the shared TMPDIR. Returns the results."""
        env = dict(os.environ, TMPDIR=self.tmpdir)

        def one(args):
            return subprocess.run([self.tessel, *args], cwd=self.folder, env=env,
                                  capture_output=True, timeout=300)

        with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
            return list(pool.map(one, argument_lists))

    def test_eight_processes_appending_to_one_log_lose_and_mix_no_line(self):
        # Each run logs one failure line of its own, long enough (over 200
        # bytes) that a line written in pieces would show torn or interleaved.
        values = [b"x%02d" % i + b"=" * 200 for i in range(64)]
        runs = self.start_all([["-l", v.decode(), "-o", "a.png", "X"] for v in values], workers=8)
        self.assertEqual([r.returncode for r in runs], [1105 % 256] * 64)

        log = read_bytes(os.path.join(self.folder, "Tessel.log"))
        self.assertTrue(log.endswith(b"\n"))
        lines = log.split(b"\n")[:-1]
        self.assertEqual(len(lines), 64)
        messages = []
        for line in lines:
            m = re.fullmatch(STAMP + rb"(.*)", line)
            self.assertIsNotNone(m, line)
            messages.append(m.group(1))
        self.assertEqual(sorted(messages), sorted(LEVEL_MESSAGE % v for v in values))

    def test_parallel_bmp_runs_sharing_a_temporary_folder_keep_their_own_data(self):
        # The symbol goes through a temporary PNG in the shared folder: a name
        # that two runs shared would give one of them the other's symbol.
        count = 32
        runs = self.start_all([["-t", "bmp", "-o", "s%02d.bmp" % i, "DATA-%02d" % i]
                               for i in range(count)], workers=count)
        for i, run in enumerate(runs):
            self.assertEqual(run.returncode, 0, (i, run.stderr))
        self.assertEqual(read_bytes(os.path.join(self.folder, "Tessel.log")), b"")
        self.assertEqual(os.listdir(self.tmpdir), [], "a temporary file was left behind")
        self.assertEqual([n for n in os.listdir(self.folder) if n.endswith(".tmp")], [])

        # Each BMP holds exactly the pixels of the PNG made alone from its data.
        for i in range(count):
            with self.subTest(i=i):
                self.assertEqual(self.run_tessel("-o", "s.png", "DATA-%02d" % i).status, 0)
                _, _, png_rows, _ = read_png(os.path.join(self.folder, "s.png"))
                bmp = read_bytes(os.path.join(self.folder, "s%02d.bmp" % i))
                self.assertEqual(bmp_pixels(bmp), png_rows)


if __name__ == "__main__":
    main(sys.argv)
