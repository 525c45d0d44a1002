// Where the Swiss cross of a Swiss QR-bill lies on its symbol: a white square
// 7 mm on a side over the centre of the 46 mm symbol, a black square of 6 mm
// on it and a white cross of two bars, 7/6 mm wide and 35/9 mm long, scaled
// with the symbol. Every writer draws it from these numbers.
#pragma once

#include <cstdint>

// A square of modules this many units (or a multiple) on a side gets every
// edge of the cross on a whole unit: 46 mm are 828 eighteenths of a
// millimetre, and each part's inset is half of what it leaves of them.
inline constexpr int64_t swiss_cross_grain = 1656;

// How far each part lies inside every edge of the symbol's square of modules
// (the quiet zone left out), in the units of that square. Every part is
// centred: it covers [inset, side - inset) across and down.
struct swiss_cross_insets {
    int64_t white;     // the white square, 7/46 of the side
    int64_t black;     // the black square on it, 6/46
    int64_t bar_side;  // the long edges of both bars, (7/6)/46 of the side apart
    int64_t bar_end;   // the ends of both bars, (35/9)/46 of the side apart
};

// The insets for a square of side units, 0 <= side <= 2^40. Each is the
// exact inset rounded to the nearest unit, a half up (the part one unit
// smaller): so the figure stays centred on the square and symmetric in both
// axes and both diagonals, each edge lies within half a unit of its exact
// place, and the parts nest (white <= black <= bar_end <= bar_side). Exact
// when side is a multiple of swiss_cross_grain.
swiss_cross_insets swiss_cross_layout(int64_t side);
