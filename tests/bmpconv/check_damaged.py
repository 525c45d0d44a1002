#!/usr/bin/python3
"""Runs png2bmp on every file listed in damaged/expected.txt. A damaged file
must end the run with exit status 1 (not a signal), its last line on
standard error must be the expected message with the path, on a blanked
status line, and no BMP may be left behind. A hostile but readable file must
convert into a well-formed BMP.

Usage: check_damaged.py PNG2BMP DAMAGED_DIR
"""
import os
import struct
import subprocess
import sys
import tempfile

BLANKED = b"\r" + b" " * 79 + b"\r"


def check_failure(run, source, target, message):
    if run.returncode != 1:
        return "exit %d, expected 1" % run.returncode
    want = BLANKED + ("%s - %s\n" % (message, source)).encode()
    if not run.stderr.endswith(want):
        return "standard error ends %r, expected %r" % (run.stderr[-200:], want)
    if os.path.exists(target):
        return "a BMP was written"
    return None


def check_success(run, target):
    if run.returncode != 0:
        return "exit %d: %r" % (run.returncode, run.stderr)
    with open(target, "rb") as f:
        data = f.read()
    if data[:2] != b"BM" or len(data) < 54:
        return "not a BMP"
    size, offset = struct.unpack_from("<I", data, 2)[0], struct.unpack_from("<I", data, 10)[0]
    width, height, _, bit_count, _, image_bytes = struct.unpack_from("<iiHHII", data, 18)
    stride = (width * bit_count + 31) // 32 * 4
    palette_count = 1 << bit_count if bit_count <= 8 else 0
    if size != len(data) or offset != 54 + 4 * palette_count or image_bytes != stride * height:
        return "inconsistent header: size %d of %d, offset %d, image size %d" % (
            size, len(data), offset, image_bytes)
    return None


def main():
    png2bmp, folder = sys.argv[1], sys.argv[2]
    with open(os.path.join(folder, "expected.txt"), encoding="ascii") as f:
        cases = [line.rstrip("\n").split("\t") for line in f if line.strip() and not line.startswith("#")]
    listed = {name for name, _, _ in cases}
    failures = ["%s: not listed in expected.txt" % n
                for n in sorted(os.listdir(folder)) if n.endswith(".png") and n not in listed]

    with tempfile.TemporaryDirectory() as work:
        for name, status, message in cases:
            source = os.path.join(folder, name)
            target = os.path.join(work, name + ".bmp")
            run = subprocess.run([png2bmp, source, target], capture_output=True, timeout=60)
            if status == "0":
                problem = check_success(run, target)
            else:
                problem = check_failure(run, source, target, message)
            if problem is not None:
                failures.append("%s: %s" % (name, problem))
        # A readable file whose BMP cannot be created fails the same way.
        good = next(os.path.join(folder, n) for n, s, _ in cases if s == "0")
        run = subprocess.run([png2bmp, good, os.path.join(work, "no", "x.bmp")], capture_output=True, timeout=60)
        if run.returncode != 1:
            failures.append("a BMP that cannot be created: exit %d, expected 1" % run.returncode)

    for failure in failures:
        print(failure)
    print("%d damaged files, %d failures" % (len(cases), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
