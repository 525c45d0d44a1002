#include "pngwriter/cross_rows.h"

#include <cstring>

namespace {

// Sets count pixels of row from pixel x on to white or black.
void paint(uint8_t* row, int64_t x, int64_t count, bool white)
{
    for (const int64_t end = x + count; x < end; ++x) {
        const auto bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(white ? row[x >> 3] | bit : row[x >> 3] & ~bit);
    }
}

}  // namespace

raster_cross place_raster_cross(bool drawn, int64_t first, int64_t side)
{
    return raster_cross{drawn, first, side, swiss_cross_layout(side)};
}

const uint8_t* cross_over_row(const raster_cross& cross, int64_t y, const uint8_t* row, uint8_t* scratch,
                              std::size_t row_bytes)
{
    const swiss_cross_insets& in = cross.insets;
    // Whether row y crosses a centred part that lies inset pixels inside.
    const auto meets = [&](int64_t inset) { return y >= cross.first + inset && y < cross.first + cross.side - inset; };
    if (!cross.drawn || !meets(in.white))
        return row;
    std::memcpy(scratch, row, row_bytes);
    const auto span = [&](int64_t inset, bool white) {
        paint(scratch, cross.first + inset, cross.side - 2 * inset, white);
    };
    span(in.white, true);
    if (meets(in.black))
        span(in.black, false);
    // The horizontal bar spans the vertical one's columns too.
    if (meets(in.bar_end))
        span(in.bar_side, true);
    if (meets(in.bar_side))
        span(in.bar_end, true);
    return scratch;
}
