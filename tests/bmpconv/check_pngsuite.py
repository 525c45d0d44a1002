#!/usr/bin/python3
"""Converts PNG files with png2bmp and compares every BMP byte for byte with
one built here from an independent decoding of the PNG (python3-png).

Usage: check_pngsuite.py PNG2BMP PNGSUITE_DIR

Checked: every *.png of the PngSuite folder and of its interlaced/ folder,
and a set of small images written here with odd widths, every colour type
and depth, short palettes, interlaced and not. Each interlaced image is also
compared, by colour, with its non-interlaced twin. The twins named in
bad_interlace_conversions.txt were re-encoded with their palette in another
order, so their indices differ while their colours agree: that is why twins
are compared through their palettes rather than byte for byte.
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

import png

PIECE_OF_LABEL = 22


def bmp_depth(png_depth):
    """BMP has no 2-bit or 16-bit form: 2 widens to 4, 16 narrows to 8."""
    return {1: 1, 2: 4, 4: 4, 8: 8, 16: 8}[png_depth]


def pack_row(values, bits):
    """Packs pixel values most significant bits first; the unused bits of the
    last byte are zero."""
    if bits == 8:
        return bytes(values)
    per_byte = 8 // bits
    out = bytearray((len(values) + per_byte - 1) // per_byte)
    for i, v in enumerate(values):
        out[i // per_byte] |= v << (8 - bits * (i % per_byte + 1))
    return bytes(out)


def expected_bmp(path):
    """The BMP the converter must write for the PNG at path."""
    width, height, rows, info = png.Reader(filename=path).read()
    depth = info["bitdepth"]
    planes = info["planes"]
    narrow = (lambda v: v >> 8) if depth == 16 else (lambda v: v)

    if "palette" in info:
        bit_count = bmp_depth(depth)
        colours = [entry[:3] for entry in info["palette"]][: 1 << bit_count]
        pixel_rows = [pack_row(list(r), bit_count) for r in rows]
    elif info["greyscale"]:
        bit_count = bmp_depth(depth)
        grey_depth = 8 if depth == 16 else depth
        step = 255 // ((1 << grey_depth) - 1)
        colours = [(i * step,) * 3 for i in range(1 << grey_depth)]
        pixel_rows = [pack_row([narrow(v) for v in list(r)[::planes]], bit_count) for r in rows]
    else:
        bit_count = 24
        colours = []
        pixel_rows = []
        for r in rows:
            r = list(r)
            out = bytearray()
            for x in range(width):
                red, green, blue = (narrow(v) for v in r[x * planes: x * planes + 3])
                out += bytes((blue, green, red))
            pixel_rows.append(bytes(out))

    palette_count = 1 << bit_count if bit_count <= 8 else 0
    colours = colours + [(0, 0, 0)] * (palette_count - len(colours))
    stride = (width * bit_count + 31) // 32 * 4
    image_bytes = stride * height
    data_offset = 54 + 4 * palette_count

    out = bytearray()
    out += struct.pack("<2sIHHI", b"BM", data_offset + image_bytes, 0, 0, data_offset)
    # A resolution in pixels per metre is kept; BMP has no other unit.
    x_ppm, y_ppm, metre = info.get("physical", (0, 0, False))
    if not metre or max(x_ppm, y_ppm) >= 1 << 31:
        x_ppm = y_ppm = 0
    out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, image_bytes, x_ppm, y_ppm,
                       0, 0)
    for red, green, blue in colours:
        out += bytes((blue, green, red, 0))
    for row in reversed(pixel_rows):
        out += row + bytes(stride - len(row))
    return bytes(out)


def describe_difference(got, want):
    if len(got) != len(want):
        return "length %d, expected %d" % (len(got), len(want))
    at = next(i for i in range(len(got)) if got[i] != want[i])
    data_offset = struct.unpack_from("<I", want, 10)[0]
    if at < 54:
        where = "header"
    elif at < data_offset:
        where = "palette entry %d" % ((at - 54) // 4)
    else:
        stride = (struct.unpack_from("<I", want, 34)[0]) // struct.unpack_from("<i", want, 22)[0]
        where = "stored row %d (from the bottom), byte %d" % ((at - data_offset) // stride,
                                                               (at - data_offset) % stride)
    return "first difference at offset %d (%s): %02x, expected %02x" % (at, where, got[at], want[at])


def bmp_colours(data):
    """The image of a BMP written by the converter, as rows of RGB triples,
    top row first."""
    width, height = struct.unpack_from("<ii", data, 18)
    bit_count = struct.unpack_from("<H", data, 28)[0]
    data_offset = struct.unpack_from("<I", data, 10)[0]
    palette = [tuple(data[54 + 4 * i: 54 + 4 * i + 3][::-1]) for i in range((data_offset - 54) // 4)]
    stride = (width * bit_count + 31) // 32 * 4
    rows = []
    for y in range(height):
        row = data[data_offset + y * stride: data_offset + (y + 1) * stride]
        if bit_count == 24:
            pixels = [tuple(row[3 * x: 3 * x + 3][::-1]) for x in range(width)]
        else:
            per_byte = 8 // bit_count
            mask = (1 << bit_count) - 1
            pixels = [palette[(row[x // per_byte] >> (8 - bit_count * (x % per_byte + 1))) & mask]
                      for x in range(width)]
        rows.append(pixels)
    return rows[::-1]


def convert(png2bmp, source, target):
    """Runs png2bmp; returns the failure text, or None."""
    run = subprocess.run([png2bmp, source, target], capture_output=True)
    if run.returncode != 0:
        return "exit %d: %r" % (run.returncode, run.stderr)
    # The display ends on the writer's label, padded to its 22 columns.
    label = ("OK      " + os.path.basename(target))[:PIECE_OF_LABEL]
    last = run.stderr.split(b"\r")[-1]
    if last != (label.ljust(PIECE_OF_LABEL) + " \n").encode():
        return "status line ends %r" % last
    return None


def synthetic_images(folder):
    """Writes small images that the PngSuite lacks: odd widths (partly filled
    last bytes, 2-bit rows of odd length), one-row and one-column images
    (interlace passes without rows or columns), palettes shorter than their
    depth allows."""
    rng = random.Random(1)
    kinds = []
    for depth in (1, 2, 4, 8, 16):
        kinds.append(("g", depth, dict(greyscale=True, bitdepth=depth), 1, 1 << depth))
    for depth in (8, 16):
        kinds.append(("ga", depth, dict(greyscale=True, alpha=True, bitdepth=depth), 2, 1 << depth))
        kinds.append(("rgb", depth, dict(greyscale=False, bitdepth=depth), 3, 1 << depth))
        kinds.append(("rgba", depth, dict(greyscale=False, alpha=True, bitdepth=depth), 4, 1 << depth))
    for depth in (1, 2, 4, 8):
        entries = max(1, (1 << depth) - 1) if depth > 1 else 2
        palette = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(entries)]
        kinds.append(("p", depth, dict(palette=palette, bitdepth=depth), 1, entries))
    paths = []
    for name, depth, options, planes, limit in kinds:
        for width in (1, 2, 3, 5, 7, 9, 17):
            for height in (1, 2, 9):
                for interlace in (False, True):
                    rows = [[rng.randrange(limit) for _ in range(width * planes)] for _ in range(height)]
                    path = os.path.join(folder, "%s%d_%dx%d%s.png" % (name, depth, width, height,
                                                                      "_i" if interlace else ""))
                    with open(path, "wb") as f:
                        png.Writer(width, height, interlace=interlace, **options).write(f, rows)
                    paths.append(path)
    for x_ppm, y_ppm, metre in ((11811, 7992, True), (1, 2, False), (1 << 31, 2835, True),
                                (2835, 0xFFFFFFFF, True), ((1 << 31) - 1, 1, True)):
        path = os.path.join(folder, "phys_%d_%d_%d.png" % (x_ppm, y_ppm, metre))
        with open(path, "wb") as f:
            png.Writer(3, 2, greyscale=True, bitdepth=1, x_pixels_per_unit=x_ppm,
                       y_pixels_per_unit=y_ppm, unit_is_meter=metre).write(f, [[0, 1, 0], [1, 0, 1]])
        paths.append(path)
    return paths


def main():
    png2bmp, suite = sys.argv[1], sys.argv[2]
    sources = []
    for folder in (suite, os.path.join(suite, "interlaced")):
        sources += sorted(os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".png"))
    if len(sources) < 50:
        print("too few PngSuite images in %s" % suite)
        return 1

    failures = []
    with tempfile.TemporaryDirectory() as work:
        sources += synthetic_images(work)
        converted = {}
        for source in sources:
            target = os.path.join(work, os.path.basename(source)[:-4] + ".bmp")
            problem = convert(png2bmp, source, target)
            if problem is None:
                with open(target, "rb") as f:
                    got = f.read()
                want = expected_bmp(source)
                if got != want:
                    problem = describe_difference(got, want)
                else:
                    converted[os.path.basename(source)] = got
            if problem is not None:
                failures.append("%s: %s" % (source, problem))

        twins = 0
        for name, data in sorted(converted.items()):
            twin = name[1:] if name.startswith("i") else None
            if twin in converted:
                twins += 1
                if bmp_colours(data) != bmp_colours(converted[twin]):
                    failures.append("%s: colours differ from its twin %s" % (name, twin))
        if twins < 30:
            failures.append("only %d interlaced images had their twin" % twins)

    for failure in failures:
        print(failure)
    print("%d images converted, %d failures" % (len(sources), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
