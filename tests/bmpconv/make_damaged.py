#!/usr/bin/python3
"""Writes the damaged and hostile PNG files of damaged/ (kept in the
repository; run again only to change them): each takes a valid small PNG
and breaks one thing. check_damaged.py runs png2bmp on each and compares its
last line with expected.txt.

Usage: make_damaged.py FOLDER
"""
import os
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, data, crc=None):
    if crc is None:
        crc = zlib.crc32(kind + data)
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc & 0xFFFFFFFF)


def ihdr(width, height, depth, colour, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace))


def grey8_rows(width, height, filter_type=0):
    return b"".join(bytes([filter_type]) + bytes((x * 16 + y) & 0xFF for x in range(width))
                    for y in range(height))


def png_file(*chunks):
    return SIGNATURE + b"".join(chunks)


def valid_grey(width=8, height=8, interlace=0):
    raw = grey8_rows(width, height) if not interlace else adam7_grey8(width, height)
    return png_file(ihdr(width, height, 8, 0, interlace), chunk(b"IDAT", zlib.compress(raw)),
                    chunk(b"IEND", b""))


def adam7_grey8(width, height):
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    raw = b""
    for x0, y0, dx, dy in passes:
        columns = range(x0, width, dx)
        if not columns:
            continue
        for y in range(y0, height, dy):
            raw += b"\x00" + bytes((x * 16 + y) & 0xFF for x in columns)
    return raw


def palette_image(depth, entries, pixel, extra=()):
    """A 4 x 4 palette image of depth bits whose pixels are all `pixel`."""
    per_byte = 8 // depth
    packed = 0
    for i in range(per_byte):
        packed |= pixel << (8 - depth * (i + 1))
    row_bytes = (4 * depth + 7) // 8
    raw = (b"\x00" + bytes([packed]) * row_bytes) * 4
    plte = bytes((i * 7) & 0xFF for i in range(3 * entries))
    return png_file(ihdr(4, 4, depth, 3), chunk(b"PLTE", plte), *extra,
                    chunk(b"IDAT", zlib.compress(raw)), chunk(b"IEND", b""))


def files():
    good = valid_grey()
    idat_at = good.index(b"IDAT") - 4
    interlaced = valid_grey(9, 9, interlace=1)
    one_row_idat = chunk(b"IDAT", zlib.compress(b"\x00\x00\x00\x00"))
    return {
        "empty.png": b"",
        "not_png.png": b"This is a text file, not an image.\n",
        "bad_signature.png": b"\x89PNX" + good[4:],
        "ascii_mangled.png": good[:4] + b"\n\x1a\n" + good[8:],
        "signature_only.png": SIGNATURE,
        "truncated_header.png": good[:20],
        "truncated_idat.png": good[: idat_at + 20],
        "truncated_interlaced.png": interlaced[: interlaced.index(b"IDAT") + 30],
        "missing_iend.png": good[: good.index(b"IEND") - 4],
        "bad_crc_ihdr.png": png_file(chunk(b"IHDR", struct.pack(">IIBBBBB", 8, 8, 8, 0, 0, 0, 0), crc=0),
                                     chunk(b"IDAT", zlib.compress(grey8_rows(8, 8))), chunk(b"IEND", b"")),
        "bad_crc_idat.png": png_file(ihdr(8, 8, 8, 0),
                                     chunk(b"IDAT", zlib.compress(grey8_rows(8, 8)), crc=1),
                                     chunk(b"IEND", b"")),
        "zero_width.png": png_file(ihdr(0, 8, 8, 0), one_row_idat, chunk(b"IEND", b"")),
        "huge_sides.png": png_file(ihdr(0x7FFFFFFF, 0x7FFFFFFF, 8, 6), one_row_idat, chunk(b"IEND", b"")),
        "sides_past_uint31.png": png_file(ihdr(0xFFFFFFFF, 1, 8, 0), one_row_idat, chunk(b"IEND", b"")),
        "width_past_limit.png": png_file(ihdr(1000001, 1, 1, 0), one_row_idat, chunk(b"IEND", b"")),
        # Within libpng's limits, but 3,000,000 x 1000 bytes of rows do not
        # fit the record's 32-bit image size.
        "buffer_past_int32.png": png_file(ihdr(1000000, 1000, 8, 2), one_row_idat, chunk(b"IEND", b"")),
        "bad_depth_for_palette.png": png_file(ihdr(4, 4, 16, 3), one_row_idat, chunk(b"IEND", b"")),
        "bad_colour_type.png": png_file(ihdr(4, 4, 8, 5), one_row_idat, chunk(b"IEND", b"")),
        "missing_plte.png": png_file(ihdr(4, 4, 8, 3), chunk(b"IDAT", zlib.compress(b"\x00" * 20)),
                                     chunk(b"IEND", b"")),
        "plte_300_entries.png": png_file(ihdr(4, 4, 8, 3), chunk(b"PLTE", bytes(900)),
                                         chunk(b"IDAT", zlib.compress(b"\x00" * 20)), chunk(b"IEND", b"")),
        "plte_length_not_triples.png": png_file(ihdr(4, 4, 8, 3), chunk(b"PLTE", bytes(7)),
                                                chunk(b"IDAT", zlib.compress(b"\x00" * 20)),
                                                chunk(b"IEND", b"")),
        "corrupt_zlib.png": png_file(ihdr(8, 8, 8, 0), chunk(b"IDAT", b"\x78\x9c\xff\xff\xff\xff" * 8),
                                     chunk(b"IEND", b"")),
        "not_enough_data.png": png_file(ihdr(8, 8, 8, 0), chunk(b"IDAT", zlib.compress(grey8_rows(8, 3))),
                                        chunk(b"IEND", b"")),
        "bad_filter_type.png": png_file(ihdr(8, 8, 8, 0), chunk(b"IDAT", zlib.compress(grey8_rows(8, 8, 9))),
                                        chunk(b"IEND", b"")),
        "chunk_length_past_uint31.png": good[:idat_at] + b"\xff\xff\xff\xff" + good[idat_at + 4:],
        "no_idat.png": png_file(ihdr(8, 8, 8, 0), chunk(b"IEND", b"")),
        # Hostile but readable: these must convert, with every access kept
        # inside the record's palette and rows.
        "plte_256_for_1bit.png": palette_image(1, 256, 1),
        "index_past_plte.png": palette_image(8, 2, 200),
        "trns_longer_than_plte.png": palette_image(2, 2, 3, extra=(chunk(b"tRNS", bytes(200)),)),
    }


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in files().items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
