// libpng-facing parts of the PNG reader that are not part of the record's
// interface (conv_image.h): the user transform that widens 2-bit rows.
#pragma once

#include <png.h>

// libpng user read transform for 2-bit images (BMP has no 2-bit form):
// widens the row in place to 4 bits per pixel, keeping every pixel's value,
// and updates row_info to depth 4. Rows of any other depth or channel count
// are left alone. Precondition: the buffer holds the widened row, which
// libpng guarantees once the transform was declared with depth 4.
void expand_2bit_row(png_structp png, png_row_infop row_info, png_bytep row);
