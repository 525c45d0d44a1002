// Writes a ConvImage as an uncompressed BMP file (14-byte file header,
// 40-byte BITMAPINFOHEADER, palette, rows as they lie in the record).
#pragma once

#include "bmpconv/conv_image.h"

// Precondition: image comes from a successful read_png_image. Returns 1 when
// every byte reached the file and it closed cleanly, else 0 after printing the
// failure on standard error. Releases the record's buffers in both cases.
int write_bmp_image(const char* path, ConvImage* image);
