// The SVG symbol writer: one QR Code symbol as a standalone SVG 1.1 file in
// UTF-8, built in memory: a rectangle of the light colour under the whole
// image, the dark modules as one path of a square subpath per horizontal run, a viewBox in
// modules and crisp edges.
#pragma once

#include "settings/colours.h"

#include <cstdint>
#include <qrencode.h>
#include <vector>

// The side the file states for the whole image, quiet zone included.
struct svg_side {
    int64_t amount;    // pixels, or micrometres when millimetres is set; >= 1
    bool millimetres;  // width and height in mm (three decimals at most)
};

// Builds the file of symbol (only read) with a quiet zone margin modules wide
// into out, which is replaced. The rectangle under the image has the light
// colour, with a fill-opacity when it is not opaque, and is left out when it
// is fully transparent; the path has the dark colour. With swiss_cross, the
// Swiss cross in black and white over the centre, its edges exact
// (swiss_cross_layout on a square of swiss_cross_grain units). The same
// arguments give the same bytes, in every locale. Returns false, leaving out
// empty, when an argument is out of range (no symbol, width < 1, margin < 0,
// amount < 1) or memory runs out.
bool make_symbol_svg(const QRcode* symbol, int margin, svg_side side, std::vector<unsigned char>* out,
                     const symbol_colours& colours = {}, bool swiss_cross = false);
