"""tessel and png2bmp when the world fails them: full disks, a run log or an
output folder that cannot be written, an unusable temporary folder, and an
input file that asks for far more memory than it holds."""

import os
import subprocess
import sys

import stress_support
from stress_support import main
from harness import POSIX_STATUS, TesselCase, read_bytes, read_png
from test_bmp import bmp_pixels

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "..", "fuzz", "corpus", "fuzz_png_reader")
SERIES = "0123456789" * 12  # six symbols at version 1, level Q


def have_dev_full():
    return os.path.exists("/dev/full")


class FullDisk(TesselCase):
    def setUp(self):
        super().setUp()
        if not have_dev_full():
            self.skipTest("no /dev/full")

    def test_a_full_run_log_changes_no_exit_code(self):
        os.symlink("/dev/full", os.path.join(self.folder, "Tessel.log"))
        self.assertEqual(self.run_tessel("-o", "a.png").status, POSIX_STATUS[1105])
        self.assertEqual(self.run_tessel("-o", "missing/a.png", "X").status, POSIX_STATUS[1101])
        self.assertEqual(self.run_tessel("-h").status, 0)
        run = self.run_tessel("-t", "bmp", "-o", "a.bmp", "X")
        self.assertEqual(run.status, 0)
        self.assertTrue(os.path.isfile(run.path("a.bmp")))


class Unwritable(TesselCase):
    """Output under a regular file: no folder can be made there, for root too."""

    def setUp(self):
        super().setUp()
        with open(os.path.join(self.folder, "afile"), "wb"):
            pass

    def test_a_symbol_and_every_member_of_a_series_fail_with_the_reason(self):
        run = self.run_tessel("-o", "afile/x.png", "X")
        self.assertFailure(run, 1101, b"Error al crear archivo [afile/x.png]",
                           b"                Not a directory")
        run = self.run_tessel("-s", "-v", "1", "-o", "afile/x.png", SERIES)
        expected = []
        for n in range(1, 7):
            expected += [b"Error al crear archivo [afile/x-%02d.png]" % n,
                         b"                Not a directory"]
        self.assertFailure(run, 1101, *expected)

    def test_without_a_run_log_every_failure_keeps_its_code(self):
        os.mkdir(os.path.join(self.folder, "Tessel.log"))
        for args, code in [(["-o", "afile/x.png", "X"], 1101),
                           (["-v", "41", "-o", "a.png", "X"], 1104),
                           (["-z", "0", "-o", "a.png", "X"], 1105),
                           (["-t", "bmp", "-o", "afile/x.bmp", "X"], 1106)]:
            with self.subTest(args=args):
                self.assertEqual(self.run_tessel(*args).status, POSIX_STATUS[code])

    def test_an_unusable_temporary_folder_falls_back_to_the_working_folder(self):
        # The fallback name is made in the working folder; the harness checks
        # that no .tmp file is left there.
        run = self.run_tessel("-t", "bmp", "-o", "a.bmp", "fallback",
                              env={"TMPDIR": os.path.join(self.folder, "afile")})
        self.assertEqual((run.status, run.log), (0, b""))
        self.run_tessel("-o", "a.png", "fallback")
        _, _, rows, _ = read_png(run.path("a.png"))
        self.assertEqual(bmp_pixels(read_bytes(run.path("a.bmp"))), rows)


class HostileFiles(TesselCase):
    def convert(self, name):
        """Runs png2bmp on a file of the fuzz corpus; (status, stderr, peak KiB)."""
        proc = subprocess.Popen([stress_support.PNG2BMP, os.path.join(CORPUS, name),
                                 os.path.join(self.folder, "out.bmp")],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        stderr = proc.stderr.read()
        proc.stderr.close()
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
        return proc.returncode, stderr, usage.ru_maxrss

    def test_a_chunk_that_claims_gigabytes_takes_no_memory(self):
        # A 149-byte file whose tEXt chunk claims 1.7 GB: libpng's length limit
        # only warns, and it used to take and zero that much before failing.
        status, stderr, peak_kib = self.convert("regress_text_chunk_claims_1_7_gib.png")
        self.assertEqual(status, 1)
        self.assertTrue(stderr.endswith(b"ERROR(libpng): Read Error - " +
                                        os.path.join(CORPUS, "regress_text_chunk_claims_1_7_gib.png")
                                        .encode() + b"\n"), stderr)
        self.assertLess(peak_kib, 256 * 1024)


if __name__ == "__main__":
    main(sys.argv)
