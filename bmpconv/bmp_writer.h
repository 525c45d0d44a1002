// Writes a ConvImage as an uncompressed BMP file (14-byte file header,
// 40-byte BITMAPINFOHEADER, palette, rows as they lie in the record).
#pragma once

#include "bmpconv/conv_image.h"
#include "util/byte_sink.h"

#include <cstdint>
#include <cstdio>
#include <vector>

inline constexpr uint32_t bmp_headers_size = 14 + 40;
// Largest single write of pixel data.
inline constexpr uint32_t bmp_write_piece = 16u * 1024 * 1024;

// Precondition: image comes from a successful read_png_image. Returns 1 when
// every byte reached the file and it closed cleanly, else 0 after printing the
// failure on standard error. Releases the record's buffers in both cases.
// A file that was created stays on disk after a failure, however incomplete.
// After a failure the platform's last system error holds the reason the file
// could not be created, or 0 when it was created and a write failed.
int write_bmp_image(const char* path, ConvImage* image);

// The same file's bytes into out (replaced), labelled label in the status
// and failure lines. Returns 1, or 0 when memory runs out. Releases the
// record's buffers in both cases.
int make_bmp_bytes(const char* label, ConvImage* image, std::vector<unsigned char>* out);

// Writes the image_bytes bytes of pixels to sink in pieces of at most
// bmp_write_piece bytes, one write each. Returns 1, or 0 at the first
// incomplete piece (the caller reports the failure).
int write_pixel_data(const ConvImage* image, byte_sink* sink);

// Store value at at[0..1] / at[0..3], least significant byte first.
void put_u16_le(uint8_t* at, uint16_t value);
void put_u32_le(uint8_t* at, uint32_t value);
