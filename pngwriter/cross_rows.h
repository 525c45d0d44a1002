// The Swiss cross over the rows of a raster symbol, in whole pixels placed
// by swiss_cross_layout on the symbol's square of pixels.
#pragma once

#include "settings/swiss_cross.h"

#include <cstddef>
#include <cstdint>

// Where the cross falls in an image whose square of modules starts first
// pixels from its top and left edges and is side pixels across. An undrawn
// cross changes no row.
struct raster_cross {
    bool drawn;
    int64_t first;
    int64_t side;
    swiss_cross_insets insets;
};

// The cross of a square of side pixels starting at pixel first.
raster_cross place_raster_cross(bool drawn, int64_t first, int64_t side);

// Pixel row y of the image with the cross over it. row and scratch hold
// row_bytes bytes each, a pixel a bit, most significant first, 1 white and 0
// black. Returns row itself when the cross does not reach row y; else copies
// row into scratch, draws the cross's pixels of row y over it (every pixel
// inside the white square belongs to the cross then, none to a module) and
// returns scratch. row is only read.
const uint8_t* cross_over_row(const raster_cross& cross, int64_t y, const uint8_t* row, uint8_t* scratch,
                              std::size_t row_bytes);
