// ConvImage: the converter's in-memory image, laid out as the pixel data of an
// uncompressed BMP file, and the PNG reader that fills it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

struct ConvImage {
    uint32_t img_width;      // pixels per row
    int32_t img_height;      // rows
    uint32_t bit_count;      // bits per stored pixel: 1, 4, 8 or 24 after reading
    int32_t palette_count;   // 2^bit_count when bit_count <= 8, else 0
    int32_t top_down;        // 0: rows bottom-up (the only order the reader makes)
    int32_t has_alpha;       // always 0 after reading: alpha is stripped
    int32_t stride;          // bytes per stored row, a multiple of 4
    int32_t image_bytes;     // stride * img_height
    uint8_t* palette;        // palette_count RGB triples, or nullptr
    uint8_t** row_table;     // img_height row addresses; entry 0 is the top row
    uint8_t* pixels;         // image_bytes bytes, bottom row first
    int32_t x_pixels_per_metre;  // resolution the PNG states (pHYs in metres), 0: none
    int32_t y_pixels_per_metre;
};

// Whether the record can hold an image of these sides and bits per pixel:
// both sides positive, a depth of 1, 4, 8 or 24, and pixel rows whose bytes
// fit the record's signed 32-bit sizes and whose row table fits the address
// space. Memory may still run out for one that fits.
constexpr bool conv_image_fits(uint32_t width, int32_t height, uint32_t bit_count)
{
    if (width == 0 || height <= 0 ||
        (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 24))
        return false;
    const auto rows = static_cast<uint64_t>(height);
    const uint64_t stride = ((uint64_t{width} * bit_count + 31) >> 5) << 2;
    // Both factors are below 2^38: the product cannot wrap.
    return stride * rows <= uint64_t{std::numeric_limits<int32_t>::max()} &&
           rows <= std::numeric_limits<std::size_t>::max() / sizeof(uint8_t*);
}

// The side of the largest square 1-bit image the record holds: rows of
// 16,384 bytes, 2 GiB of pixels less 16 KiB. The converter holds the whole
// image in memory, so a BMP of a larger square cannot be made at all.
inline constexpr uint32_t max_1bit_square_side = 131071;
static_assert(conv_image_fits(max_1bit_square_side, max_1bit_square_side, 1) &&
              !conv_image_fits(max_1bit_square_side + 1, max_1bit_square_side + 1, 1));

// Sets the three buffer members to nullptr; releases nothing. Returns image.
ConvImage* conv_image_clear(ConvImage* image);

// Computes stride and image_bytes from img_width, img_height and bit_count,
// obtains the three buffers (palette only when palette_count > 0) and fills
// row_table bottom-up, with the last 4 bytes of every row zeroed so that the
// fill bytes after the pixel data end up 0. Pixel bytes are otherwise unset.
// Returns 1, or 0 with the record cleared and nothing held: when memory runs
// out, and before asking for any when a side is not positive, bit_count is
// not 1, 4, 8 or 24, palette_count is outside 0..256, or the sizes do not fit
// the record's 32-bit members or the address space.
int conv_image_alloc(ConvImage* image);

// Releases the three buffers (nullptr allowed); does not reset the members.
void conv_image_free(ConvImage* image);

// Reads the PNG file at path into image (any colour type, bit depth and
// interlace): 1, 4, 8 or 24 bits per pixel, alpha and any transparency
// dropped, 16-bit samples cut to 8, 2-bit pixels widened to 4; the
// resolution of a pHYs chunk in pixels per metre kept (0 without one, with
// another unit, or past the BMP fields' 31 bits). A row ending
// inside a byte keeps the decoded bits after its last pixel when it is a row
// of a plain image or of the last interlace pass, and 0 bits there otherwise;
// fill bytes after the pixel data are 0. The record's
// buffer members may hold anything on entry; they are cleared first. Sides
// past libpng's default limits, and images whose rows would not fit the
// record's 32-bit sizes, are refused. On success returns 1 and the record owns
// its buffers until the BMP writer releases them. On failure returns 0 after
// printing its message on standard error; the buffers are already released
// and must not be again. Uses the process-wide display state: one read at a time.
int read_png_image(const char* path, ConvImage* image);

// The same for the size PNG bytes at bytes, decoded with the same steps:
// what read_png_image makes of a file holding them. label names them in the
// status and failure lines.
int read_png_bytes(const unsigned char* bytes, std::size_t size, const char* label, ConvImage* image);
