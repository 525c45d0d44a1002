"""Writes the converter's large input: an RGB PNG, 8 bits per sample, of a
given size, the same bytes on every run (python3 -B make_rgb_png.py OUT W H).

Red runs as a ramp across, green as a ramp down, and blue is a fixed
pseudo-random texture of low amplitude: smooth enough to compress like a
photograph, rough enough that inflate has real work to do."""

import random
import sys

import png  # Debian's python3-png


def rows(width, height):
    red = bytes(x * 255 // max(width - 1, 1) for x in range(width))
    rng = random.Random(20240607)
    texture = rng.randbytes(2 * width)
    # Blue between 96 and 127: a texture over a mid tone.
    texture = texture.translate(bytes(96 + (v & 31) for v in range(256)))
    row = bytearray(3 * width)
    row[0::3] = red
    for y in range(height):
        row[1::3] = bytes([y * 255 // max(height - 1, 1)]) * width
        shift = (y * 7919) % width
        row[2::3] = texture[shift:shift + width]
        yield bytes(row)


def main():
    out, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    writer = png.Writer(width, height, greyscale=False, bitdepth=8, compression=6)
    with open(out, "wb") as f:
        writer.write(f, rows(width, height))


if __name__ == "__main__":
    main()
