// The PNG symbol writer: draws one QR Code symbol, dot_size pixels per module
// with a quiet zone margin modules wide, as a 1-bit PNG file.
#pragma once

#include "settings/colours.h"

#include <cstddef>
#include <cstdint>
#include <qrencode.h>
#include <vector>

// Geometry of one symbol image, in pixels and bytes.
struct symbol_geometry {
    int32_t side;       // W = (width + 2 * margin) * dot_size, pixels per side
    int32_t row_bytes;  // R = (W + 7) / 8
    int32_t band;       // M = margin * dot_size, white pixels on each side
};

// Computes the geometry for a symbol of width modules. Returns false when any
// of the values does not fit a 32-bit signed integer (or an argument is out of
// range: width < 1, dot_size < 1, margin < 0).
bool compute_geometry(int width, int dot_size, int margin, symbol_geometry* out);

// Logs that an image of dot_size and margin is too large to draw.
void log_image_too_large(int dot_size, int margin);

// Draws module row j of symbol into row (geometry.row_bytes bytes): white
// everywhere (bit 1, bits after the last pixel included), and dot_size black
// pixels (bit 0) for every module whose bit 0 is set. Pixels are packed most
// significant bit first.
void draw_module_row(const QRcode* symbol, int j, int dot_size, const symbol_geometry& geometry,
                     uint8_t* row);

// How a symbol is drawn: pixels per module (>= 1), quiet zone in modules
// (>= 0), the resolution the file states in a pHYs chunk, in dots per inch
// (0: no chunk), the colours, and whether the Swiss cross covers the centre
// (place_raster_cross, cross_over_row). Black on white is a 1-bit greyscale
// image; other colours a 1-bit image of a two-entry palette, dark first, with
// a tRNS chunk when the light colour is not opaque. Without pHYs and tRNS the
// file carries no ancillary chunk at all.
struct raster_scale {
    int dot_size;
    int margin;
    int dpi;
    symbol_colours colours = {};
    bool swiss_cross = false;
};

// Writes symbol to file_name (created or truncated) drawn at scale. Returns 0
// when every byte reached the file and it was closed, else, after logging one
// line (and for 1101 the system's error text):
//   1101 the file cannot be created, or a series name does not fit;
//   1102 the row buffer cannot be allocated;
//   1103 libpng fails, the image side does not fit 32 bits, or the file's last
//        bytes cannot be written (flush or close fails).
// A file created before a failure stays with whatever was written. The symbol
// is only read.
int write_symbol_png(const QRcode* symbol, const char* file_name, const raster_scale& scale);

// The same with the run settings' dot_size, margin, dpi, colours and swiss_cross.
int write_symbol_png(const QRcode* symbol, const char* file_name);

// The same image as write_symbol_png writes at scale, byte for byte, into out
// (which is replaced) instead of a file. Returns 0, or after logging one line
// 1102 (no memory for the row or for out) or 1103 (libpng fails, or the side
// does not fit 32 bits); out then holds a part of the image or nothing.
int make_symbol_png(const QRcode* symbol, const raster_scale& scale, std::vector<unsigned char>* out);
